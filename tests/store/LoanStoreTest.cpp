// The store on real SQLite files in a temporary folder: what goes in comes
// back, failed saves leave the file as it was, and files that are not a
// Brimvale store are refused.
#include "ErrorText.h"
#include "LoanStore.h"
#include "RawStore.h"
#include "LocaleText.h"
#include "StoreFile.h"
#include "StoreFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

using Extras = std::vector<ExtraPaymentTexts>;
const LoanSaveTexts kCar{"Car", QDate(2024, 1, 15), "$12,345.67", "", "6.5", "5", 1, 2};

// A stored extra payment's value as the table shows it; "NULL" when missing.
template <class T, class Format>
QString cellText(const std::optional<T>& v, Format format) { return v ? format(*v) : QStringLiteral("NULL"); }

template <class T>
QString opt(const std::optional<T>& v) { return v ? QVariant::fromValue(*v).toString() : QStringLiteral("NULL"); }

QString text(const LoanRecord& r)
{
    return QStringList{QString::number(r.seqNo), opt(r.description), opt(r.origAmount), opt(r.interestRate),
                       opt(r.term), opt(r.startDate), opt(r.termType), opt(r.frequency)}.join('|');
}

class Store : public ::testing::Test {
protected:
    // The folder name also checks that the path is never read as a URI.
    void SetUp() override
    {
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("a #b?c%20d &e=f")));
        makeStore(path);
        reopen();
    }
    void reopen()
    {
        store.reset();
        store = openStore(path);
        ASSERT_TRUE(store);
    }
    int add(const LoanSaveTexts& loan, const Extras& extras = {}, const std::vector<RateChangeRow>& rates = {})
    {
        int mode = 0, key = 0;
        EXPECT_FALSE(saveTexts(*store, mode, key, loan, extras, nullptr, rates));
        EXPECT_EQ(mode, 1);
        return key;
    }
    std::optional<engine::NumberedError> update(int key, const LoanSaveTexts& loan, const Extras& extras = {})
    {
        int mode = 1, sameKey = key;
        return saveTexts(*store, mode, sameKey, loan, extras);
    }
    LoanRecord read(int key) { return std::get<LoanRecord>(store->readLoan(key)); }
    QStringList extras(int key)
    {
        QStringList out;
        const auto loaded = store->readExtraPayments(key);
        EXPECT_FALSE(loaded.error);
        for (const auto& p : loaded.rows)
            out << QStringList{extraPaymentTypeText(p.kind), cellText(p.start, extraPaymentDateText),
                               p.kind == engine::ExtraPaymentKind::LumpSum ? QString() : cellText(p.stop, extraPaymentDateText),
                               cellText(p.amount, extraPaymentAmountText)}
                       .join('|');
        return out;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("a #b?c%20d &e=f/Brimvaledb.mdb"));
    std::unique_ptr<LoanStore> store;
};

TEST_F(Store, EveryColumnSurvivesAddReloadUpdateReload)
{
    const int key = add(kCar, {{"R", "2/15/2024", "12/15/2024", "$1,234.50"}, {"L", "6/1/2025", "", "500"}});
    reopen();
    EXPECT_EQ(text(read(key)), QStringLiteral("%1|Car|12345.67|6.5|5|2024-01-15|1|2").arg(key));
    EXPECT_EQ(extras(key), (QStringList{"R|2/15/2024|12/15/2024|$1,234.50", "L|6/1/2025||$500.00"}));
    // Typed columns, not the window's texts.
    EXPECT_EQ(rawSql(path, "SELECT typeof(OrigAmount), typeof(InterestRate), typeof(Term), StartDate FROM tblLoanDetail"),
              QStringList{"real|real|integer|2024-01-15"});
    ASSERT_FALSE(update(key, {"Car, refinanced", QDate(2025, 3, 1), "9,999.99", "", "0", "48", 0, 7},
                        {{"L", "3/1/2026", "", "$.50"}}));
    reopen();
    EXPECT_EQ(text(read(key)), QStringLiteral("%1|Car, refinanced|9999.99|0|48|2025-03-01|0|7").arg(key));
    EXPECT_EQ(extras(key), QStringList{"L|3/1/2026||$0.50"});
}

TEST_F(Store, ExtraPaymentsComeBackInStoredOrder)
{
    const int other = add(kCar, {{"L", "1/1/2024", "", "7"}});
    const int key = add(kCar, {{"L", "5/28/2024", "", "1"}, {"L", "5/3/2024", "", "2"}, {"L", "5/17/2024", "", "3"}});
    ASSERT_FALSE(update(other, kCar, {{"L", "1/2/2024", "", "8"}}));  // its rows now follow ours
    EXPECT_EQ(extras(key), (QStringList{"L|5/28/2024||$1.00", "L|5/3/2024||$2.00", "L|5/17/2024||$3.00"}));
}

TEST_F(Store, PaymentTypesAsStoredAndLoaded)
{
    const int key = add(kCar, {{"L", "3/1/2024", "", "100"}, {"L", "4/1/2024", "9/9/2029", "200"},
                               {"R", "5/1/2024", "5/1/2025", "50"}});
    EXPECT_EQ(rawSql(path, "SELECT PaymentType, StartDate, EndDate, Amount FROM tblExtraPayments ORDER BY rowid"),
              (QStringList{"0|2024-03-01|NULL|100", "0|2024-04-01|NULL|200", "1|2024-05-01|2025-05-01|50"}));
    // Other programs write 2 or NULL for a repeating payment.
    rawSql(path, "UPDATE tblExtraPayments SET PaymentType = CASE Amount WHEN 100 THEN 2 WHEN 200 THEN NULL ELSE 1 END");
    EXPECT_EQ(extras(key),
              (QStringList{"R|3/1/2024|NULL|$100.00", "R|4/1/2024|NULL|$200.00", "R|5/1/2024|5/1/2025|$50.00"}));
}

