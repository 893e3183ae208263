#include "StoreFile.h"

#include <QFile>

#include <sqlite3.h>

std::optional<QString> createStoreFile(const QString& storePath, const QString& schemaPath)
{
    if (QFile::exists(storePath)) return QStringLiteral("The store %1 already exists.").arg(storePath);
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("Cannot read the schema %1: %2").arg(schemaPath, schema.errorString());
    const QByteArray script = "BEGIN;\n" + schema.readAll() + "\n;COMMIT;";

    // Built beside the target in one transaction and moved into place, so a
    // failure leaves nothing behind and an existing store is never replaced.
    const QString building = storePath + QStringLiteral(".building");
    QFile::remove(building);
    sqlite3* db = nullptr;
    std::optional<QString> failure;
    if (sqlite3_open(QFile::encodeName(building).constData(), &db) != SQLITE_OK ||
        sqlite3_exec(db, script.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        failure = QStringLiteral("Cannot create %1: %2").arg(storePath, QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_close(db);
    if (!failure && !QFile::rename(building, storePath))
        failure = QStringLiteral("Cannot move the new store into place at %1.").arg(storePath);
    if (failure) QFile::remove(building);
    return failure;
}
