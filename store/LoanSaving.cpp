#include "LoanStore.h"

#include "SqlFailure.h"
#include "StoreConnection.h"
#include "StoreTransaction.h"
#include "StoreVersions.h"
#include "StoreValues.h"
#include "StoredRows.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <limits>
#include <map>

using SqlFailure::numbered;
using SqlFailure::whileDoing;
using StoredRows::run;

namespace {

// The loan's row by column: every value a save writes, NULL where a store
// without the column means the same (so only a loan that needs a later
// version's columns upgrades an older store).
QVariantMap loanRow(const Loan& loan)
{
    // The payment is kept where it is an input: the loan amount, the rate or
    // the term is found from it again when the loan is opened.
    const bool solving = loan.choice != CalculateChoice::Payment;
    return {{"Description", loan.description},
            {"OrigAmount", loan.loanAmount.value_or(0.0)},
            {"InterestRate", loan.annualRatePercent},
            {"Term", loan.term},
            {"TermType", listPosition(loan.termUnit)},
            {"Frequency", listPosition(loan.frequency)},
            {"StartDate", loan.firstPaymentDate.toString(Qt::ISODate)},
            {"Calculate", solving ? QVariant(int(loan.choice)) : QVariant()},
            {"Payment", solving ? QVariant(loan.paymentAmount) : QVariant()},
            // Written for the accelerated frequencies too, so a store that
            // keeps them is one an older program will not misread.
            {"Compounding", loan.compounding != engine::Compounding::AsPayments || engine::accelerationOf(loan.frequency)
                                ? QVariant(int(loan.compounding))
                                : QVariant()},
            {"Fees", loan.fees > 0.0 ? QVariant(loan.fees) : QVariant()},
            {"Points", loan.pointsPercent > 0.0 ? QVariant(loan.pointsPercent) : QVariant()},
            {"LoanDate", loan.loanDate ? QVariant(loan.loanDate->toString(Qt::ISODate)) : QVariant()},
            {"InterestOnly", loan.interestOnlyPayments > 0 ? QVariant(loan.interestOnlyPayments) : QVariant()},
            {"BalloonAfter", loan.balloonAfter > 0 ? QVariant(loan.balloonAfter) : QVariant()}};
}

// A list of rows the save replaces, and its rows' name in messages.
struct RowsToSave {
    QString table;
    QString rowName;   // "Extra payment": "Extra payment 3 cannot be saved"
    QString listName;  // "extra payments": "The old extra payments cannot be removed"
    std::vector<QVariantMap> rows;
};

std::vector<RowsToSave> listsToSave(const LoanRows& loanRows)
{
    std::vector<RowsToSave> lists{
        {QStringLiteral("tblExtraPayments"), QStringLiteral("Extra payment"), QStringLiteral("extra payments"), {}},
        {QStringLiteral("tblRateChanges"), QStringLiteral("Rate change"), QStringLiteral("rate changes"), {}},
        {QStringLiteral("tblSkippedPayments"), QStringLiteral("Skipped payment"), QStringLiteral("skipped payments"), {}}};
    for (const ExtraPaymentRow& payment : loanRows.extraPayments) {
        const bool lumpSum = payment.kind == engine::ExtraPaymentKind::LumpSum;
        const bool lowers = payment.then == engine::ExtraPaymentThen::LowerThePayment;
        lists[0].rows.push_back({{"PaymentType", lumpSum ? 0 : 1},
                                 {"StartDate", payment.start.toString(Qt::ISODate)},
                                 {"EndDate", lumpSum || !payment.stop ? QVariant() : payment.stop->toString(Qt::ISODate)},
                                 {"Amount", payment.amount},
                                 {"Effect", lowers ? QVariant(1) : QVariant()}});
    }
    for (const RateChangeRow& change : loanRows.rateChanges)
        lists[1].rows.push_back({{"FromDate", change.from.toString(Qt::ISODate)},
                                 {"AnnualRate", change.annualPercent},
                                 {"Mode", int(change.mode)}});
    for (const SkippedPaymentRow& skip : loanRows.skippedPayments)
        lists[2].rows.push_back({{"FromDate", skip.from.toString(Qt::ISODate)},
                                 {"Count", skip.count},
                                 {"Mode", int(skip.mode)}});
    return lists;
}

QVariantList bound(const QStringList& columns, const QVariantMap& values)
{
    QVariantList out;
    for (const QString& column : columns) out << values.value(column);
    return out;
}

// The loan's fingerprint as stored now, read as a window reads it; empty when
// it has no row.
std::variant<QByteArray, engine::NumberedError> storedFingerprint(const LoanStore& loans, int key)
{
    auto record = loans.readLoan(key);
    if (auto* error = std::get_if<engine::NumberedError>(&record)) {
        if (error->number == engine::ErrorNumber::NoCurrentRecord) return QByteArray();
        return *error;
    }
    const ExtraPaymentList extras = loans.readExtraPayments(key);
    if (extras.error) return *extras.error;
    const RateChangeList rates = loans.readRateChanges(key);
    if (rates.error) return *rates.error;
    const SkippedPaymentList skips = loans.readSkippedPayments(key);
    if (skips.error) return *skips.error;
    return LoanStore::loanFingerprint(std::get<LoanRecord>(record).fingerprint, extras.fingerprint, rates.fingerprint,
                                      skips.fingerprint);
}

// The stored loan compared with what the window read, inside the caller's
// transaction, so what is written or deleted is what was compared. Another
// program may have changed or deleted the loan meanwhile: replacing it then
// needs the user's word; deleting a loan already gone needs nothing. A window
// that did not read its loan whole has nothing to compare with, and only
// learns whether it is still there.
std::optional<engine::NumberedError> compared(const LoanStore& loans, const StoreConnection& store, int key,
                                              SaveCheck& check, bool deleting)
{
    QByteArray now;
    if (check.expected) {
        auto stored = storedFingerprint(loans, key);
        if (auto* error = std::get_if<engine::NumberedError>(&stored)) return *error;
        now = std::get<QByteArray>(stored);
    } else {
        const QString doing = QStringLiteral("The loan %1 cannot be deleted").arg(key);
        auto found = store.select(QStringLiteral("SELECT 1 FROM tblLoanDetail WHERE SeqNo = ?"), {key}, doing);
        if (auto* error = std::get_if<engine::NumberedError>(&found)) return *error;
        if (std::get<QSqlQuery>(found).next()) now = QByteArrayLiteral("stored");
        if (auto stopped = SqlFailure::stoppedEarly(std::get<QSqlQuery>(found), doing)) return stopped;
    }
    check.current = now;
    check.found = now.isEmpty()                                 ? StoredLoan::Deleted
                  : check.expected && now != *check.expected ? StoredLoan::Changed
                                                             : StoredLoan::AsExpected;
    if (check.found == StoredLoan::Changed)
        return numbered(engine::ErrorNumber::ChangedByOther,
                        QStringLiteral("Another program has changed loan %1 in the store.").arg(key));
    if (check.found == StoredLoan::Deleted && !deleting)
        return numbered(engine::ErrorNumber::RecordDeleted,
                        QStringLiteral("Another program has deleted loan %1 from the store.").arg(key));
    return std::nullopt;
}

}  // namespace