TEST_F(Store, DeleteRemovesTheLoanAndItsExtraPaymentsOnly)
{
    const int keep = add(kCar, {{"L", "3/1/2024", "", "1"}});
    const int gone = add(kCar, {{"L", "3/1/2024", "", "2"}, {"R", "3/1/2024", "4/1/2024", "3"}});
    ASSERT_FALSE(store->deleteLoan(gone));
    EXPECT_EQ(rawSql(path, "SELECT SeqNo FROM tblLoanDetail"), QStringList{QString::number(keep)});
    EXPECT_EQ(rawSql(path, "SELECT Loan_FK, Amount FROM tblExtraPayments"), QStringList{QStringLiteral("%1|1").arg(keep)});
}

// Another program changes the stored loan between this program's read and
// its save or delete (two real connections on one file). Every change of a
// stored value, however small, must count; rewriting the same values must not.
TEST_F(Store, SaveAndDeleteSeeEveryChangeAnotherProgramStored)
{
    const struct {
        const char* name;
        const char* change;  // through a connection of its own; "" changes nothing
        StoredLoan found;
    } cases[] = {
        {"nothing", "", StoredLoan::AsExpected},
        {"the same values written again",
         "UPDATE tblLoanDetail SET OrigAmount = 10000, InterestRate = 6.5, Description = 'Car'", StoredLoan::AsExpected},
        {"loan amount 10000 to 10000.01", "UPDATE tblLoanDetail SET OrigAmount = 10000.01", StoredLoan::Changed},
        {"rate changed in its 8th decimal", "UPDATE tblLoanDetail SET InterestRate = 6.50000001", StoredLoan::Changed},
        {"amount stored as text", "UPDATE tblLoanDetail SET OrigAmount = CAST(10000 AS TEXT)", StoredLoan::AsExpected},
        {"description with a trailing blank", "UPDATE tblLoanDetail SET Description = 'Car '", StoredLoan::Changed},
        {"term unit", "UPDATE tblLoanDetail SET TermType = 0", StoredLoan::Changed},
        {"first payment a day later", "UPDATE tblLoanDetail SET StartDate = '2024-01-16'", StoredLoan::Changed},
        {"one extra payment's date moved by a day",
         "UPDATE tblExtraPayments SET StartDate = '2024-06-02' WHERE StartDate = '2024-06-01'", StoredLoan::Changed},
        {"one extra payment's amount by a cent", "UPDATE tblExtraPayments SET Amount = 700.01 WHERE Amount = 700",
         StoredLoan::Changed},
        {"the extra payments' order swapped",
         "UPDATE tblExtraPayments SET StartDate = CASE StartDate WHEN '2024-06-01' THEN '2025-06-01' ELSE '2024-06-01' "
         "END, Amount = CASE Amount WHEN 500 THEN 700 ELSE 500 END",
         StoredLoan::Changed},
        {"an extra payment's type", "UPDATE tblExtraPayments SET PaymentType = 2 WHERE Amount = 500", StoredLoan::Changed},
        {"an extra payment added",
         "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, Amount) SELECT Loan_FK, 0, '2026-01-01', 1 "
         "FROM tblExtraPayments LIMIT 1",
         StoredLoan::Changed},
        {"an extra payment removed", "DELETE FROM tblExtraPayments WHERE Amount = 700", StoredLoan::Changed},
        {"a rate change's rate by a hundredth", "UPDATE tblRateChanges SET AnnualRate = 7.01 WHERE AnnualRate = 7",
         StoredLoan::Changed},
        {"a rate change's mode", "UPDATE tblRateChanges SET Mode = 1 WHERE Mode = 0", StoredLoan::Changed},
        {"a rate change's date", "UPDATE tblRateChanges SET FromDate = '2026-01-16' WHERE FromDate = '2026-01-15'",
         StoredLoan::Changed},
        {"a rate change removed", "DELETE FROM tblRateChanges WHERE AnnualRate = 5", StoredLoan::Changed},
        {"a rate change added",
         "INSERT INTO tblRateChanges (Loan_FK, FromDate, AnnualRate, Mode) SELECT Loan_FK, '2028-01-15', 4, 0 "
         "FROM tblRateChanges LIMIT 1",
         StoredLoan::Changed},
        {"what Calculate derives", "UPDATE tblLoanDetail SET Calculate = 3", StoredLoan::Changed},
        {"the payment solved from", "UPDATE tblLoanDetail SET Payment = 599.55", StoredLoan::Changed},
        {"the loan deleted", "DELETE FROM tblLoanDetail", StoredLoan::Deleted},
    };
    const LoanSaveTexts car{"Car", QDate(2024, 1, 15), "10000", "", "6.5", "5", 1, 2};
    const Extras payments{{"L", "6/1/2024", "", "500"}, {"L", "6/1/2025", "", "700"}};
    const std::vector<RateChangeRow> rates{{QDate(2026, 1, 15), 7.0, engine::RateChangeMode::NewPayment},
                                           {QDate(2027, 1, 15), 5.0, engine::RateChangeMode::SamePayment}};
    for (const auto& c : cases) {
        for (const bool deleting : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (deleting ? ", delete" : ", save"));
            rawSql(path, "DELETE FROM tblExtraPayments");
            rawSql(path, "DELETE FROM tblRateChanges");
            rawSql(path, "DELETE FROM tblLoanDetail");
            const int key = add(car, payments, rates);
            const auto record = read(key);
            const QByteArray asRead = LoanStore::loanFingerprint(record.fingerprint, store->readExtraPayments(key).fingerprint,
                                                                 store->readRateChanges(key).fingerprint);
            if (*c.change) {
                ASSERT_EQ(rawSql(path, QString::fromUtf8(c.change)), QStringList());
            }
            const QByteArray theirs = fileBytes(path);

            SaveCheck check;
            check.expected = asRead;
            int mode = 1, sameKey = key;
            const auto error = deleting ? store->deleteLoan(key, &check)
                                        : saveTexts(*store, mode, sameKey, {"Mine", QDate(2024, 1, 15), "1", "", "1",
                                                                            "1", 0, 2}, {}, &check);
            EXPECT_EQ(check.found, c.found);
            const bool refused = c.found == StoredLoan::Changed || (!deleting && c.found == StoredLoan::Deleted);
            EXPECT_EQ(error.has_value(), refused) << (error ? error->text() : std::string());
            if (refused) {
                EXPECT_EQ(error->number, c.found == StoredLoan::Changed ? engine::ErrorNumber::ChangedByOther
                                                                        : engine::ErrorNumber::RecordDeleted);
                EXPECT_EQ(fileBytes(path), theirs);  // nothing of theirs replaced
                continue;
            }
            const QStringList left = rawSql(path, "SELECT Description FROM tblLoanDetail");
            EXPECT_EQ(left, deleting ? QStringList() : QStringList{"Mine"});
            EXPECT_EQ(rawSql(path, "SELECT count(*) FROM tblExtraPayments"), QStringList{"0"});
            EXPECT_EQ(rawSql(path, "SELECT count(*) FROM tblRateChanges"), QStringList{"0"});
        }
    }
}

