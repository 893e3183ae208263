#include "StoredRows.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace StoredRows {

bool run(QSqlQuery& query, const QString& statement, const QVariantList& values)
{
    if (!query.prepare(statement)) return false;
    for (const QVariant& value : values) query.addBindValue(value);
    return query.exec();
}

namespace {

void addValue(QCryptographicHash& hash, const QVariant& value)
{
    QByteArray part;
    if (value.isNull()) {
        part = "n";
    } else {
        switch (value.typeId()) {
        case QMetaType::QByteArray: part = "b" + value.toByteArray(); break;
        case QMetaType::Double: part = "d" + QByteArray::number(value.toDouble(), 'g', 17); break;
        case QMetaType::LongLong:
        case QMetaType::Int: part = "i" + QByteArray::number(value.toLongLong()); break;
        default: part = "t" + value.toString().toUtf8(); break;
        }
    }
    hash.addData(QByteArray::number(part.size()) + ':' + part);
}

}  // namespace

void addRow(QCryptographicHash& hash, const QSqlQuery& query)
{
    const int columns = query.record().count();
    for (int column = 0; column < columns; ++column) addValue(hash, query.value(column));
}


QByteArray noRows()
{
    return QCryptographicHash(QCryptographicHash::Sha256).result();
}

}  // namespace StoredRows
