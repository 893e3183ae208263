// Loans in the store on real SQLite files: what goes in comes back, every
// change another program makes to a stored loan is seen before a save or a
// delete acts on it, and what other programs stored is read as it is or
// refused with its reason.
#include "ErrorText.h"
#include "LoanStore.h"
#include "Loans.h"
#include "RawStore.h"
#include "TestStore.h"

#include <gtest/gtest.h>


namespace {

using Kind = engine::ExtraPaymentKind;
using Mode = engine::RateChangeMode;
using Extras = std::vector<ExtraPaymentRow>;
using Rates = std::vector<RateChangeRow>;

const Loan kCar = typedLoan(SampleLoan{"Car", 10000, 6.5, 5});

ExtraPaymentRow lumpSum(QDate on, double amount)
{
    return {Kind::LumpSum, on, {}, amount};
}

template <class T>
QString text(const std::optional<T>& value)
{
    return value ? QVariant::fromValue(*value).toString() : QStringLiteral("NULL");
}

class Store : public ::testing::Test {
protected:
    // The folder name also checks that the path is never read as a URI.
    TestStore store{QStringLiteral("a #b?c%20d &e=f")};

    int add(const Loan& loan, const Extras& extras = {}, const Rates& rates = {})
    {
        int mode = 0, key = 0;
        const auto error = store->saveLoan(mode, key, loan, {extras, rates, {}});
        EXPECT_FALSE(error) << error->text();
        return key;
    }
    QStringList sql(const char* statement) { return rawSql(store.path(), QString::fromUtf8(statement)); }
    // The loan as read: description|amount|rate|term|first payment|unit|frequency|calculate|payment.
    QString loanText(int key)
    {
        const auto read = store->readLoan(key);
        if (const auto* error = std::get_if<engine::NumberedError>(&read)) return errorText(*error);
        const LoanRecord& r = std::get<LoanRecord>(read);
        return QStringList{text(r.description), text(r.origAmount), text(r.interestRate), text(r.term),
                           text(r.startDate),   text(r.termType),   text(r.frequency),    text(r.calculate),
                           text(r.payment)}
            .join(QLatin1Char('|'));
    }
    QStringList extras(int key)
    {
        QStringList out;
        for (const ExtraPaymentRecord& p : store->readExtraPayments(key).rows)
            out << QStringList{p.kind == Kind::LumpSum ? "L" : "R", text(p.start), text(p.stop), text(p.amount)}.join('|');
        return out;
    }
    QByteArray asRead(int key)
    {
        return LoanStore::loanFingerprint(std::get<LoanRecord>(store->readLoan(key)).fingerprint,
                                          store->readExtraPayments(key).fingerprint,
                                          store->readRateChanges(key).fingerprint,
                                          store->readSkippedPayments(key).fingerprint);
    }
};

// Extra payments come back in the order they were stored, not by date or
// loan; other programs write 2 or NULL for a repeating one.
TEST_F(Store, EveryValueComesBackAfterAddReopenAndUpdate)
{
    const int other = add(kCar, {lumpSum(QDate(2024, 1, 1), 7)});
    Loan car = typedLoan(SampleLoan{"Car", 12345.67, 6.5, 5});
    car.choice = CalculateChoice::Term;
    car.paymentAmount = 599.55;
    const int key = add(car, {lumpSum(QDate(2025, 6, 1), 500), lumpSum(QDate(2024, 5, 3), 2),
                              {Kind::Repeating, QDate(2024, 2, 15), QDate(2024, 12, 15), 1234.5}},
                        {{QDate(2026, 1, 15), 7.25, Mode::SamePayment}});
    int mode = 1, same = other;
    ASSERT_FALSE(store->saveLoan(mode, same, kCar, {{lumpSum(QDate(2024, 1, 2), 8)}, {}, {}}));  // now after ours
    sql("UPDATE tblExtraPayments SET PaymentType = CASE Amount WHEN 500 THEN 2 WHEN 2 THEN NULL ELSE PaymentType END");
    store.reopen();
    EXPECT_EQ(loanText(key), "Car|12345.67|6.5|5|2024-01-15|1|2|3|599.55");
    EXPECT_EQ(extras(key),
              (QStringList{"R|2025-06-01|NULL|500", "R|2024-05-03|NULL|2", "R|2024-02-15|2024-12-15|1234.5"}));
    const RateChangeList rates = store->readRateChanges(key);
    ASSERT_EQ(rates.rows.size(), size_t(1));
    EXPECT_EQ(QStringList({text(rates.rows[0].from), text(rates.rows[0].annualPercent), text(rates.rows[0].mode)}),
              QStringList({"2026-01-15", "7.25", "1"}));
    // Typed columns, not the window's texts.
    EXPECT_EQ(sql("SELECT DISTINCT typeof(OrigAmount), typeof(Term), typeof(TermType) FROM tblLoanDetail"),
              QStringList{"real|integer|integer"});

    // Values reach SQL only as bound parameters.
    const QString hostile = QStringLiteral("Bob's \"car\"; DROP TABLE tblLoanDetail; -- ' OR 1=1 --");
    same = key;
    ASSERT_FALSE(store->saveLoan(mode, same, typedLoan(SampleLoan{hostile, 9999.99, 0, 48, engine::TermUnit::Months,
                                                                   engine::PaymentFrequency::Annually, {2025, 3, 1}}),
                                 {{lumpSum(QDate(2026, 3, 1), 0.5)}, {}, {}}));
    store.reopen();
    EXPECT_EQ(loanText(key), hostile + "|9999.99|0|48|2025-03-01|0|7|0|NULL");
    EXPECT_EQ(extras(key), QStringList{"L|2026-03-01|NULL|0.5"});
    EXPECT_TRUE(store->readRateChanges(key).rows.empty());
}

// Another program changes the stored loan between this program's read and
// its save or delete. Every change of a stored value, however small, must
// count; rewriting the same values must not.
TEST_F(Store, SaveAndDeleteSeeEveryChangeAnotherProgramStored)
{
    const struct {
        const char* name;
        const char* change;  // "" changes nothing
        StoredLoan found;
    } cases[] = {
        {"nothing", "", StoredLoan::AsExpected},
        {"the same values written again",
         "UPDATE tblLoanDetail SET OrigAmount = 10000, InterestRate = 6.5, Description = 'Car'", StoredLoan::AsExpected},
        {"amount stored as text", "UPDATE tblLoanDetail SET OrigAmount = CAST(10000 AS TEXT)", StoredLoan::AsExpected},
        {"rate changed in its 8th decimal", "UPDATE tblLoanDetail SET InterestRate = 6.50000001", StoredLoan::Changed},
        {"description with a trailing blank", "UPDATE tblLoanDetail SET Description = 'Car '", StoredLoan::Changed},
        {"the payment solved from", "UPDATE tblLoanDetail SET Payment = 599.55", StoredLoan::Changed},
        {"an extra payment's amount by a cent", "UPDATE tblExtraPayments SET Amount = 700.01 WHERE Amount = 700",
         StoredLoan::Changed},
        {"the extra payments' order swapped",
         "UPDATE tblExtraPayments SET StartDate = CASE Amount WHEN 500 THEN '2025-06-01' ELSE '2024-06-01' END, "
         "Amount = 1200 - Amount",
         StoredLoan::Changed},
        {"an extra payment added",
         "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, Amount) SELECT SeqNo, 0, '2026-01-01', 1 "
         "FROM tblLoanDetail",
         StoredLoan::Changed},
        {"an extra payment removed", "DELETE FROM tblExtraPayments WHERE Amount = 700", StoredLoan::Changed},
        {"a rate change's rate by a hundredth", "UPDATE tblRateChanges SET AnnualRate = 7.01 WHERE AnnualRate = 7",
         StoredLoan::Changed},
        {"a rate change removed", "DELETE FROM tblRateChanges WHERE AnnualRate = 5", StoredLoan::Changed},
        {"the loan deleted", "DELETE FROM tblLoanDetail", StoredLoan::Deleted},
    };
    for (const auto& c : cases) {
        for (const bool deleting : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (deleting ? ", delete" : ", save"));
            for (const char* table : {"tblExtraPayments", "tblRateChanges", "tblLoanDetail"})
                rawSql(store.path(), QStringLiteral("DELETE FROM %1").arg(table));
            const int key = add(kCar, {lumpSum(QDate(2024, 6, 1), 500), lumpSum(QDate(2025, 6, 1), 700)},
                                {{QDate(2026, 1, 15), 7, Mode::NewPayment}, {QDate(2027, 1, 15), 5, Mode::SamePayment}});
            SaveCheck check;
            check.expected = asRead(key);
            if (*c.change) {
                ASSERT_EQ(sql(c.change), QStringList());
            }
            const QByteArray theirs = rawBytes(store.path());
            int mode = 1, same = key;
            const auto error = deleting ? store->deleteLoan(key, &check)
                                        : store->saveLoan(mode, same, typedLoan(SampleLoan{"Mine"}), {}, &check);
            EXPECT_EQ(check.found, c.found);
            const bool refused = c.found == StoredLoan::Changed || (!deleting && c.found == StoredLoan::Deleted);
            ASSERT_EQ(error.has_value(), refused) << (error ? error->text() : std::string());
            if (refused) {
                EXPECT_EQ(error->number, c.found == StoredLoan::Changed ? engine::ErrorNumber::ChangedByOther
                                                                        : engine::ErrorNumber::RecordDeleted);
                EXPECT_EQ(rawBytes(store.path()), theirs);  // nothing of theirs replaced
                continue;
            }
            EXPECT_EQ(sql("SELECT Description FROM tblLoanDetail"), deleting ? QStringList() : QStringList{"Mine"});
            EXPECT_EQ(sql("SELECT (SELECT count(*) FROM tblExtraPayments) + (SELECT count(*) FROM tblRateChanges)"),
                      QStringList{"0"});
        }
    }
}

