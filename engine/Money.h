#pragma once

#include <cmath>

namespace engine {

// Rounds to `decimals` places with halves away from zero, judged on the value's
// 15-significant-digit decimal form (so 1.005 gives 1.01 although its binary
// value lies just below the half). The result is the double nearest the rounded
// decimal, exactly what reading the rounded text back would give.
double roundDecimal(double value, int decimals);

// The largest amount kept to the cent. Rounding reads a value's first 15
// significant digits, which hold the cents only below 10^13; the store keeps
// no larger amount either.
inline constexpr double kLargestAmount = 9'999'999'999'999.99;

// The amount itself, or EngineFailure (figuresOverflowError) beyond
// kLargestAmount either way, infinite or NaN: no run shows a figure it could
// not compute to the cent. Asked for every row, so the check is inline.
[[noreturn]] void throwFiguresOverflow();
inline double checkedAmount(double value)
{
    if (!(std::fabs(value) <= kLargestAmount))
        throwFiguresOverflow();
    return value;
}

// Money to cents.
inline double roundToCents(double value) { return roundDecimal(value, 2); }

// The periodic rate to 8 decimals.
inline double roundRate(double value) { return roundDecimal(value, 8); }

}  // namespace engine
