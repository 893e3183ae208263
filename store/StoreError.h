#pragma once

#include <QString>

// A store failure as the user sees it: "number - description".
struct StoreError {
    int number = 0;
    QString description;

    QString text() const { return QString::number(number) + QStringLiteral(" - ") + description; }
};

// The numbers of the store's own failures (SQLite's codes are passed on as they come).
namespace StoreErrorNumber {
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int DiskFull = 61;           // SQLite's own 13 (SQLITE_FULL) is reported as this
inline constexpr int RecordDeleted = 3167;     // the loan was deleted by another program
inline constexpr int ChangedByOther = 3197;    // the loan was changed by another program
inline constexpr int NoCurrentRecord = 3021;  // a key with no row
}  // namespace StoreErrorNumber
