#pragma once

// A store file read and changed from outside the program, as another program
// or a damaged disk would change it.
#include <QDate>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

// One statement on a connection of its own; rows come back as "a|b|c", NULL
// as "NULL", a failure as "error: " and its text.
inline QStringList rawSql(const QString& path, const QString& statement)
{
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        if (!query.exec(statement)) out << QStringLiteral("error: ") + query.lastError().text();
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << (query.value(i).isNull() ? QStringLiteral("NULL") : query.value(i).toString());
            out << values.join(QLatin1Char('|'));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return out;
}

inline QByteArray rawBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Bytes of the file changed in place, with no connection open on it.
inline bool rawPatch(const QString& path, qsizetype at, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.seek(at) && f.write(bytes) == bytes.size();
}

// The lump sum stored with the start date 1 January 2030 plus n - 1 days is
// made a malformed record: its header claims a start date longer than the
// record. False when that record is not found once.
inline bool breakExtraPaymentRecord(const QString& path, int n)
{
    const QByteArray file = rawBytes(path);
    const QByteArray date = QDate(2030, 1, 1).addDays(n - 1).toString(Qt::ISODate).toLatin1();
    const qsizetype at = file.indexOf(date);
    if (at <= 0 || file.indexOf(date, at + 1) >= 0)
        return false;
    // Record header: ... PaymentType (8: zero), StartDate (33: ten bytes of text), EndDate (0: NULL), Amount.
    const qsizetype header = file.lastIndexOf(QByteArray("\x08\x21\x00", 3), at);
    return header > at - 12 && rawPatch(path, header + 1, QByteArray("\x7f"));
}
