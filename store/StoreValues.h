#pragma once

#include <QDate>
#include <QVariant>

#include <optional>

// The store's own readings of column values.
namespace StoreValues {

// The longest description read and stored: anything longer is no description
// a person typed, and reading it whole would hold the program for seconds.
inline constexpr qlonglong kLongestDescription = 1'000'000;

// Column values read back; empty when NULL or unusable.
std::optional<double> numberValue(const QVariant& value);
std::optional<int> intValue(const QVariant& value);
std::optional<QDate> isoDate(const QVariant& value);

}  // namespace StoreValues
