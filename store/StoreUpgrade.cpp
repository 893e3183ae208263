#include "StoreUpgrade.h"

#include "SqlFailure.h"
#include "StoreSchema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace StoreUpgrade {

std::variant<int, engine::NumberedError> storeVersion(const QSqlDatabase& db, const QString& doing)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA user_version"))) return SqlFailure::whileDoing(query.lastError(), doing);
    if (!query.next()) {
        if (auto stopped = SqlFailure::stoppedEarly(query, doing)) return *stopped;
        return SqlFailure::noCurrentRecord();
    }
    return query.value(0).toInt();
}

engine::NumberedError newerStore(const QString& path, int version)
{
    return SqlFailure::numbered(
        SqlFailure::NotADatabase,
        QStringLiteral("The store %1 was made by a newer version of Brimvale (store version %2; this program knows "
                       "versions up to %3), so it is not opened and nothing in it is changed. Open it with the newer "
                       "version.")
            .arg(path)
            .arg(version)
            .arg(StoreSchema::kStoreVersion));
}

std::optional<engine::NumberedError> upgradeFromVersion0(const QSqlDatabase& db)
{
    // ALTER TABLE appends each column to the table's declaration, which then
    // reads as schema.sql declares it (Calculate and Payment last).
    QStringList statements{QStringLiteral("ALTER TABLE tblLoanDetail ADD COLUMN Calculate INTEGER"),
                           QStringLiteral("ALTER TABLE tblLoanDetail ADD COLUMN Payment REAL")};
    statements << StoreSchema::statementsAddedByVersion1();
    statements << QStringLiteral("PRAGMA user_version = %1").arg(StoreSchema::kStoreVersion);
    QSqlQuery query(db);
    for (const QString& statement : statements)
        if (!query.exec(statement))
            return SqlFailure::whileDoing(query.lastError(),
                                          QStringLiteral("The store cannot be brought up to this version's layout"));
    return std::nullopt;
}

}  // namespace StoreUpgrade
