#include "EngineTestSupport.h"

#include "Money.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <random>
#include <string>

using namespace engine;

namespace {

// --- Known roundings -----------------------------------------------------------

struct RoundRow {
    const char* name;
    double value;
    int decimals;
    double expected;
};

class RoundDecimal : public ::testing::TestWithParam<RoundRow> {};

TEST_P(RoundDecimal, RoundsHalvesOfTheDecimalFormAwayFromZero)
{
    const RoundRow& row = GetParam();
    const double result = roundDecimal(row.value, row.decimals);
    EXPECT_EQ(result, row.expected) << std::hexfloat << result << " vs " << row.expected;
    EXPECT_FALSE(std::signbit(result) && result == 0.0) << "negative zero";
}

INSTANTIATE_TEST_SUITE_P(
    Known, RoundDecimal,
    ::testing::Values(
        // Binary value below the half, 15-digit form exactly on it.
        RoundRow{"OnePointZeroZeroFive", 1.005, 2, 1.01},
        RoundRow{"TwoPointSixSevenFive", 2.675, 2, 2.68},
        RoundRow{"NegativeOnePointZeroZeroFive", -1.005, 2, -1.01},
        RoundRow{"OnePointZeroOneFive", 1.015, 2, 1.02},
        RoundRow{"NinePointNineNineFiveCarries", 9.995, 2, 10.0},
        RoundRow{"NinetyNinePointNineNineFive", 99.995, 2, 100.0},
        RoundRow{"LargeHalfCent", 1234567.895, 2, 1234567.9},
        // Exact binary halves.
        RoundRow{"ExactHalfCent", 0.125, 2, 0.13},
        RoundRow{"NegativeExactHalfCent", -0.125, 2, -0.13},
        RoundRow{"HalfToWhole", 2.5, 0, 3.0},
        RoundRow{"NegativeHalfToWhole", -2.5, 0, -3.0},
        RoundRow{"HalfOfOne", 0.5, 0, 1.0},
        // Clearly off the half.
        RoundRow{"BelowHalf", 1.00499, 2, 1.0},
        RoundRow{"AboveHalf", 1.00501, 2, 1.01},
        RoundRow{"InterestOfPayment", 499.99955, 2, 500.0},
        RoundRow{"RateToEightPlaces", 0.0725 / 12, 8, 0.00604167},
        RoundRow{"RateHalfAtEighthPlace", 0.000000005, 8, 0.00000001},
        // Never a negative zero.
        RoundRow{"SmallNegativeToZero", -0.004, 2, 0.0},
        RoundRow{"NegativeZero", -0.0, 2, 0.0},
        RoundRow{"TinyNegative", -1e-300, 2, 0.0},
        // Beyond the 15 digits nothing changes below the last digit.
        RoundRow{"Huge", 1e300, 2, 1e300},
        RoundRow{"BeyondFifteenDigits", 123456789012345.67, 2, 123456789012346.0},
        RoundRow{"ZeroDecimals", 12345.4999999, 0, 12345.0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Agreement with a slow decimal reference over many values ---------------

// Reference: take the 15 significant digits as an integer, round it in integer
// arithmetic, read the result back as text.
double referenceRound(double value, int decimals)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", value);
    std::string digits;
    const char* p = text;
    const bool negative = *p == '-';
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    const int exponent = std::atoi(p + 1);
    long long mantissa = std::stoll(digits);  // value = mantissa * 10^(exponent - 14)
    const int shift = exponent - 14 + decimals;
    if (shift >= 0)
        return value;  // already within the wanted places (tests keep values small)
    if (-shift > 15)
        return 0.0;
    long long divisor = 1;
    for (int i = 0; i < -shift; ++i)
        divisor *= 10;
    long long quotient = mantissa / divisor;
    if ((mantissa % divisor) * 2 >= divisor)
        ++quotient;
    if (quotient == 0)
        return 0.0;
    const std::string back = (negative ? "-" : "") + std::to_string(quotient) + "e-" + std::to_string(decimals);
    return std::strtod(back.c_str(), nullptr);
}

struct SweepRow {
    const char* name;
    int decimals;
    double magnitude;     // values up to this size
    bool onHalves;        // decimal halves of the last kept place...
    bool nudge;           // ...moved by a few units in the last binary place
};

class RoundDecimalSweep : public ::testing::TestWithParam<SweepRow> {};

TEST_P(RoundDecimalSweep, AgreesWithDecimalReference)
{
    const SweepRow& row = GetParam();
    std::mt19937_64 random(20240101);
    std::uniform_real_distribution<double> uniform(-row.magnitude, row.magnitude);
    std::uniform_int_distribution<int> ulps(-4, 4);
    int mismatches = 0;
    for (int i = 0; i < 200000 && mismatches < 5; ++i) {
        double value = uniform(random);
        if (row.onHalves) {
            // k followed by the digit 5: exactly half a unit of the last kept place.
            char text[64];
            std::snprintf(text, sizeof text, "%.0f5e-%d", std::trunc(value * std::pow(10.0, row.decimals)),
                          row.decimals + 1);
            value = std::strtod(text, nullptr);
        }
        if (row.nudge)
            for (int n = ulps(random); n != 0; n += n > 0 ? -1 : 1)
                value = std::nextafter(value, n > 0 ? INFINITY : -INFINITY);
        const double expected = referenceRound(value, row.decimals);
        const double found = roundDecimal(value, row.decimals);
        if (found != expected) {
            ++mismatches;
            ADD_FAILURE() << std::hexfloat << "value " << value << " (" << std::defaultfloat
                          << std::setprecision(17) << value << "): expected " << expected
                          << ", found " << found;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sweeps, RoundDecimalSweep,
    ::testing::Values(
        SweepRow{"CentsUniform", 2, 1e7, false, false},
        SweepRow{"CentsOnHalfCentGrid", 2, 1e7, true, false},
        SweepRow{"CentsNearHalfCentGrid", 2, 1e7, true, true},
        SweepRow{"SmallCentsNearHalfCentGrid", 2, 100, true, true},
        SweepRow{"RateUniform", 8, 0.1, false, false},
        SweepRow{"RateNearHalfGrid", 8, 0.1, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
