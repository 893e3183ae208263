#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace engine {

// The numbers the program reports its failures under, named once for the
// engine, the loan layer, the store and the windows.
namespace ErrorNumber {
inline constexpr int DateOutOfRange = 5;
inline constexpr int Overflow = 6;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int DiskFull = 61;              // SQLite's own 13 (SQLITE_FULL) is reported as this
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int NoCurrentRecord = 3021;     // a key with no row
inline constexpr int RecordDeleted = 3167;       // the loan was deleted by another program
inline constexpr int ChangedByOther = 3197;      // the loan was changed by another program
}  // namespace ErrorNumber

// "number - description", the one form every failure is shown in ("6 - Overflow").
std::string numberedText(int number, std::string_view description);

// A failure with its number, as the program reports it to the user.
struct NumberedError {
    int number = 0;
    std::string description;

    std::string text() const { return numberedText(number, description); }
    bool operator==(const NumberedError&) const = default;
};

NumberedError overflowError();          // 6 - Overflow
NumberedError figuresOverflowError();   // 6 - Overflow: the figures ... exceed the largest amount
NumberedError divisionByZeroError();    // 11 - Division by zero
NumberedError invalidUseOfNullError();  // 94 - Invalid use of Null
NumberedError invalidPropertyValueError();  // 380 - Invalid property value

// Thrown inside the engine; the public entry points catch it and hand back a
// NumberedError, so a run either completes or fails as a whole.
class EngineFailure : public std::runtime_error {
public:
    explicit EngineFailure(NumberedError error);
    const NumberedError& error() const noexcept { return m_error; }

private:
    NumberedError m_error;
};

}  // namespace engine