// A delete that found the loan changed deletes it when asked again with what
// it found; without a fingerprint it only learns whether the loan is there.
TEST_F(Store, DeleteAgainWithWhatWasFoundAndWithoutAFingerprint)
{
    const int key = add(kCar, {{"L", "3/1/2024", "", "1"}});
    const QByteArray asRead = LoanStore::loanFingerprint(read(key).fingerprint, store->readExtraPayments(key).fingerprint,
                                                         store->readRateChanges(key).fingerprint);
    ASSERT_EQ(rawSql(path, "UPDATE tblLoanDetail SET InterestRate = 7"), QStringList());
    SaveCheck check;
    check.expected = asRead;
    ASSERT_TRUE(store->deleteLoan(key, &check));
    ASSERT_EQ(check.found, StoredLoan::Changed);
    SaveCheck again;
    again.expected = check.current;
    EXPECT_FALSE(store->deleteLoan(key, &again));
    EXPECT_EQ(again.found, StoredLoan::AsExpected);
    EXPECT_EQ(rawSql(path, "SELECT count(*) FROM tblLoanDetail"), QStringList{"0"});

    const int other = add(kCar, {{"L", "3/1/2024", "", "1"}});
    ASSERT_EQ(rawSql(path, "UPDATE tblLoanDetail SET InterestRate = 7"), QStringList());
    SaveCheck unread;  // a window that did not read its loan whole
    EXPECT_FALSE(store->deleteLoan(other, &unread));
    EXPECT_EQ(unread.found, StoredLoan::AsExpected);
    SaveCheck gone;
    EXPECT_FALSE(store->deleteLoan(other, &gone));
    EXPECT_EQ(gone.found, StoredLoan::Deleted);
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
        {"description of a million characters",
         "UPDATE tblLoanDetail SET Description = hex(zeroblob(500000)) WHERE SeqNo = %1", nullptr},
        {"description of a million and one characters",
         "UPDATE tblLoanDetail SET Description = hex(zeroblob(500000)) || 'x' WHERE SeqNo = %1",
         "6 - Overflow: the description of loan %1 is 1,000,001 characters long, more than the 1,000,000 this program "
         "reads, so the loan is not read."},
        {"32,767 extra payments",
         "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, Amount) SELECT %1, 0, '2030-01-01', 1 FROM "
         "(WITH RECURSIVE c(x) AS (SELECT 2 UNION ALL SELECT x + 1 FROM c WHERE x < 32767) SELECT x FROM c)",
         nullptr},
        {"32,768 extra payments",
         "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, Amount) SELECT %1, 0, '2030-01-01', 1 FROM "
         "(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 32767) SELECT x FROM c)",
         "6 - Overflow: loan %1 has 32,768 extra payments, more than the 32,767 a loan can hold, so none of them is "
         "read."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int key = add(kCar, {{"L", "3/1/2024", "", "1"}});
        ASSERT_EQ(rawSql(path, QString::fromUtf8(c.set).arg(key)), QStringList());
        const auto record = store->readLoan(key);
        const ExtraPaymentList payments = store->readExtraPayments(key);
        const bool payment = QByteArray(c.name).contains("payments");
        std::optional<QString> error;
        if (payment && payments.error) error = errorText(*payments.error);
        if (!payment && std::holds_alternative<engine::NumberedError>(record))
            error = errorText(std::get<engine::NumberedError>(record));
        if (!c.error) {
            EXPECT_FALSE(error) << error->toStdString();
            EXPECT_FALSE(payments.error);
            if (payment) {
                EXPECT_EQ(payments.rows.size(), size_t(32767));
            } else {
                EXPECT_EQ(std::get<LoanRecord>(record).description->size(), 1000000);
            }
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(*error, QString::fromUtf8(c.error).arg(key));
        if (payment) {
            EXPECT_TRUE(payments.rows.empty());
        }
    }
}

TEST_F(Store, HostileDescriptionAndKeyAbove32767)
{
    ASSERT_EQ(rawSql(path, "INSERT INTO tblLoanDetail (SeqNo, Description) VALUES (40000, 'Old')"), QStringList{});
    LoanSaveTexts hostile = kCar;
    hostile.description = QStringLiteral("Bob's \"car\"; DROP TABLE tblLoanDetail; -- ' OR 1=1 --");
    const int key = add(hostile, {{"L", "3/1/2024", "", "1"}});
    EXPECT_EQ(key, 40001);
    reopen();
    EXPECT_EQ(read(key).description, hostile.description);
    EXPECT_EQ(extras(key), QStringList{"L|3/1/2024||$1.00"});
    ASSERT_FALSE(update(key, kCar));
    EXPECT_EQ(read(key).description, QStringLiteral("Car"));
    EXPECT_EQ(read(40000).description, QStringLiteral("Old"));
}

// A payment-only loan stores the amount derived from the payment; a
// fractional term is stored as a whole number (its rounding: SavingConversion).
TEST_F(Store, StoresTheDerivedAmountAndTheWholeTerm)
{
    // 360 monthly payments of $500 at 6 % a year.
    const int derived = add({"Car", QDate(2024, 1, 15), "  ", "$500.00", "6", "30", 1, 2});
    const int fraction = add({"Car", QDate(2024, 1, 15), "$12,345.67", "", "6.5", "3.5", 1, 2});
    EXPECT_EQ(rawSql(path, QStringLiteral("SELECT OrigAmount, Term, typeof(Term) FROM tblLoanDetail WHERE SeqNo IN (%1, %2) "
                                          "ORDER BY SeqNo").arg(derived).arg(fraction)),
              (QStringList{"83395.81|30|integer", "12345.67|4|integer"}));
}

// Values another program stored that the window cannot show as they are:
// each is either read back exactly or refused with its reason, never changed.
TEST_F(Store, HostileStoredValuesAreKeptOrReported)
{
    const int key = add(kCar);
    const struct { const char* name; const char* set; std::optional<QString> description; const char* error; } cases[] = {
        {"UTF-8 text stored as a BLOB", "Description = CAST('Caf\xc3\xa9 \xe2\x82\xac' AS BLOB)",
         QString::fromUtf8("Caf\xc3\xa9 \xe2\x82\xac"), nullptr},
        {"bytes that are not text", "Description = X'43617200FFFE80'", std::nullopt, "13 - Type mismatch"},
        {"invalid UTF-8 stored as text", "Description = CAST(X'4361FF72' AS TEXT)", std::nullopt, "13 - Type mismatch"},
        {"a NUL inside the text", "Description = CAST(X'4361007200' AS TEXT)", QString::fromUtf8("Ca\0r\0", 5), nullptr},
        {"a number", "Description = 42.5", QStringLiteral("42.5"), nullptr},
        {"a byte order mark first", "Description = CAST(X'EFBBBF436172' AS TEXT)", QChar(0xfeff) + QStringLiteral("Car"), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rawSql(path, QStringLiteral("UPDATE tblLoanDetail SET %1 WHERE SeqNo = %2").arg(QString::fromUtf8(c.set)).arg(key));
        const auto record = store->readLoan(key);
        if (c.description) {
            ASSERT_TRUE(std::holds_alternative<LoanRecord>(record)) << std::get<engine::NumberedError>(record).text();
            EXPECT_EQ(std::get<LoanRecord>(record).description, *c.description);
        } else {
            ASSERT_TRUE(std::holds_alternative<engine::NumberedError>(record));
            EXPECT_TRUE(std::get<engine::NumberedError>(record).text().starts_with(c.error))
                << std::get<engine::NumberedError>(record).text();
        }
        // Listed too: readable ones as they are, others with a message naming the loan.
        const LoanList list = store->listLoans();
        ASSERT_EQ(list.loans.size(), size_t(1));
        if (c.description) {
            EXPECT_EQ(list.loans[0].description, *c.description);
            EXPECT_FALSE(list.error);
        } else {
            ASSERT_TRUE(list.error);
            EXPECT_TRUE(errorText(*list.error).contains(QStringLiteral("keys %1 ").arg(key))) << list.error->text();
        }
    }
}

TEST_F(Store, KeysThatCannotBeOpenedAreNamedNotHidden)
{
    const int key = add(kCar);
    rawSql(path, "INSERT INTO tblLoanDetail (SeqNo, Description) VALUES (5000000000, 'Far away')");
    rawSql(path, "INSERT INTO tblLoanDetail (SeqNo, Description) VALUES (-5000000000, 'Far below')");
    const LoanList list = store->listLoans();
    ASSERT_EQ(list.loans.size(), size_t(1));
    EXPECT_EQ(list.loans[0].seqNo, key);
    ASSERT_TRUE(list.error);
    EXPECT_EQ(errorText(*list.error), QStringLiteral("6 - Overflow: these loans have keys this program cannot open and "
                                                 "are not listed: \"Far below\" (key -5000000000), \"Far away\" "
                                                 "(key 5000000000)."));
}

std::vector<ExtraPaymentTexts> sampleExtras(int count)
{
    std::vector<ExtraPaymentTexts> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({"L", LocaleText::shortDateText(QDate(2030, 1, 1).addDays(i)), "", QString::number(i + 1)});
    return rows;
}

TEST_F(Store, ReadsThatStopPartWayAreErrorsAndKeepWhatWasRead)
{
    const int key = add(kCar, sampleExtras(3000));
    // 3,000 more loans in one transaction: separate saves would take a minute.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bulk"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open() && db.transaction());
        QSqlQuery insert(db);
        ASSERT_TRUE(insert.prepare("INSERT INTO tblLoanDetail (Description, OrigAmount, InterestRate, Term, TermType, "
                                   "Frequency, StartDate) VALUES (?, 12345.67, 6.5, 5, 1, 2, '2024-01-15')"));
        for (int i = 1; i <= 3000; ++i) {
            insert.addBindValue(QStringLiteral("Loan %1").arg(i, 4, 10, QLatin1Char('0')));
            ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
        }
        ASSERT_TRUE(db.commit());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bulk"));
    ASSERT_TRUE(breakExtraPaymentRecord(path, 1500));
    // A leaf page of the loan table in the middle of the list.
    const QByteArray file = fileBytes(path);
    const qsizetype loan = file.indexOf("Loan 1500");
    ASSERT_GT(loan, 0);
    const int pageSize = rawSql(path, "PRAGMA page_size").value(0).toInt();
    ASSERT_TRUE(rawPatch(path, loan / pageSize * pageSize, QByteArray(8, '\xff')));
    // Damaged while the program runs: a damaged file is refused at open.
    ASSERT_TRUE(bumpChangeCounter(path));

    const ExtraPaymentList payments = store->readExtraPayments(key);
    ASSERT_TRUE(payments.error);
    EXPECT_EQ(payments.rows.size(), size_t(1499));
    EXPECT_EQ(payments.rows.back().start, QDate(2030, 1, 1).addDays(1498));
    EXPECT_EQ(errorText(*payments.error),
              QStringLiteral("11 - The extra payments of loan %1 cannot all be read: the store file is damaged "
                             "(database disk image is malformed) (1499 read before the failure)").arg(key));

    const LoanList list = store->listLoans();
    ASSERT_TRUE(list.error);
    EXPECT_GT(list.loans.size(), size_t(1000));
    EXPECT_LT(list.loans.size(), size_t(1500));
    EXPECT_TRUE(errorText(*list.error).startsWith(QStringLiteral("11 - The loans cannot all be listed: the store file is damaged")))
        << list.error->text();
    EXPECT_TRUE(errorText(*list.error).endsWith(QStringLiteral("(%1 listed before the failure)").arg(list.loans.size())));
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Both tables with every column; tblLoanDetail's columns other than the key as given.
void withLoanTable(const QString& path, const char* keyAndDescription, const char* options = "",
                   const char* constraint = "")
{
    rawSql(path, QStringLiteral("CREATE TABLE tblLoanDetail (%1, OrigAmount REAL, InterestRate REAL, Term INTEGER, "
                             "TermType INTEGER, Frequency INTEGER, StartDate TEXT%3)%2")
                  .arg(QLatin1String(keyAndDescription), QLatin1String(options), QLatin1String(constraint)));
    rawSql(path, "CREATE TABLE tblExtraPayments (Loan_FK INTEGER, PaymentType INTEGER, StartDate TEXT, EndDate TEXT, "
              "Amount REAL)");
}

// A store holding a loan with 50 extra payments, its bytes then changed by `damage`.
void damagedStore(const QString& path, QByteArray (*damage)(const QByteArray&))
{
    makeStore(path);
    {
        auto store = openStore(path);
        ASSERT_TRUE(store);
        int mode = 0, key = 0;
        ASSERT_FALSE(saveTexts(*store, mode, key, sampleLoan(QStringLiteral("Car")), samplePayments(50, 10)));
    }
    write(path, damage(fileBytes(path)));
}

// Refused at open with a text naming the file (a non-ASCII name kept as it
// is), and never overwritten by creating a store there.
TEST(OpenStore, RefusesWhatIsNotAStoreAndChangesNothing)
{
    const struct { const char* name; void (*make)(const QString&); const char* mentions; } cases[] = {
        {"missing", [](const QString&) {}, "does not exist"},
        {"folder", [](const QString& p) { QDir().mkpath(p); }, "is not a file"},
        {"empty", [](const QString& p) { write(p, {}); }, "is not a Brimvale database: the file is empty (0 bytes)"},
        {"text", [](const QString& p) { write(p, QByteArray("Loan,Amount\nCar,1000\n").repeated(200)); },
         "is not a Brimvale database"},
        {"noTables", [](const QString& p) { rawSql(p, "CREATE TABLE Notes (Text TEXT)"); },
         "tables tblLoanDetail and tblExtraPayments are missing"},
        {"oneTable", [](const QString& p) { rawSql(p, "CREATE TABLE tblLoanDetail (SeqNo INTEGER PRIMARY KEY)"); },
         "tblExtraPayments is missing"},
        {"journalUnreadable",
         [](const QString& p) {
             ASSERT_FALSE(createStoreFile(p, QStringLiteral(BRIMVALE_SCHEMA_PATH)));
             QDir().mkdir(p + QStringLiteral("-journal"));
         },
         "cannot be read: the store file or its folder cannot be read or written"},
        {"seqNoNotTheKey", [](const QString& p) { withLoanTable(p, "SeqNo INTEGER, Description TEXT"); },
         "SeqNo of tblLoanDetail is not an INTEGER PRIMARY KEY"},
        {"seqNoAKeyButNotInteger", [](const QString& p) { withLoanTable(p, "SeqNo INT PRIMARY KEY, Description TEXT"); },
         "declared \"INT\""},
        {"seqNoWithoutRowid",
         [](const QString& p) { withLoanTable(p, "SeqNo INTEGER PRIMARY KEY, Description TEXT", " WITHOUT ROWID"); },
         "SeqNo of tblLoanDetail is not an INTEGER PRIMARY KEY"},
        {"seqNoPartOfAKey",
         [](const QString& p) {
             withLoanTable(p, "SeqNo INTEGER, Description TEXT", "", ", PRIMARY KEY (SeqNo, Description)");
         },
         "SeqNo of tblLoanDetail is not an INTEGER PRIMARY KEY"},
        {"columnMissing",
         [](const QString& p) {
             rawSql(p, "CREATE TABLE tblLoanDetail (SEQNO INTEGER PRIMARY KEY, description TEXT, OrigAmount REAL, "
                    "InterestRate REAL, Term INTEGER, TermType INTEGER, StartDate TEXT)");
             rawSql(p, "CREATE TABLE tblExtraPayments (Loan_FK INTEGER, PaymentType INTEGER, StartDate TEXT, "
                    "EndDate TEXT, Amount REAL)");
         },
         "the table tblLoanDetail has no column Frequency"},
        {"paymentColumnsMissing",
         [](const QString& p) {
             withLoanTable(p, "SeqNo INTEGER PRIMARY KEY, Description TEXT");
             rawSql(p, "DROP TABLE tblExtraPayments");
             rawSql(p, "CREATE TABLE tblExtraPayments (Loan_FK INTEGER, StartDate TEXT, Amount REAL)");
         },
         "the table tblExtraPayments has no columns PaymentType, EndDate"},
        {"truncatedHalfWay",
         [](const QString& p) { damagedStore(p, [](const QByteArray& good) { return good.left(good.size() / 2 + 100); }); },
         "the store file is damaged"},
        {"bytesFlipped",
         [](const QString& p) {
             damagedStore(p, [](const QByteArray& good) {
                 QByteArray bad = good;
                 for (qsizetype i = 100; i < bad.size(); i += 7) bad[i] = char(bad[i] ^ 0x5a);
                 return bad;
             });
         },
         "the store file is damaged"},
        {"headerOnly", [](const QString& p) { damagedStore(p, [](const QByteArray& good) { return good.left(100); }); },
         "is not a Brimvale database: the store file is damaged"},
        {"noise", [](const QString& p) { write(p, QByteArray(8192, '\x9c')); }, "is not a Brimvale database: the file is not a database"},
        // Found only by SQLite's check of the whole file: the schema reads well.
        {"leafPageDamaged",
         [](const QString& p) {
             damagedStore(p, [](const QByteArray& good) {
                 QByteArray bad = good;
                 bad.replace(bad.size() - 4096, 8, QByteArray(8, '\xff'));
                 return bad;
             });
         },
         "is not opened: the store file is damaged (SQLite's check found:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromUtf8("Brimvaledb \xc3\xbc\xe2\x82\xac\xe8\xb2\xb8.mdb"));
        c.make(path);
        const bool existed = QFile::exists(path);
        const QByteArray before = fileBytes(path);
        EXPECT_TRUE(!existed || createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_PATH)).has_value());
        auto opened = LoanStore::open(path);
        ASSERT_TRUE(std::holds_alternative<engine::NumberedError>(opened));
        const QString message = QString::fromStdString(std::get<engine::NumberedError>(opened).description);
        EXPECT_TRUE(message.contains(path) && message.contains(QString::fromUtf8(c.mentions))) << message.toStdString();
        EXPECT_EQ(QFile::exists(path), existed);
        EXPECT_EQ(fileBytes(path), before);
    }
}

// Store files made by hand with more than the program's own schema: each is
// refused at open, naming what was found, and left exactly as it was.
struct Hostile {
    const char* name;
    const char* replace;   // in the program's own schema text, replaced by `with`
    const char* with;
    const char* add;       // one more statement, run after the schema
    const char* mentions;  // in the refusal; nullptr: the store opens
};

class HostileStore : public ::testing::TestWithParam<Hostile> {};

// The program's schema with one declaration changed, and one loan with an
// extra payment, as another program would have written them.
void handMade(const QString& path, const Hostile& h)
{
    QFile schema(QStringLiteral(BRIMVALE_SCHEMA_PATH));
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(schema.readAll());
    if (*h.replace) {
        ASSERT_TRUE(text.contains(QLatin1String(h.replace))) << h.replace;
        text.replace(QLatin1String(h.replace), QLatin1String(h.with));
    }
    for (const QString& statement : schemaStatements(text)) {
        ASSERT_EQ(rawSql(path, statement), QStringList()) << statement.toStdString();
    }
    ASSERT_EQ(rawSql(path, "INSERT INTO tblLoanDetail (Description, OrigAmount, InterestRate, Term, TermType, Frequency, "
                           "StartDate) VALUES ('Car', 10000, 5.5, 5, 1, 2, '2024-01-15')"),
              QStringList());
    ASSERT_EQ(rawSql(path, "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, Amount) "
                           "VALUES (1, 0, '2024-06-01', 500)"),
              QStringList());
    if (*h.add) {
        ASSERT_EQ(rawSql(path, QString::fromUtf8(h.add)), QStringList());
    }
}

TEST_P(HostileStore, RefusedAtOpenNamingWhatWasFoundAndLeftAsItWas)
{
    const Hostile& h = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    handMade(path, h);
    const QByteArray before = fileBytes(path);
    auto opened = LoanStore::open(path);
    if (!h.mentions) {
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<LoanStore>>(opened))
            << std::get<engine::NumberedError>(opened).text();
        EXPECT_EQ(std::get<std::unique_ptr<LoanStore>>(opened)->listLoans().loans.size(), size_t(1));
        return;
    }
    ASSERT_TRUE(std::holds_alternative<engine::NumberedError>(opened));
    const QString message = errorText(std::get<engine::NumberedError>(opened));
    EXPECT_TRUE(message.startsWith(QStringLiteral("26 - The store %1 is not a Brimvale database: it holds what this "
                                                  "program does not create").arg(path)))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8(h.mentions))) << message.toStdString();
    EXPECT_EQ(fileBytes(path), before);
}