// A delete removes its own loan's rows only. One that found the loan changed
// deletes it when asked again with what it found; without a fingerprint it
// only learns whether the loan is still there.
TEST_F(Store, DeleteRemovesOnlyItsLoanAndComparesWhatItFound)
{
    const Rates rate{{QDate(2026, 1, 15), 7, Mode::NewPayment}};
    const int keep = add(kCar, {lumpSum(QDate(2024, 3, 1), 1)}, rate);
    const int gone = add(kCar, {lumpSum(QDate(2024, 3, 1), 2), lumpSum(QDate(2024, 4, 1), 3)}, rate);
    SaveCheck check;
    check.expected = asRead(gone);
    sql("UPDATE tblLoanDetail SET InterestRate = 7");
    ASSERT_TRUE(store->deleteLoan(gone, &check));
    ASSERT_EQ(check.found, StoredLoan::Changed);
    check.expected = check.current;
    EXPECT_FALSE(store->deleteLoan(gone, &check));
    EXPECT_EQ(sql("SELECT group_concat(Loan_FK) FROM (SELECT Loan_FK FROM tblExtraPayments UNION ALL SELECT Loan_FK "
                  "FROM tblRateChanges UNION ALL SELECT SeqNo FROM tblLoanDetail)"),
              QStringList{QStringLiteral("%1,%1,%1").arg(keep)});
    for (const StoredLoan found : {StoredLoan::AsExpected, StoredLoan::Deleted}) {
        SaveCheck unread;
        EXPECT_FALSE(store->deleteLoan(keep, &unread));
        EXPECT_EQ(unread.found, found);
    }
}

