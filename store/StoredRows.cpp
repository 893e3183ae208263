#include "StoredRows.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QVariant>

namespace StoredRows {

QString readLoan(int version)
{
    return QStringLiteral("SELECT Description, OrigAmount, InterestRate, Term, StartDate, TermType, Frequency, "
                          "typeof(Description), CAST(Description AS BLOB), %1 FROM tblLoanDetail WHERE SeqNo = ?")
        .arg(version >= 1 ? QStringLiteral("Calculate, Payment") : QStringLiteral("NULL, NULL"));
}
const QString readExtraPayments = QStringLiteral(
    "SELECT PaymentType, StartDate, EndDate, Amount FROM tblExtraPayments WHERE Loan_FK = ? ORDER BY rowid");
const QString readRateChanges = QStringLiteral(
    "SELECT FromDate, AnnualRate, Mode FROM tblRateChanges WHERE Loan_FK = ? ORDER BY rowid");

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

void addRow(QCryptographicHash& hash, const QSqlQuery& query, int columns)
{
    for (int column = 0; column < columns; ++column) addValue(hash, query.value(column));
}

QByteArray loanFingerprint(const QByteArray& row, const QByteArray& extraPayments, const QByteArray& rateChanges)
{
    return row + extraPayments + rateChanges;
}

QByteArray noRows()
{
    return QCryptographicHash(QCryptographicHash::Sha256).result();
}

}  // namespace StoredRows
