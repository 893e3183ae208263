#include "StoreValues.h"

#include <cmath>
#include <limits>

namespace StoreValues {

// SQLite's dynamic typing lets any value sit in any column: only real numbers count.
std::optional<double> numberValue(const QVariant& value)
{
    if (value.isNull()) return std::nullopt;
    bool ok = false;
    double number = 0.0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::ULongLong:
    case QMetaType::UInt:
        number = value.toDouble(&ok);
        break;
    default:
        number = value.toString().trimmed().toDouble(&ok);  // C form, as SQLite writes numbers
        break;
    }
    if (!ok || !std::isfinite(number)) return std::nullopt;
    return number;
}

std::optional<int> intValue(const QVariant& value)
{
    const auto number = numberValue(value);
    if (!number || *number != std::floor(*number) || *number < std::numeric_limits<int>::min() ||
        *number > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*number);
}

std::optional<QDate> isoDate(const QVariant& value)
{
    if (value.isNull()) return std::nullopt;
    const QDate date = QDate::fromString(value.toString().trimmed(), Qt::ISODate);
    if (!date.isValid()) return std::nullopt;
    return date;
}

}  // namespace StoreValues
