#pragma once

#include "NumberedError.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// What a store file may hold besides its loans: exactly the tables and the
// index this program creates (schema.sql), and SQLite's own sqlite_sequence.
// A trigger, a view, another table or index, or one of the program's tables
// declared with more (a CHECK, a UNIQUE or NOT NULL constraint, a conflict
// clause, a default, a foreign key or its actions, a generated column) would
// run or act on every save behind the program's back, so such a store is
// refused at open.
namespace StoreSchema {

// An error naming the store at `path` and what was found in it, or nothing
// when its schema is the program's own.
std::optional<engine::NumberedError> checkOwnSchema(const QSqlDatabase& db, const QString& path);

// A CREATE statement's tokens as SQLite reads them: comments and blanks
// dropped, identifiers unquoted and in lower case, literals kept as written.
QStringList tokens(const QString& statement);

}  // namespace StoreSchema
