#pragma once

#include "NumberedError.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// Both tables with every column the program reads and writes, and SeqNo the
// integer key SQLite numbers itself (so a new loan always gets a key). An
// error naming the store at `path` and what is wrong when not.
std::optional<engine::NumberedError> checkStoreLayout(const QSqlDatabase& db, const QString& path);
