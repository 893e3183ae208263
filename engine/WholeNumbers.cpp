#include "WholeNumbers.h"

#include "NumberedError.h"

#include <cmath>

namespace engine {

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        return below + 1.0;
    return below;
}

void throwOverflow()
{
    throw EngineFailure(overflowError());
}

short checkedShort(long long value)
{
    if (value < kSixteenBitMin || value > kSixteenBitMax)
        throw EngineFailure(overflowError());
    return static_cast<short>(value);
}

short roundedCount(double value)
{
    const double rounded = roundHalfEven(finiteOrOverflow(value));
    if (!fitsSixteenBits(rounded))
        throw EngineFailure(overflowError());
    return static_cast<short>(rounded);
}

}  // namespace engine
