#pragma once

#include "NumberedError.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>
#include <variant>

// The tables of a store of `version` with every column the program reads and
// writes (version 0: the loans and extra payments; version 1 adds the
// Calculate and Payment columns and the rate changes), and SeqNo the integer key SQLite
// numbers itself (so a new loan always gets a key). An error naming the store
// at `path` and what is wrong when not.
std::optional<engine::NumberedError> checkStoreLayout(const QSqlDatabase& db, const QString& path, int version);

// The version the store at `path` records (PRAGMA user_version), read first
// of all: a file that is no database is "not a Brimvale database" here.
std::variant<int, engine::NumberedError> readStoreVersion(const QSqlDatabase& db, const QString& path);
