#include "Money.h"

#include "NumberedError.h"

#include <charconv>
#include <cmath>

namespace engine {

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxDecimals = 22;  // 10^d is still an exact double

// Decimal text read back as a double; never through the C library's locale,
// whose decimal separator follows the user's regional settings.
double readC(const char* first, const char* last)
{
    double result = 0.0;
    std::from_chars(first, last, result);
    return result;
}

// Rounds the value's 15-significant-digit decimal form. Exact but slow: used only
// where the binary value cannot tell on which side of a half the decimal lies.
double roundThroughText(double value, int decimals)
{
    char text[40];
    const auto printed = std::to_chars(text, text + sizeof text - 1, value, std::chars_format::scientific, 14);
    *printed.ptr = '\0';
    // text: [-]d.dddddddddddddde[+-]xx
    const bool negative = text[0] == '-';
    const char* p = text + (negative ? 1 : 0);
    char digits[16];
    int count = 0;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits[count++] = *p;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), printed.ptr, exponent);
    // digits[0] has weight 10^exponent; keep the digits down to 10^-decimals.
    const int keep = exponent + 1 + decimals;
    if (keep >= count)
        return readC(text, printed.ptr);  // nothing beyond the wanted places
    if (keep < 0)
        return 0.0;

    bool roundUp = digits[keep] >= '5';
    char out[40];
    int len = 0;
    if (negative)
        out[len++] = '-';
    int resultExponent = exponent;
    if (keep == 0) {
        if (!roundUp)
            return 0.0;
        out[len++] = '1';
        resultExponent = exponent + 1;
    } else {
        char kept[16];
        for (int i = 0; i < keep; ++i)
            kept[i] = digits[i];
        int i = keep - 1;
        while (roundUp && i >= 0) {
            if (kept[i] == '9') {
                kept[i] = '0';
                --i;
            } else {
                ++kept[i];
                roundUp = false;
            }
        }
        if (roundUp) {  // carried past the first digit: 99.99 -> 100.0
            out[len++] = '1';
            resultExponent = exponent + 1;
        }
        for (int j = 0; j < keep; ++j)
            out[len++] = kept[j];
    }
    // The digits in `out` are an integer whose last digit has weight
    // 10^(resultExponent - digitsWritten + 1).
    const int written = len - (negative ? 1 : 0);
    out[len++] = 'e';
    const auto end = std::to_chars(out + len, out + sizeof out, resultExponent - written + 1);
    const double result = readC(out, end.ptr);
    return result == 0.0 ? 0.0 : result;
}

}  // namespace

double roundDecimal(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0.0)
        return value == 0.0 ? 0.0 : value;
    if (decimals < 0 || decimals > kMaxDecimals)
        return roundThroughText(value, decimals);

    const double scale = kPowersOfTen[decimals];
    const double scaled = std::fabs(value) * scale;
    // Below 2^52 the fraction is exact; beyond ~1e13 the 15-digit form has no
    // room for a reliable fast decision anyway.
    if (scaled < 1e13) {
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        // The 15-digit form lies within 5e-15 relative of the value; double that
        // margin covers the rounding of the multiplication too.
        const double margin = scaled * 1e-14 + 1e-300;
        if (std::fabs(fraction - 0.5) > margin) {
            const double k = fraction > 0.5 ? whole + 1.0 : whole;
            if (k == 0.0)
                return 0.0;
            // k and scale are exact, so one correctly rounded division gives the
            // double nearest the decimal k / 10^d, as reading its text would.
            const double result = k / scale;
            return value < 0 ? -result : result;
        }
    }
    return roundThroughText(value, decimals);
}

void throwFiguresOverflow()
{
    throw EngineFailure(figuresOverflowError());
}

}  // namespace engine
