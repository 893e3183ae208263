#pragma once

#include <QDate>
#include <QVariant>

#include <optional>

// The store's own readings of column values.
namespace StoreValues {

// Column values read back; empty when NULL or unusable.
std::optional<double> numberValue(const QVariant& value);
std::optional<int> intValue(const QVariant& value);
std::optional<QDate> isoDate(const QVariant& value);

}  // namespace StoreValues
