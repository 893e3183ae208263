#pragma once

// A store file read and changed from outside the program, as another program
// or a damaged disk would change it.
#include <QDate>
#include <QFile>
#include <QProcess>
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

// The sqlite3 program run on `path` with `script` as its input, as another
// tool or a user repairing a store would run it; its output, or "error: " and
// what it wrote to its error output. scripts/setup installs the program.
inline QString sqlite3Program(const QString& path, const QString& script)
{
    QProcess sqlite3;
    sqlite3.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), path});
    sqlite3.write(script.toUtf8());
    sqlite3.closeWriteChannel();
    if (!sqlite3.waitForFinished(60000) || sqlite3.exitStatus() != QProcess::NormalExit || sqlite3.exitCode() != 0)
        return QStringLiteral("error: ") + sqlite3.errorString() + QString::fromUtf8(sqlite3.readAllStandardError());
    return QString::fromUtf8(sqlite3.readAllStandardOutput());
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

// The file's change counter moved on, as any write by another program moves
// it: a connection open on the file then reads its pages afresh instead of
// keeping what it had read before bytes were changed with rawPatch.
inline bool bumpChangeCounter(const QString& path)
{
    const QByteArray header = rawBytes(path).left(28);
    if (header.size() < 28)
        return false;
    const auto counter = (quint32(quint8(header[24])) << 24 | quint32(quint8(header[25])) << 16 |
                          quint32(quint8(header[26])) << 8 | quint32(quint8(header[27]))) + 1;
    const char bytes[4] = {char(counter >> 24), char(counter >> 16), char(counter >> 8), char(counter)};
    return rawPatch(path, 24, QByteArray(bytes, 4));
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
