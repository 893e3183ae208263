#pragma once

namespace engine {

// Rounds to `decimals` places with halves away from zero, judged on the value's
// 15-significant-digit decimal form (so 1.005 gives 1.01 although its binary
// value lies just below the half). The result is the double nearest the rounded
// decimal, exactly what reading the rounded text back would give.
double roundDecimal(double value, int decimals);

// Money to cents.
inline double roundToCents(double value) { return roundDecimal(value, 2); }

// The periodic rate to 8 decimals.
inline double roundRate(double value) { return roundDecimal(value, 8); }

}  // namespace engine
