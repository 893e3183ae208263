#include "LoanSaving.h"

#include "LoanReading.h"
#include "SqlFailure.h"
#include "StoreConnection.h"
#include "StoreTransaction.h"
#include "StoreUpgrade.h"
#include "StoredRows.h"

#include <QCryptographicHash>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

#include <limits>

using SqlFailure::numbered;
using SqlFailure::whileDoing;
using StoredRows::run;

namespace LoanSaving {

std::variant<QByteArray, engine::NumberedError> storedFingerprint(const StoreConnection& store, int key)
{
    const QString doing = QStringLiteral("The stored loan %1 cannot be compared").arg(key);
    auto version = store.version(doing);
    if (auto* error = std::get_if<engine::NumberedError>(&version)) return *error;
    QSqlQuery query(store.database());
    query.setForwardOnly(true);
    if (!run(query, StoredRows::readLoan(std::get<int>(version)), {key})) return whileDoing(query.lastError(), doing);
    if (!query.next()) {
        if (auto stopped = SqlFailure::stoppedEarly(query, doing)) return *stopped;
        return QByteArray();
    }
    QCryptographicHash row(QCryptographicHash::Sha256);
    StoredRows::addRow(row, query, StoredRows::readLoanColumns);
    const QByteArray loanRow = row.result();
    query.finish();

    if (!run(query, StoredRows::readExtraPayments, {key})) return whileDoing(query.lastError(), doing);
    QCryptographicHash extras(QCryptographicHash::Sha256);
    while (query.next()) StoredRows::addRow(extras, query, StoredRows::readExtraPaymentsColumns);
    if (auto stopped = SqlFailure::stoppedEarly(query, doing)) return *stopped;
    query.finish();
    if (std::get<int>(version) < 1) return StoredRows::loanFingerprint(loanRow, extras.result(), StoredRows::noRows());

    if (!run(query, StoredRows::readRateChanges, {key})) return whileDoing(query.lastError(), doing);
    QCryptographicHash rates(QCryptographicHash::Sha256);
    while (query.next()) StoredRows::addRow(rates, query, StoredRows::readRateChangesColumns);
    if (auto stopped = SqlFailure::stoppedEarly(query, doing)) return *stopped;
    query.finish();
    return StoredRows::loanFingerprint(loanRow, extras.result(), rates.result());
}

std::optional<engine::NumberedError> saveLoan(const StoreConnection& store, int& mode, int& key, const Loan& loan,
                                              const std::vector<ExtraPaymentRow>& extraPayments,
                                              const std::vector<RateChangeRow>& rateChanges, SaveCheck* check)
{
    const QVariantList row = {loan.description,
                              loan.firstPaymentDate.toString(Qt::ISODate),
                              loan.loanAmount.value_or(0.0),
                              loan.annualRatePercent,
                              loan.term,
                              listPosition(loan.termUnit),
                              listPosition(loan.frequency)};
    if (auto moved = store.checkFile()) return moved;
    // Nothing is stored that reading would refuse.
    if (loan.description.size() > LoanReading::kLongestDescription)
        return numbered(engine::ErrorNumber::Overflow,
                        QStringLiteral("Overflow: the description is %1 characters long, more than the %2 this program "
                                       "stores and reads, so the loan is not saved.")
                            .arg(QLocale().toString(loan.description.size()),
                                 QLocale().toString(LoanReading::kLongestDescription)));

    QSqlDatabase db = store.database();
    StoreTransaction transaction(db);
    if (!transaction.started()) return whileDoing(transaction.error(), QStringLiteral("The loan cannot be saved"));

    if (mode != 0 && check && check->expected) {
        // Another program may have changed or deleted the loan since this
        // window read or wrote it: replacing it then needs the user's word.
        auto stored = storedFingerprint(store, key);
        if (auto* error = std::get_if<engine::NumberedError>(&stored)) return *error;
        const QByteArray& now = std::get<QByteArray>(stored);
        if (now != *check->expected) {
            check->current = now;
            check->found = now.isEmpty() ? StoredLoan::Deleted : StoredLoan::Changed;
            return now.isEmpty()
                       ? numbered(engine::ErrorNumber::RecordDeleted,
                                  QStringLiteral("Another program has deleted loan %1 from the store.").arg(key))
                       : numbered(engine::ErrorNumber::ChangedByOther,
                                  QStringLiteral("Another program has changed loan %1 in the store.").arg(key));
        }
    }

    // An older store gains the rate changes' layout the first time a loan
    // needs it, inside this save's transaction; until then it stays as an
    // older program can still open it.
    auto version = store.version(QStringLiteral("The loan cannot be saved"));
    if (auto* error = std::get_if<engine::NumberedError>(&version)) return *error;
    const bool needsVersion1 = !rateChanges.empty() || loan.choice != CalculateChoice::Payment;
    if (std::get<int>(version) < 1 && needsVersion1) {
        if (auto failed = StoreUpgrade::upgradeFromVersion0(db)) return failed;
        version = 1;
    }
    const bool version1 = std::get<int>(version) >= 1;

    QSqlQuery query(db);
    int savedKey = key;
    if (mode == 0) {
        if (!run(query,
                 QStringLiteral("INSERT INTO tblLoanDetail (Description, StartDate, OrigAmount, InterestRate, Term, "
                                "TermType, Frequency) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                 row))
            return whileDoing(query.lastError(), QStringLiteral("The loan cannot be added"));
        bool ok = false;
        const qlonglong newKey = query.lastInsertId().toLongLong(&ok);
        if (!ok)
            return numbered(engine::ErrorNumber::NoCurrentRecord, QStringLiteral("The new loan's key cannot be read back."));
        if (newKey <= 0 || newKey > std::numeric_limits<int>::max())
            return numbered(engine::ErrorNumber::Overflow,
                            QStringLiteral("Overflow: the new loan's key %1 is too large.").arg(newKey));
        savedKey = int(newKey);
    } else {
        if (!run(query,
                 QStringLiteral("UPDATE tblLoanDetail SET Description = ?, StartDate = ?, OrigAmount = ?, "
                                "InterestRate = ?, Term = ?, TermType = ?, Frequency = ? WHERE SeqNo = ?"),
                 row + QVariantList{key}))
            return whileDoing(query.lastError(), QStringLiteral("The loan %1 cannot be updated").arg(key));
        if (query.numRowsAffected() != 1) return SqlFailure::noCurrentRecord();
    }

    if (!run(query, QStringLiteral("DELETE FROM tblExtraPayments WHERE Loan_FK = ?"), {savedKey}))
        return whileDoing(query.lastError(), QStringLiteral("The old extra payments cannot be removed"));
    if (!query.prepare(QStringLiteral(
            "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, EndDate, StartDate, Amount) VALUES (?, ?, ?, ?, ?)")))
        return whileDoing(query.lastError(), QStringLiteral("The extra payments cannot be saved"));
    int number = 0;
    for (const ExtraPaymentRow& payment : extraPayments) {
        ++number;
        const bool lumpSum = payment.kind == engine::ExtraPaymentKind::LumpSum;
        query.addBindValue(savedKey);
        query.addBindValue(lumpSum ? 0 : 1);
        query.addBindValue(lumpSum || !payment.stop ? QVariant(QMetaType::fromType<QString>())  // NULL
                                                    : QVariant(payment.stop->toString(Qt::ISODate)));
        query.addBindValue(payment.start.toString(Qt::ISODate));
        query.addBindValue(payment.amount);
        if (!query.exec())
            return whileDoing(query.lastError(), QStringLiteral("Extra payment %1 cannot be saved").arg(number));
    }
    if (version1) {
        // The payment is kept where it is an input: the loan amount, the rate
        // or the term is found from it again when the loan is opened.
        const bool solving = loan.choice != CalculateChoice::Payment;
        if (!run(query, QStringLiteral("UPDATE tblLoanDetail SET Calculate = ?, Payment = ? WHERE SeqNo = ?"),
                 {int(loan.choice), solving ? QVariant(loan.paymentAmount) : QVariant(QMetaType::fromType<double>()),
                  savedKey}))
            return whileDoing(query.lastError(), QStringLiteral("The loan cannot be saved"));
        if (!run(query, QStringLiteral("DELETE FROM tblRateChanges WHERE Loan_FK = ?"), {savedKey}))
            return whileDoing(query.lastError(), QStringLiteral("The old rate changes cannot be removed"));
        if (!query.prepare(
                QStringLiteral("INSERT INTO tblRateChanges (Loan_FK, FromDate, AnnualRate, Mode) VALUES (?, ?, ?, ?)")))
            return whileDoing(query.lastError(), QStringLiteral("The rate changes cannot be saved"));
        number = 0;
        for (const RateChangeRow& change : rateChanges) {
            ++number;
            query.addBindValue(savedKey);
            query.addBindValue(change.from.toString(Qt::ISODate));
            query.addBindValue(change.annualPercent);
            query.addBindValue(int(change.mode));
            if (!query.exec())
                return whileDoing(query.lastError(), QStringLiteral("Rate change %1 cannot be saved").arg(number));
        }
    }
    query.finish();
    QByteArray saved;
    if (check) {
        auto stored = storedFingerprint(store, savedKey);
        if (auto* error = std::get_if<engine::NumberedError>(&stored)) return *error;
        saved = std::get<QByteArray>(stored);
    }
    if (!transaction.commit()) return whileDoing(db.lastError(), QStringLiteral("The loan cannot be saved"));

    if (check) {
        check->found = StoredLoan::AsExpected;
        check->saved = saved;
    }
    mode = 1;
    key = savedKey;
    return std::nullopt;
}

std::optional<engine::NumberedError> deleteLoan(const StoreConnection& store, int key, SaveCheck* check)
{
    if (auto moved = store.checkFile()) return *moved;
    QSqlDatabase db = store.database();
    StoreTransaction transaction(db);
    if (!transaction.started()) return whileDoing(transaction.error(), QStringLiteral("The loan cannot be deleted"));
    QSqlQuery query(db);
    if (check) {
        // Compared inside the write lock: what is deleted is what was compared.
        QByteArray now;
        if (check->expected) {
            auto stored = storedFingerprint(store, key);
            if (auto* error = std::get_if<engine::NumberedError>(&stored)) return *error;
            now = std::get<QByteArray>(stored);
        } else {
            // A window that did not read its loan whole has nothing to compare
            // with; it only learns whether the loan is still there.
            if (!run(query, QStringLiteral("SELECT 1 FROM tblLoanDetail WHERE SeqNo = ?"), {key}))
                return whileDoing(query.lastError(), QStringLiteral("The loan %1 cannot be deleted").arg(key));
            if (query.next()) now = QByteArrayLiteral("stored");
            if (auto stopped = SqlFailure::stoppedEarly(query, QStringLiteral("The loan %1 cannot be deleted").arg(key)))
                return stopped;
            query.finish();
        }
        check->current = now;
        if (now.isEmpty()) {
            check->found = StoredLoan::Deleted;  // its extra payments, if any were left behind, go below
        } else if (check->expected && now != *check->expected) {
            check->found = StoredLoan::Changed;
            return numbered(engine::ErrorNumber::ChangedByOther,
                            QStringLiteral("Another program has changed loan %1 in the store.").arg(key));
        } else {
            check->found = StoredLoan::AsExpected;
        }
    }
    if (!run(query, QStringLiteral("DELETE FROM tblExtraPayments WHERE Loan_FK = ?"), {key}))
        return whileDoing(query.lastError(), QStringLiteral("The extra payments of loan %1 cannot be deleted").arg(key));
    auto version = store.version(QStringLiteral("The loan %1 cannot be deleted").arg(key));
    if (auto* error = std::get_if<engine::NumberedError>(&version)) return *error;
    if (std::get<int>(version) >= 1 &&
        !run(query, QStringLiteral("DELETE FROM tblRateChanges WHERE Loan_FK = ?"), {key}))
        return whileDoing(query.lastError(), QStringLiteral("The rate changes of loan %1 cannot be deleted").arg(key));
    if (!run(query, QStringLiteral("DELETE FROM tblLoanDetail WHERE SeqNo = ?"), {key}))
        return whileDoing(query.lastError(), QStringLiteral("The loan %1 cannot be deleted").arg(key));
    query.finish();
    if (!transaction.commit()) return whileDoing(db.lastError(), QStringLiteral("The loan cannot be deleted"));
    return std::nullopt;
}

}  // namespace LoanSaving
