#include "NumberedError.h"

namespace engine {

std::string numberedText(int number, std::string_view description)
{
    std::string text = std::to_string(number);
    text += " - ";
    text += description;
    return text;
}

NumberedError overflowError() { return {ErrorNumber::Overflow, "Overflow"}; }

NumberedError figuresOverflowError()
{
    return {ErrorNumber::Overflow, "Overflow: the figures of this loan exceed 9,999,999,999,999.99, the largest "
                                   "amount this program computes to the cent."};
}

NumberedError divisionByZeroError() { return {ErrorNumber::DivisionByZero, "Division by zero"}; }

NumberedError invalidUseOfNullError() { return {ErrorNumber::InvalidUseOfNull, "Invalid use of Null"}; }

NumberedError invalidPropertyValueError() { return {ErrorNumber::InvalidPropertyValue, "Invalid property value"}; }

EngineFailure::EngineFailure(NumberedError error)
    : std::runtime_error(error.description), m_error(std::move(error)) {}

}  // namespace engine
