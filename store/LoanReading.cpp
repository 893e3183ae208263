#include "LoanStore.h"

#include "SqlFailure.h"
#include "StoreConnection.h"
#include "StoreValues.h"
#include "StoreVersions.h"
#include "StoredRows.h"

#include "WholeNumbers.h"

#include <QCryptographicHash>
#include <QLocale>
#include <QStringList>

using SqlFailure::numbered;
using namespace StoreValues;

namespace {

// Counted first: more rows than a loan can hold are refused before any is
// read. `table` is one of the program's own.
std::optional<engine::NumberedError> refuseTooManyRows(const StoreConnection& store, const QString& table, int key,
                                                       const QString& rows, const QString& doing)
{
    auto counted = store.selectRow(QStringLiteral("SELECT count(*) FROM %1 WHERE Loan_FK = ?").arg(table), {key}, doing);
    if (auto* error = std::get_if<engine::NumberedError>(&counted)) return *error;
    const qlonglong found = std::get<QSqlQuery>(counted).value(0).toLongLong();
    if (found <= engine::kSixteenBitMax) return std::nullopt;
    return numbered(engine::ErrorNumber::Overflow,
                    QStringLiteral("Overflow: loan %1 has %2 %3, more than the %4 a loan can hold, so none of them is "
                                   "read.")
                        .arg(key)
                        .arg(QLocale().toString(found), rows, QLocale().toString(engine::kSixteenBitMax)));
}

// A loan's list of rows in `table`, counted before any is read, each turned
// into a record by `record`; none when the store is of a version without the
// list. The fingerprint covers the rows as stored. A read that stops part-way
// keeps the rows before the failure and says how many.
template <typename List, typename MakeRecord>
List readList(const StoreConnection& store, int key, const QString& table, const QString& what, const QString& doing,
              MakeRecord record)
{
    List list;
    list.fingerprint = StoredRows::noRows();
    auto version = store.version();
    if (auto* error = std::get_if<engine::NumberedError>(&version)) {
        list.error = *error;
        return list;
    }
    const StoreVersions::List* stored = StoreVersions::versions().at(std::get<int>(version)).list(table);
    if (!stored) return list;
    if ((list.error = refuseTooManyRows(store, table, key, what, doing))) return list;
    auto selected = store.select(stored->read, {key}, doing);
    if (auto* error = std::get_if<engine::NumberedError>(&selected)) {
        list.error = *error;
        return list;
    }
    QSqlQuery& query = std::get<QSqlQuery>(selected);
    QCryptographicHash fingerprint(QCryptographicHash::Sha256);
    while (query.next()) {
        StoredRows::addRow(fingerprint, query);
        list.rows.push_back(record(query));
    }
    if (auto stopped = SqlFailure::stoppedEarly(query, doing)) {
        stopped->description += QStringLiteral(" (%1 read before the failure)").arg(list.rows.size()).toStdString();
        list.error = *stopped;
    }
    list.fingerprint = fingerprint.result();
    return list;
}

}  // namespace

LoanList LoanStore::listLoans() const
{
    const StoreConnection& store = *m_connection;
    const QString doing = QStringLiteral("The loans cannot all be listed");
    LoanList list;
    auto selected = store.select(QStringLiteral("SELECT SeqNo, Description, typeof(Description), "
                                                "CAST(Description AS BLOB) FROM tblLoanDetail ORDER BY SeqNo"),
                                 {}, doing);
    if (auto* error = std::get_if<engine::NumberedError>(&selected)) {
        list.error = *error;
        return list;
    }
    QSqlQuery& query = std::get<QSqlQuery>(selected);
    QStringList unlisted;
    QStringList notText;
    while (query.next()) {
        const auto key = intValue(query.value(0));
        const QString shown = query.value(1).toString();
        if (!key) {  // only a whole number that fits the window's key can be opened
            unlisted << QStringLiteral("\"%1\" (key %2)").arg(shown.left(60), query.value(0).toString());
            continue;
        }
        std::optional<QString> description = QString();
        if (!query.value(1).isNull()) description = store.exactText(query.value(1), query.value(2), query.value(3));
        if (!description) notText << QString::number(*key);
        list.loans.push_back({*key, description.value_or(shown)});
    }
    if (auto stopped = SqlFailure::stoppedEarly(query, doing)) {
        stopped->description += QStringLiteral(" (%1 listed before the failure)").arg(list.loans.size()).toStdString();
        list.error = *stopped;
    } else if (!unlisted.isEmpty()) {
        list.error = numbered(engine::ErrorNumber::Overflow,
                              QStringLiteral("Overflow: these loans have keys this program cannot open and are not "
                                             "listed: %1.").arg(unlisted.join(QStringLiteral(", "))));
    } else if (!notText.isEmpty()) {
        list.error = numbered(engine::ErrorNumber::TypeMismatch,
                              QStringLiteral("Type mismatch: the description of the loans with the keys %1 is stored "
                                             "as data that is not text; it is listed as far as it reads.")
                                  .arg(notText.join(QStringLiteral(", "))));
    }
    return list;
}

