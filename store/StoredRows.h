#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>

class QCryptographicHash;
class QSqlQuery;

// The fingerprint of the rows a loan is read with (StoreVersions' statements,
// which name the newest version's columns in every version, so a loan's
// fingerprint stays when the store is upgraded): a save compares the stored
// loan through the same ones.
namespace StoredRows {

// Runs a prepared statement with its values bound in order.
bool run(QSqlQuery& query, const QString& statement, const QVariantList& values);

// The query's current row into a fingerprint, each value with its kind, so
// 1, 1.0 and '1' differ.
void addRow(QCryptographicHash& hash, const QSqlQuery& query);


// The fingerprint of no rows (a list an older store has no table for).
QByteArray noRows();

}  // namespace StoredRows
