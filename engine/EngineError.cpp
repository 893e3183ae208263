#include "EngineError.h"

namespace engine {

EngineError overflowError() { return {kOverflow, "Overflow"}; }

EngineError divisionByZeroError() { return {kDivisionByZero, "Division by zero"}; }

EngineFailure::EngineFailure(EngineError error)
    : std::runtime_error(error.description), m_error(std::move(error)) {}

short checkedShort(long long value)
{
    if (value < -32768 || value > 32767)
        throw EngineFailure(overflowError());
    return static_cast<short>(value);
}

}  // namespace engine