std::optional<engine::NumberedError> LoanStore::saveLoan(int& mode, int& key, const Loan& loan, const LoanRows& loanRows,
                                                         SaveCheck* check)
{
    const StoreConnection& store = *m_connection;
    if (auto moved = store.checkFile()) return moved;
    // Nothing is stored that reading would refuse.
    if (loan.description.size() > StoreValues::kLongestDescription)
        return numbered(engine::ErrorNumber::Overflow,
                        QStringLiteral("Overflow: the description is %1 characters long, more than the %2 this program "
                                       "stores and reads, so the loan is not saved.")
                            .arg(QLocale().toString(loan.description.size()),
                                 QLocale().toString(StoreValues::kLongestDescription)));
    const QString cannotSave = QStringLiteral("The loan cannot be saved");
    const QVariantMap row = loanRow(loan);
    const std::vector<RowsToSave> lists = listsToSave(loanRows);
    std::map<QString, std::vector<QVariantMap>> listRows;
    for (const RowsToSave& list : lists) listRows[list.table] = list.rows;
    const int needed = StoreVersions::versionFor(row, listRows);
    if (needed < 0)
        return numbered(SqlFailure::Failure, cannotSave + QStringLiteral(": no store version holds all of it"));

    QSqlDatabase db = store.database();
    StoreTransaction transaction(db);
    if (!transaction.started()) return whileDoing(transaction.error(), cannotSave);

    if (mode != 0 && check && check->expected)
        if (auto changed = compared(*this, store, key, *check, false)) return changed;

    // An older store gains a later version's layout the first time a loan
    // needs it, inside this save's transaction; until then it stays as an
    // older program can still open it. Its recorded version is set either way
    // (a copy made with .dump has lost it).
    auto version = store.version();
    if (auto* error = std::get_if<engine::NumberedError>(&version)) return *error;
    const int target = std::max(std::get<int>(version), needed);
    if (auto failed = StoreVersions::upgrade(db, std::get<int>(version), target)) return failed;
    if (target != std::get<int>(version)) {
        version = store.version();
        if (auto* error = std::get_if<engine::NumberedError>(&version)) return *error;
        if (std::get<int>(version) != target)
            return numbered(SqlFailure::Failure, QStringLiteral("The store cannot be brought up to version %1: its "
                                                                "layout afterwards is not that version's.")
                                                     .arg(target));
    }
    const StoreVersions::Version& stored = StoreVersions::versions().at(target);

    QSqlQuery query(db);
    int savedKey = key;
    if (mode == 0) {
        if (!run(query, stored.insertLoan, bound(stored.loanColumns, row)))
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
        if (!run(query, stored.updateLoan, bound(stored.loanColumns, row) << key))
            return whileDoing(query.lastError(), QStringLiteral("The loan %1 cannot be updated").arg(key));
        if (query.numRowsAffected() != 1) return SqlFailure::noCurrentRecord();
    }

    for (const RowsToSave& list : lists) {
        const StoreVersions::List* table = stored.list(list.table);
        if (!table) continue;  // an older store without the list: the loan has no rows for it
        if (!run(query, table->remove, {savedKey}))
            return whileDoing(query.lastError(), QStringLiteral("The old %1 cannot be removed").arg(list.listName));
        if (!query.prepare(table->insert))
            return whileDoing(query.lastError(), QStringLiteral("The %1 cannot be saved").arg(list.listName));
        int number = 0;
        for (const QVariantMap& values : list.rows) {
            ++number;
            query.addBindValue(savedKey);
            for (const QVariant& value : bound(table->columns, values)) query.addBindValue(value);
            if (!query.exec())
                return whileDoing(query.lastError(), QStringLiteral("%1 %2 cannot be saved").arg(list.rowName).arg(number));
        }
    }
    query.finish();
    QByteArray saved;
    if (check) {
        auto stored = storedFingerprint(*this, savedKey);
        if (auto* error = std::get_if<engine::NumberedError>(&stored)) return *error;
        saved = std::get<QByteArray>(stored);
    }
    if (!transaction.commit()) return whileDoing(db.lastError(), cannotSave);

    if (check) {
        check->found = StoredLoan::AsExpected;
        check->saved = saved;
    }
    mode = 1;
    key = savedKey;
    return std::nullopt;
}