constexpr const char* kLoanTable = "Payment REAL";
constexpr const char* kPaymentsTable = "Amount REAL\n);";

INSTANTIATE_TEST_SUITE_P(
    Kinds, HostileStore,
    ::testing::Values(
        Hostile{"TriggerDeletingOtherLoans", "", "",
                "CREATE TRIGGER wipe AFTER UPDATE ON tblLoanDetail BEGIN "
                "DELETE FROM tblLoanDetail WHERE SeqNo <> NEW.SeqNo; END",
                "Found: the trigger \"wipe\" on \"tblLoanDetail\"."},
        Hostile{"TriggerChangingTheRate", "", "",
                "CREATE TRIGGER doubled AFTER UPDATE OF InterestRate ON tblLoanDetail BEGIN "
                "UPDATE tblLoanDetail SET InterestRate = NEW.InterestRate * 2 WHERE SeqNo = NEW.SeqNo; END",
                "Found: the trigger \"doubled\" on \"tblLoanDetail\"."},
        Hostile{"SlowTrigger", "", "",
                "CREATE TRIGGER slow BEFORE INSERT ON tblExtraPayments BEGIN SELECT count(*) FROM (WITH RECURSIVE "
                "c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000000) SELECT x FROM c); END",
                "Found: the trigger \"slow\" on \"tblExtraPayments\""},
        Hostile{"UniqueOnConflictReplace", "Description TEXT,", "Description TEXT UNIQUE ON CONFLICT REPLACE,", "",
                "Found: the table tblLoanDetail has a UNIQUE constraint and a conflict clause (ON CONFLICT)."},
        Hostile{"NotNullReplacedByADefault", "Description TEXT,",
                "Description TEXT NOT NULL ON CONFLICT REPLACE DEFAULT 'Untitled',", "",
                "Found: the table tblLoanDetail has a NOT NULL constraint on Description, a default value on Description "
                "and a conflict clause (ON CONFLICT)."},
        Hostile{"View", "", "", "CREATE VIEW Loans AS SELECT * FROM tblLoanDetail", "Found: the view \"Loans\"."},
        Hostile{"Check", kLoanTable, "Payment REAL, CHECK (InterestRate < 10)", "",
                "Found: the table tblLoanDetail has a CHECK constraint."},
        Hostile{"CascadingForeignKeyElsewhere", "", "",
                "CREATE TABLE Notes (Loan INTEGER REFERENCES tblLoanDetail (SeqNo) ON DELETE CASCADE, Note TEXT)",
                "Found: the table \"Notes\"."},
        Hostile{"CascadingForeignKeyOnThePayments", "Loan_FK INTEGER,",
                "Loan_FK INTEGER REFERENCES tblLoanDetail (SeqNo) ON DELETE CASCADE ON UPDATE SET NULL,", "",
                "Found: the table tblExtraPayments has a foreign key (Loan_FK to tblLoanDetail (SeqNo)), a foreign-key "
                "action (ON UPDATE SET NULL) and a foreign-key action (ON DELETE CASCADE)"},
        Hostile{"GeneratedColumn", kPaymentsTable, "Amount REAL, Twice REAL GENERATED ALWAYS AS (Amount * 2)\n);", "",
                "Found: the table tblExtraPayments has a generated column \"Twice\"."},
        Hostile{"ExtraColumn", kPaymentsTable, "Amount REAL, Note TEXT\n);", "",
                "Found: the table tblExtraPayments has another column \"Note\"."},
        Hostile{"UniqueIndex", "", "", "CREATE UNIQUE INDEX oneEach ON tblLoanDetail (Description)",
                "Found: the index \"oneEach\" on \"tblLoanDetail\"."},
        Hostile{"TableWithAnotherName", "", "", "CREATE TABLE Audit (Text TEXT)", "Found: the table \"Audit\"."},
        // Written by hand in another style, the program's own declarations still open.
        Hostile{"OwnTablesInOtherLettersAndQuotes", "CREATE TABLE tblLoanDetail (\n    SeqNo",
                "create table \"TBLLOANDETAIL\" ( /* the loans */ [seqno]", "", nullptr},
        Hostile{"OwnIndexMissing", "CREATE INDEX idxExtraPaymentsLoan ON tblExtraPayments (Loan_FK);", "", "",
                nullptr}),
    [](const ::testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

// The program's own empty store, and one the previous build has saved loans
// in (SQLite then keeps AUTOINCREMENT's counter in sqlite_sequence), open.
TEST(OpenStore, TheProgramsOwnStoresOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    makeStore(path);
    {
        auto store = openStore(path);
        ASSERT_TRUE(store);
        int mode = 0, key = 0;
        ASSERT_FALSE(saveTexts(*store, mode, key, sampleLoan(QStringLiteral("Car")), samplePayments(3, 10)));
        ASSERT_FALSE(store->deleteLoan(key));
        ASSERT_FALSE(saveTexts(*store, mode = 0, key = 0, sampleLoan(QStringLiteral("Boat")), samplePayments(2, 10)));
    }
    EXPECT_EQ(rawSql(path, "SELECT type, name FROM sqlite_master ORDER BY name"),
              (QStringList{"index|idxExtraPaymentsLoan", "index|idxRateChangesLoan", "table|sqlite_sequence",
                           "table|tblExtraPayments", "table|tblLoanDetail", "table|tblRateChanges"}));
    EXPECT_EQ(rawSql(path, "PRAGMA user_version"), QStringList{"1"});
    auto store = openStore(path);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->listLoans().loans.size(), size_t(1));
}

// A store made by the version before rate changes (tests/data, made from that
// version's schema.sql with the sqlite3 shell: three loans, one deleted before
// them, extra payments on two). It opens as it is; a save that needs the new
// layout upgrades it in its own transaction, any other save leaves its layout
// alone; every loan is kept either way, and the upgraded store opens again.
TEST(StoreVersions, PreviousVersionOpensAndIsUpgradedOnlyWhenASaveNeedsIt)
{
    using Mode = engine::RateChangeMode;
    const struct {
        const char* name;
        std::vector<RateChangeRow> rates;
        CalculateChoice choice;
        bool upgraded;
    } cases[] = {
        {"plain loan", {}, CalculateChoice::Payment, false},
        {"loan amount derived", {}, CalculateChoice::LoanAmount, true},
        {"one rate change", {{QDate(2030, 2, 1), 7.25, Mode::NewPayment}}, CalculateChoice::Payment, true},
        {"two rate changes, term solved",
         {{QDate(2030, 2, 1), 7.25, Mode::NewPayment}, {QDate(2035, 2, 1), 5, Mode::SamePayment}},
         CalculateChoice::Term, true},
    };
    const QStringList loansBefore{"1|House|100000|6|30|2025-02-01|1|2", "3|Car|12345.67|6.5|60|2024-01-15|0|2",
                                  "4|Boat, weekly|20000|0|3|2024-03-04|1|6"};
    for (const auto& c : cases) {
        for (const bool newLoan : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (newLoan ? ", new loan" : ", stored loan"));
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
            ASSERT_TRUE(QFile::copy(QStringLiteral(BRIMVALE_TEST_DATA_DIR "/Brimvaledb-version0.mdb"), path));
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            const QByteArray asShipped = fileBytes(path);
            auto store = openStore(path);
            ASSERT_TRUE(store);
            const auto house = std::get<LoanRecord>(store->readLoan(1));
            const RateChangeList none = store->readRateChanges(1);
            EXPECT_FALSE(none.error);
            EXPECT_TRUE(none.rows.empty());
            EXPECT_EQ(house.calculate, 0);
            const QByteArray houseAsRead = LoanStore::loanFingerprint(
                house.fingerprint, store->readExtraPayments(1).fingerprint, none.fingerprint);
            EXPECT_EQ(fileBytes(path), asShipped);  // opening and reading change nothing

            Loan loan = typedLoan({"Saved", QDate(2025, 3, 1), "50000", "", "5", "15", 1, 2});
            loan.choice = c.choice;
            int mode = newLoan ? 0 : 1, key = newLoan ? 0 : 3;
            ASSERT_FALSE(store->saveLoan(mode, key, loan, {}, c.rates));
            EXPECT_EQ(rawSql(path, "PRAGMA user_version"), QStringList{c.upgraded ? "1" : "0"});
            EXPECT_EQ(rawSql(path, "SELECT count(*) FROM sqlite_master WHERE name = 'tblRateChanges'"),
                      QStringList{c.upgraded ? "1" : "0"});

            // The house, read before the upgrade, is still the loan it was.
            SaveCheck check;
            check.expected = houseAsRead;
            int houseMode = 1, houseKey = 1;
            ASSERT_FALSE(store->saveLoan(houseMode, houseKey, typedLoan({"House", QDate(2025, 2, 1), "100000", "", "6",
                                                                           "30", 1, 2}),
                                         typedRows({{"L", "1/1/2026", "", "5000"}, {"R", "1/1/2027", "12/1/2030", "100"}}),
                                         {}, &check));
            store.reset();

            store = openStore(path);
            ASSERT_TRUE(store) << "reopened";
            QStringList loans;
            for (const LoanListEntry& entry : store->listLoans().loans) {
                const LoanRecord r = std::get<LoanRecord>(store->readLoan(entry.seqNo));
                loans << QStringList{QString::number(r.seqNo), opt(r.description), shownNumber(r.origAmount),
                                     shownNumber(r.interestRate), shownNumber(r.term), opt(r.startDate), opt(r.termType),
                                     opt(r.frequency)}.join('|');
            }
            QStringList expected = loansBefore;
            if (newLoan) expected << "5|Saved|50000|5|15|2025-03-01|1|2";
            else expected[1] = "3|Saved|50000|5|15|2025-03-01|1|2";
            EXPECT_EQ(loans, expected);
            EXPECT_EQ(store->readExtraPayments(1).rows.size(), size_t(2));
            EXPECT_EQ(store->readExtraPayments(3).rows.size(), size_t(newLoan ? 1 : 0));
            const RateChangeList rates = store->readRateChanges(key);
            EXPECT_FALSE(rates.error);
            ASSERT_EQ(rates.rows.size(), c.rates.size());
            for (size_t i = 0; i < c.rates.size(); ++i) {
                EXPECT_EQ(rates.rows[i].from, c.rates[i].from);
                EXPECT_EQ(rates.rows[i].annualPercent, c.rates[i].annualPercent);
                EXPECT_EQ(rates.rows[i].mode, int(c.rates[i].mode));
            }
            const LoanRecord saved = std::get<LoanRecord>(store->readLoan(key));
            EXPECT_EQ(saved.calculate, int(c.choice));
            EXPECT_EQ(saved.payment.has_value(), c.choice != CalculateChoice::Payment);
            ASSERT_FALSE(store->deleteLoan(key));
            EXPECT_EQ(store->readRateChanges(key).rows.size(), size_t(0));
        }
    }
}

