#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>

class QCryptographicHash;
class QSqlQuery;

// The statements a loan is read with, and the fingerprint of the rows they
// return: a save compares the stored loan through the same ones.
namespace StoredRows {

// The loan's columns by SeqNo in a store of `version`; Calculate and Payment
// are NULL in a store of version 0, so a loan's fingerprint stays when the
// store is upgraded.
QString readLoan(int version);
inline constexpr int readLoanColumns = 11;
extern const QString readExtraPayments;  // a loan's extra payments by Loan_FK, in store order
inline constexpr int readExtraPaymentsColumns = 4;
extern const QString readRateChanges;  // a loan's rate changes by Loan_FK, in store order (version 1)
inline constexpr int readRateChangesColumns = 3;

// Runs a prepared statement with its values bound in order.
bool run(QSqlQuery& query, const QString& statement, const QVariantList& values);

// The query's current row into a fingerprint, each value with its kind, so
// 1, 1.0 and '1' differ.
void addRow(QCryptographicHash& hash, const QSqlQuery& query, int columns);

// The stored loan from the fingerprints of its row, its extra payments and
// its rate changes.
QByteArray loanFingerprint(const QByteArray& row, const QByteArray& extraPayments, const QByteArray& rateChanges);

// The fingerprint of no rows (a store of version 0 has no rate changes).
QByteArray noRows();

}  // namespace StoredRows