std::variant<LoanRecord, engine::NumberedError> LoanStore::readLoan(int key) const
{
    const StoreConnection& store = *m_connection;
    const QString doing = QStringLiteral("The loan %1 cannot be read").arg(key);
    // The description's size first: an absurd one is refused before it is
    // read whole (and copied twice for the fingerprint).
    auto sized = store.selectRow(QStringLiteral("SELECT length(Description) FROM tblLoanDetail WHERE SeqNo = ?"),
                                 {key}, doing);
    if (auto* error = std::get_if<engine::NumberedError>(&sized)) return *error;
    const qlonglong length = std::get<QSqlQuery>(sized).value(0).toLongLong();
    if (length > kLongestDescription)
        return numbered(engine::ErrorNumber::Overflow,
                        QStringLiteral("Overflow: the description of loan %1 is %2 characters long, more than the %3 "
                                       "this program reads, so the loan is not read.")
                            .arg(key)
                            .arg(QLocale().toString(length), QLocale().toString(kLongestDescription)));
    auto version = store.version();
    if (auto* error = std::get_if<engine::NumberedError>(&version)) return *error;
    auto selected = store.selectRow(StoreVersions::versions().at(std::get<int>(version)).readLoan, {key}, doing);
    if (auto* error = std::get_if<engine::NumberedError>(&selected)) return *error;
    QSqlQuery& query = std::get<QSqlQuery>(selected);

    LoanRecord record;
    record.seqNo = key;
    QCryptographicHash row(QCryptographicHash::Sha256);
    StoredRows::addRow(row, query);
    record.fingerprint = row.result();
    auto value = [&query](const char* column) { return query.value(QLatin1String(column)); };
    if (!value("Description").isNull()) {
        record.description = store.exactText(value("Description"), value("DescriptionType"), value("DescriptionBytes"));
        if (!record.description)
            return numbered(engine::ErrorNumber::TypeMismatch,
                            QStringLiteral("Type mismatch: the description of loan %1 is stored as data that is not "
                                           "text.").arg(key));
    }
    record.origAmount = numberValue(value("OrigAmount"));
    record.interestRate = numberValue(value("InterestRate"));
    record.term = numberValue(value("Term"));
    record.startDate = isoDate(value("StartDate"));
    record.termType = intValue(value("TermType"));
    record.frequency = intValue(value("Frequency"));
    if (!value("Calculate").isNull()) record.calculate = intValue(value("Calculate"));
    record.payment = numberValue(value("Payment"));
    // The optional values: NULL is none; anything else must read.
    auto optional = [&](const char* column, auto read, auto& field) {
        const QVariant stored = value(column);
        if (stored.isNull()) return;
        field = read(stored);
        if (!field) record.unusable << QString::fromLatin1(column);
    };
    optional("Compounding", intValue, record.compounding);
    optional("Fees", numberValue, record.fees);
    optional("Points", numberValue, record.points);
    optional("LoanDate", isoDate, record.loanDate);
    optional("InterestOnly", intValue, record.interestOnly);
    optional("BalloonAfter", intValue, record.balloonAfter);
    return record;
}

ExtraPaymentList LoanStore::readExtraPayments(int key) const
{
    return readList<ExtraPaymentList>(
        *m_connection, key, QStringLiteral("tblExtraPayments"), QStringLiteral("extra payments"),
        QStringLiteral("The extra payments of loan %1 cannot all be read").arg(key), [](const QSqlQuery& query) {
            ExtraPaymentRecord payment;
            const auto type = numberValue(query.value(QStringLiteral("PaymentType")));
            const bool lumpSum = type && *type == 0.0;
            payment.kind = lumpSum ? engine::ExtraPaymentKind::LumpSum : engine::ExtraPaymentKind::Repeating;
            payment.start = isoDate(query.value(QStringLiteral("StartDate")));
            if (!lumpSum) payment.stop = isoDate(query.value(QStringLiteral("EndDate")));
            payment.amount = numberValue(query.value(QStringLiteral("Amount")));
            payment.then = intValue(query.value(QStringLiteral("Effect"))).value_or(0);
            return payment;
        });
}

RateChangeList LoanStore::readRateChanges(int key) const
{
    return readList<RateChangeList>(
        *m_connection, key, QStringLiteral("tblRateChanges"), QStringLiteral("rate changes"),
        QStringLiteral("The rate changes of loan %1 cannot all be read").arg(key), [](const QSqlQuery& query) {
            return RateChangeRecord{isoDate(query.value(QStringLiteral("FromDate"))),
                                    numberValue(query.value(QStringLiteral("AnnualRate"))),
                                    intValue(query.value(QStringLiteral("Mode")))};
        });
}

SkippedPaymentList LoanStore::readSkippedPayments(int key) const
{
    return readList<SkippedPaymentList>(
        *m_connection, key, QStringLiteral("tblSkippedPayments"), QStringLiteral("skipped payments"),
        QStringLiteral("The skipped payments of loan %1 cannot all be read").arg(key), [](const QSqlQuery& query) {
            return SkippedPaymentRecord{isoDate(query.value(QStringLiteral("FromDate"))),
                                        intValue(query.value(QStringLiteral("Count"))),
                                        intValue(query.value(QStringLiteral("Mode")))};
        });
}
