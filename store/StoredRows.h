#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>

class QCryptographicHash;
class QSqlQuery;

// The statements a loan is read with, and the fingerprint of the rows they
// return: a save compares the stored loan through the same ones.
namespace StoredRows {

extern const QString readLoan;  // the loan's columns by SeqNo
inline constexpr int readLoanColumns = 9;
extern const QString readExtraPayments;  // a loan's extra payments by Loan_FK, in store order
inline constexpr int readExtraPaymentsColumns = 4;

// Runs a prepared statement with its values bound in order.
bool run(QSqlQuery& query, const QString& statement, const QVariantList& values);

// The query's current row into a fingerprint, each value with its kind, so
// 1, 1.0 and '1' differ.
void addRow(QCryptographicHash& hash, const QSqlQuery& query, int columns);

// The stored loan from the fingerprints of its row and of its extra payments.
QByteArray loanFingerprint(const QByteArray& row, const QByteArray& extraPayments);

}  // namespace StoredRows
