#include "StoreFile.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

QStringList schemaStatements(const QString& schemaText)
{
    QString withoutComments;
    for (const QString& line : schemaText.split(QLatin1Char('\n'))) {
        const qsizetype dash = line.indexOf(QLatin1String("--"));
        withoutComments += (dash >= 0 ? line.left(dash) : line) + QLatin1Char('\n');
    }
    QStringList statements;
    for (const QString& part : withoutComments.split(QLatin1Char(';'))) {
        const QString statement = part.trimmed();
        if (!statement.isEmpty()) statements << statement;
    }
    return statements;
}

namespace {

std::optional<QString> runSchema(const QString& path, const QStringList& statements)
{
    const QString name = QStringLiteral("brimvale-create-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::optional<QString> failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            failure = QStringLiteral("Cannot create %1: %2").arg(path, db.lastError().text());
        } else {
            db.transaction();
            QSqlQuery query(db);
            for (const QString& statement : statements) {
                if (!query.exec(statement)) {
                    failure = QStringLiteral("Cannot create %1: %2").arg(path, query.lastError().text());
                    break;
                }
            }
            if (failure) db.rollback();
            else if (!db.commit())
                failure = QStringLiteral("Cannot create %1: %2").arg(path, db.lastError().text());
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return failure;
}

}  // namespace

std::optional<QString> createStoreFile(const QString& storePath, const QString& schemaPath)
{
    if (QFile::exists(storePath)) return QStringLiteral("The store %1 already exists.").arg(storePath);
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("Cannot read the schema %1: %2").arg(schemaPath, schema.errorString());
    const QStringList statements = schemaStatements(QString::fromUtf8(schema.readAll()));
    if (statements.isEmpty()) return QStringLiteral("The schema %1 holds no statements.").arg(schemaPath);

    // Build beside the target and move it into place, so a failure leaves nothing behind
    // and an existing store is never replaced.
    const QString building = storePath + QStringLiteral(".building");
    QFile::remove(building);
    if (auto failure = runSchema(building, statements)) {
        QFile::remove(building);
        return failure;
    }
    if (!QFile::rename(building, storePath)) {
        QFile::remove(building);
        return QStringLiteral("Cannot move the new store into place at %1.").arg(storePath);
    }
    return std::nullopt;
}
