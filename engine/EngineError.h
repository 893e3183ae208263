#pragma once

#include <stdexcept>
#include <string>

namespace engine {

// A run-time failure of a calculation, numbered the way the program reports it
// to the user ("6 - Overflow").
struct EngineError {
    int number = 0;
    std::string description;

    bool operator==(const EngineError&) const = default;
};

inline constexpr int kOverflow = 6;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kDateOutOfRange = 5;

EngineError overflowError();
EngineError divisionByZeroError();

// Thrown inside the engine; the public entry points catch it and hand back an
// EngineError, so a run either completes or fails as a whole.
class EngineFailure : public std::runtime_error {
public:
    explicit EngineFailure(EngineError error);
    const EngineError& error() const noexcept { return m_error; }

private:
    EngineError m_error;
};

// 16-bit signed arithmetic of the loan counts; anything outside throws "Overflow".
short checkedShort(long long value);

}  // namespace engine