std::optional<engine::NumberedError> LoanStore::deleteLoan(int key, SaveCheck* check)
{
    const StoreConnection& store = *m_connection;
    if (auto moved = store.checkFile()) return *moved;
    QSqlDatabase db = store.database();
    StoreTransaction transaction(db);
    if (!transaction.started()) return whileDoing(transaction.error(), QStringLiteral("The loan cannot be deleted"));
    if (check)
        if (auto changed = compared(*this, store, key, *check, true)) return changed;
    QSqlQuery query(db);
    auto version = store.version();
    if (auto* error = std::get_if<engine::NumberedError>(&version)) return *error;
    for (const StoreVersions::List& list : StoreVersions::versions().at(std::get<int>(version)).lists)
        if (!run(query, list.remove, {key}))
            return whileDoing(query.lastError(), QStringLiteral("The rows of loan %1 in %2 cannot be deleted")
                                                     .arg(key)
                                                     .arg(list.table));
    if (!run(query, QStringLiteral("DELETE FROM tblLoanDetail WHERE SeqNo = ?"), {key}))
        return whileDoing(query.lastError(), QStringLiteral("The loan %1 cannot be deleted").arg(key));
    query.finish();
    if (!transaction.commit()) return whileDoing(db.lastError(), QStringLiteral("The loan cannot be deleted"));
    return std::nullopt;
}

