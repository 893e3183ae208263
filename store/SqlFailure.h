#pragma once

#include "NumberedError.h"

#include <QString>

#include <optional>

class QSqlError;
class QSqlQuery;

// SQLite's failures as the user reads them: the driver's number with the
// cause in plain words.
namespace SqlFailure {

inline constexpr int Failure = 1;          // SQLITE_ERROR, when the driver gives no number
inline constexpr int Damaged = 11;         // SQLITE_CORRUPT
inline constexpr int CannotOpen = 14;      // SQLITE_CANTOPEN
inline constexpr int NotADatabase = 26;    // SQLITE_NOTADB
inline constexpr int FileMoved = 1032;     // SQLITE_READONLY_DBMOVED

// A key with no row.
engine::NumberedError noCurrentRecord();

// A store failure from a Qt text (which may hold a non-ASCII path).
engine::NumberedError numbered(int number, const QString& description);

// What the user can make of SQLite's (extended) result code; empty when nothing.
QString plainCause(int code);

// The failure's number and its description: the cause in plain words with the
// driver's text in brackets. SQLite's "full" becomes the program's own
// disk-full number, as its 13 is the program's type mismatch.
int causeOf(const QSqlError& error, QString& description);

// The same, after what the program was doing: "The loan cannot be saved: ...".
engine::NumberedError whileDoing(const QSqlError& error, const QString& doing);

// A query that ended: an error when it stopped on a failure instead of after its last row.
std::optional<engine::NumberedError> stoppedEarly(const QSqlQuery& query, const QString& doing);

}  // namespace SqlFailure
