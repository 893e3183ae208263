#include "SqlFailure.h"

#include <QSqlError>
#include <QSqlQuery>

namespace SqlFailure {

engine::NumberedError numbered(int number, const QString& description)
{
    return {number, description.toStdString()};
}

engine::NumberedError noCurrentRecord()
{
    return {engine::ErrorNumber::NoCurrentRecord,
            "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
            "requires a current record."};
}

QString plainCause(int code)
{
    switch (code) {
    case 776:  // SQLITE_READONLY_ROLLBACK
    case 264:  // SQLITE_READONLY_RECOVERY
        return QStringLiteral("a save that was cut off (by a crash or power loss) must first be undone, but the "
                              "store file or its folder cannot be written");
    case 1288:  // SQLITE_READONLY_DIRECTORY
        return QStringLiteral("the folder that holds the store file cannot be written");
    }
    switch (code & 0xff) {
    case 3:   // SQLITE_PERM
    case 23:  // SQLITE_AUTH
        return QStringLiteral("permission to use the store file was refused");
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return QStringLiteral("another program is using the store file; try again when it has finished");
    case 8:  // SQLITE_READONLY
        return QStringLiteral("the store file cannot be written: the file or its folder is read-only");
    case 10:  // SQLITE_IOERR
        return QStringLiteral("the store file or its folder cannot be read or written (the folder may be "
                              "read-only, or the disk failing)");
    case Damaged:
        return QStringLiteral("the store file is damaged");
    case 13:  // SQLITE_FULL
        return QStringLiteral("the disk is full");
    case CannotOpen:  // also the journal that a change needs beside the file
        return QStringLiteral("the store file cannot be opened, or the folder that holds it cannot be written");
    case NotADatabase:
        return QStringLiteral("the file is not a database");
    }
    return {};
}

int causeOf(const QSqlError& error, QString& description)
{
    bool numeric = false;
    const int native = error.nativeErrorCode().toInt(&numeric);
    int number = numeric && native != 0 ? native : Failure;
    QString detail = error.databaseText().trimmed();
    if (detail.isEmpty()) detail = error.driverText().trimmed();
    if (detail.isEmpty()) detail = QStringLiteral("unknown store failure");
    const QString cause = plainCause(number);
    if ((number & 0xff) == 13) number = engine::ErrorNumber::DiskFull;
    description = cause.isEmpty() ? detail : cause + QStringLiteral(" (") + detail + QLatin1Char(')');
    return number;
}

engine::NumberedError whileDoing(const QSqlError& error, const QString& doing)
{
    QString description;
    const int number = causeOf(error, description);
    return numbered(number, doing + QStringLiteral(": ") + description);
}

std::optional<engine::NumberedError> stoppedEarly(const QSqlQuery& query, const QString& doing)
{
    if (query.lastError().type() == QSqlError::NoError) return std::nullopt;
    return whileDoing(query.lastError(), doing);
}

}  // namespace SqlFailure
