#pragma once

#include <cmath>

// The largest amount a loaded loan may hold: 9,999,999,999,999.99. Its text
// has 15 significant digits, as many as the window writes a stored number
// with (plainNumberText) and judges a cent on (roundDecimal); above it a
// cent no longer survives into the box, and far above it the figures and the
// chart stop being numbers at all (1e308 is a 309-digit text, and NaN to a
// chart). A stored amount beyond it is refused at load like any other value
// the window cannot show.
inline constexpr double kLargestStoredAmount = 9'999'999'999'999.99;

inline bool showableAmount(double amount)
{
    return std::fabs(amount) <= kLargestStoredAmount;
}
