#pragma once

#include "NumberedError.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// What a store file may hold besides its loans: exactly the tables and the
// indexes this program creates (schema.sql, or schema-v0.sql for a store of
// version 0), and SQLite's own sqlite_sequence.
// A trigger, a view, another table or index, or one of the program's tables
// declared with more (a CHECK, a UNIQUE or NOT NULL constraint, a conflict
// clause, a default, a foreign key or its actions, a generated column) would
// run or act on every save behind the program's back, so such a store is
// refused at open.
namespace StoreSchema {

// The store version this program writes (PRAGMA user_version). Version 0 is
// the layout before rate changes (schema-v0.sql), which still opens.
inline constexpr int kStoreVersion = 1;

// An error naming the store at `path` and what was found in it, or nothing
// when its schema is the program's own for a store of `version`.
std::optional<engine::NumberedError> checkOwnSchema(const QSqlDatabase& db, const QString& path, int version);

// The CREATE statements of schema.sql that a version 0 store lacks, as written there.
QStringList statementsAddedByVersion1();

// A CREATE statement's tokens as SQLite reads them: comments and blanks
// dropped, identifiers unquoted and in lower case, literals kept as written.
QStringList tokens(const QString& statement);

}  // namespace StoreSchema
