#pragma once

#include <cmath>

// The number rules every layer shares: one place each.
namespace engine {

// The loan's counts (term, payments, extra payment rows, list positions) are
// 16-bit signed numbers.
inline constexpr int kSixteenBitMin = -32768;
inline constexpr int kSixteenBitMax = 32767;

inline constexpr bool fitsSixteenBits(double whole)
{
    return whole >= kSixteenBitMin && whole <= kSixteenBitMax;
}

// Nearest whole number, a half going to the even neighbour (12.5 -> 12,
// 13.5 -> 14). Non-finite values come back as they are.
double roundHalfEven(double value);

// Throws EngineFailure ("6 - Overflow") for infinity or NaN, which only an
// absurd input can produce; otherwise the value itself.
[[noreturn]] void throwOverflow();
inline double finiteOrOverflow(double value)
{
    if (!std::isfinite(value))
        throwOverflow();
    return value;
}

// The value as a 16-bit count; anything outside throws "Overflow".
short checkedShort(long long value);

// A fraction rounded half-even to a 16-bit count; throws "Overflow" when it is
// not finite or does not fit.
short roundedCount(double value);

}  // namespace engine
