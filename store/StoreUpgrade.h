#pragma once

#include "NumberedError.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>
#include <variant>

// The store's version (PRAGMA user_version) and the one step from version 0,
// the layout before rate changes, to the program's own.
namespace StoreUpgrade {

// The version the store at `path` records; `doing` names a failure to read it.
std::variant<int, engine::NumberedError> storeVersion(const QSqlDatabase& db, const QString& doing);

// The refusal of a store that a newer program has made or upgraded.
engine::NumberedError newerStore(const QString& path, int version);

// Adds the Calculate and Payment columns, the rate changes table and its index, and
// records version 1; run inside the caller's transaction, so a failure
// leaves the store as it was.
std::optional<engine::NumberedError> upgradeFromVersion0(const QSqlDatabase& db);

}  // namespace StoreUpgrade