// A store of version 0 that already holds a rate changes table was not made
// by this program: refused at open, naming it, and left as it was.
TEST(StoreVersions, VersionZeroWithTheNewTableRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(BRIMVALE_TEST_DATA_DIR "/Brimvaledb-version0.mdb"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(rawSql(path, "CREATE TABLE tblRateChanges (Loan_FK INTEGER, FromDate TEXT, AnnualRate REAL, Mode INTEGER)"),
              QStringList());
    const QByteArray before = fileBytes(path);
    auto opened = LoanStore::open(path);
    ASSERT_TRUE(std::holds_alternative<engine::NumberedError>(opened));
    EXPECT_TRUE(errorText(std::get<engine::NumberedError>(opened)).contains(QStringLiteral("Found: the table \"tblRateChanges\".")))
        << errorText(std::get<engine::NumberedError>(opened)).toStdString();
    EXPECT_EQ(fileBytes(path), before);
}

// A store whose recorded version is newer than this program's is refused at
// open, saying so, and left exactly as it was.
TEST(StoreVersions, NewerVersionRefusedUntouched)
{
    for (const char* version : {"2", "40000"}) {
        SCOPED_TRACE(version);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
        makeStore(path);
        ASSERT_EQ(rawSql(path, QStringLiteral("PRAGMA user_version = %1").arg(QLatin1String(version))), QStringList());
        ASSERT_EQ(rawSql(path, "ALTER TABLE tblLoanDetail ADD COLUMN Compounding INTEGER"), QStringList());
        ASSERT_EQ(rawSql(path, "INSERT INTO tblLoanDetail (Description) VALUES ('Theirs')"), QStringList());
        const QByteArray before = fileBytes(path);
        auto opened = LoanStore::open(path);
        ASSERT_TRUE(std::holds_alternative<engine::NumberedError>(opened));
        const QString message = errorText(std::get<engine::NumberedError>(opened));
        EXPECT_TRUE(message.contains(QStringLiteral("The store %1 was made by a newer version of Brimvale (store "
                                                    "version %2; this program knows versions up to 1)")
                                         .arg(path, QLatin1String(version))))
            << message.toStdString();
        EXPECT_EQ(fileBytes(path), before);
    }
}

// SQLite's defences for files from elsewhere hold on the program's own connection.
TEST(OpenStore, SqliteDefencesAreOn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    makeStore(path);
    auto store = openStore(path);
    ASSERT_TRUE(store);
    const QByteArray before = fileBytes(path);
    QSqlDatabase db = storeConnection(path);
    const struct { const char* statement; const char* answer; } cases[] = {
        {"PRAGMA trusted_schema", "0"},
        {"PRAGMA cell_size_check", "1"},
        // Defensive: the schema cannot be written directly, whatever the pragma says.
        {"PRAGMA writable_schema = ON", nullptr},
        {"UPDATE sqlite_master SET sql = replace(sql, 'Amount REAL', 'Amount REAL CHECK (Amount > 1e9)') "
         "WHERE name = 'tblExtraPayments'", "error"},
        {"PRAGMA writable_schema = OFF", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        QSqlQuery query(db);
        const bool ran = query.exec(QString::fromUtf8(c.statement));
        if (!c.answer) continue;
        if (QByteArray(c.answer) == "error") {
            EXPECT_FALSE(ran);
            continue;
        }
        ASSERT_TRUE(ran && query.next());
        EXPECT_EQ(query.value(0).toString(), QString::fromUtf8(c.answer));
    }
    EXPECT_EQ(fileBytes(path), before);
}

}  // namespace