// Sizes no window can hold are refused from their size in SQL, before the
// values are read: a description above a million characters, more extra
// payments than a loan can hold. One below each limit is read whole.
TEST_F(Store, AbsurdSizesAreRefusedBeforeReading)
{
    const struct {
        const char* name;
        const char* set;  // %1: the key
        const char* error;  // nullptr: read whole
    } cases[] = {
        {"a description of a million characters", "UPDATE tblLoanDetail SET Description = hex(zeroblob(500000))", nullptr},
        {"a description of a million and one", "UPDATE tblLoanDetail SET Description = hex(zeroblob(500000)) || 'x'",
         "6 - Overflow: the description of loan %1 is 1,000,001 characters long, more than the 1,000,000 this program "
         "reads, so the loan is not read."},
        {"32,767 extra payments", "WITH RECURSIVE c(x) AS (SELECT 2 UNION ALL SELECT x + 1 FROM c WHERE x < 32767) "
         "INSERT INTO tblExtraPayments (Loan_FK) SELECT %1 FROM c", nullptr},
        {"32,768 extra payments", "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 32767) "
         "INSERT INTO tblExtraPayments (Loan_FK) SELECT %1 FROM c",
         "6 - Overflow: loan %1 has 32,768 extra payments, more than the 32,767 a loan can hold, so none of them is "
         "read."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sql("DELETE FROM tblExtraPayments");
        const int key = add(kCar, {lumpSum(QDate(2024, 3, 1), 1)});
        ASSERT_EQ(rawSql(store.path(), QString::fromUtf8(c.set).arg(key)), QStringList());
        const ExtraPaymentList list = store->readExtraPayments(key);
        const QString loan = loanText(key);
        const QString error = list.error ? errorText(*list.error) : loan.startsWith("6 - ") ? loan : QString();
        EXPECT_EQ(error, c.error ? QString::fromUtf8(c.error).arg(key) : QString());
        EXPECT_EQ(list.rows.size(), list.error ? 0 : QByteArray(c.name).contains("payments") ? 32767 : 1);
    }
}

// Values another program stored that the window cannot show as they are:
// each is read back exactly, read as missing, or refused with its reason;
// never changed.
TEST_F(Store, ValuesOtherProgramsStoredAreKeptOrReported)
{
    const struct {
        const char* name;
        const char* set;
        int field;  // of loanText(); -1: the loan is refused
        QString read;
    } cases[] = {
        {"UTF-8 text stored as a BLOB", "Description = CAST('Caf\xc3\xa9 \xe2\x82\xac' AS BLOB)", 0,
         QString::fromUtf8("Caf\xc3\xa9 \xe2\x82\xac")},
        {"bytes that are not text", "Description = X'43617200FFFE80'", -1, "13 - Type mismatch"},
        {"invalid UTF-8 stored as text", "Description = CAST(X'4361FF72' AS TEXT)", -1, "13 - Type mismatch"},
        {"a NUL inside the text", "Description = CAST(X'4361007200' AS TEXT)", 0, QString::fromUtf8("Ca\0r\0", 5)},
        {"a byte order mark first", "Description = CAST(X'EFBBBF436172' AS TEXT)", 0, QChar(0xfeff) + QString("Car")},
        {"a number as the description", "Description = 42.5", 0, "42.5"},
        {"not a number", "OrigAmount = 'lots'", 1, "NULL"},
        {"a number as text", "InterestRate = ' 7.5 '", 2, "7.5"},
        {"NULL", "Term = NULL", 3, "NULL"},
        {"not a date", "StartDate = '2024-02-30'", 4, "NULL"},
        {"a fraction where a list position belongs", "TermType = 1.5", 5, "NULL"},
        {"a position beyond the whole numbers", "Frequency = 1e300", 6, "NULL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sql("DELETE FROM tblLoanDetail");
        const int key = add(kCar);
        ASSERT_EQ(rawSql(store.path(), QStringLiteral("UPDATE tblLoanDetail SET %1").arg(QString::fromUtf8(c.set))),
                  QStringList());
        const QString loan = loanText(key);
        if (c.field < 0) {
            EXPECT_TRUE(loan.startsWith(c.read)) << loan.toStdString();
            // Listed all the same, with a message naming the loan.
            const LoanList list = store->listLoans();
            EXPECT_EQ(list.loans.size(), size_t(1));
            EXPECT_TRUE(list.error && errorText(*list.error).contains(QStringLiteral("keys %1 ").arg(key)));
        } else {
            EXPECT_EQ(loan.split(QLatin1Char('|')).value(c.field), c.read) << loan.toStdString();
        }
    }
}

// Keys beyond what the window holds are named, not hidden.
TEST_F(Store, KeysTheWindowCannotHoldAreNamed)
{
    sql("INSERT INTO tblLoanDetail (SeqNo, Description) VALUES (5000000000, 'Far away'), (-5000000000, 'Far below')");
    const LoanList list = store->listLoans();
    EXPECT_TRUE(list.loans.empty());
    ASSERT_TRUE(list.error);
    EXPECT_EQ(errorText(*list.error), "6 - Overflow: these loans have keys this program cannot open and are not "
                                      "listed: \"Far below\" (key -5000000000), \"Far away\" (key 5000000000).");
}

TEST_F(Store, ReadsThatStopPartWayAreErrorsAndKeepWhatWasRead)
{
    Extras payments;
    for (int i = 0; i < 3000; ++i) payments.push_back(lumpSum(QDate(2030, 1, 1).addDays(i), i + 1));
    const int key = add(kCar, payments);
    ASSERT_EQ(sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) INSERT INTO "
                  "tblLoanDetail (Description, StartDate) SELECT printf('Loan %04d', i), '2024-01-15' FROM n"),
              QStringList());
    ASSERT_TRUE(breakExtraPaymentRecord(store.path(), 1500));
    // A leaf page of the loan table in the middle of the list.
    const QByteArray file = rawBytes(store.path());
    const qsizetype loan = file.indexOf("Loan 1500");
    const int pageSize = sql("PRAGMA page_size").value(0).toInt();
    ASSERT_TRUE(loan > 0 && rawPatch(store.path(), loan / pageSize * pageSize, QByteArray(8, '\xff')));
    // Damaged while the program runs: a damaged file is refused at open.
    ASSERT_TRUE(bumpChangeCounter(store.path()));

    const ExtraPaymentList read = store->readExtraPayments(key);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.rows.size(), size_t(1499));
    EXPECT_EQ(read.rows.back().start, QDate(2030, 1, 1).addDays(1498));
    EXPECT_EQ(errorText(*read.error),
              QStringLiteral("11 - The extra payments of loan %1 cannot all be read: the store file is damaged "
                             "(database disk image is malformed) (1499 read before the failure)").arg(key));
    const LoanList list = store->listLoans();
    ASSERT_TRUE(list.error);
    EXPECT_TRUE(list.loans.size() > 1000 && list.loans.size() < 1500) << list.loans.size();
    EXPECT_TRUE(errorText(*list.error).startsWith("11 - The loans cannot all be listed: the store file is damaged"));
    EXPECT_TRUE(errorText(*list.error).endsWith(QStringLiteral("(%1 listed before the failure)").arg(list.loans.size())));
}

}  // namespace
