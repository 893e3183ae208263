// The store on real SQLite files in a temporary folder: what goes in comes
// back, failed saves leave the file as it was, and files that are not a
// Brimvale store are refused.
#include "LoanStore.h"
#include "LocaleText.h"
#include "Schedule.h"
#include "StoreFile.h"
#include "ValidateLoan.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>

#include <cstdio>
#include <functional>
#include <utility>
#include <ostream>

#include <unistd.h>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// Direct access to a store file, beside the store under test.
class Raw {
public:
    explicit Raw(const QString& path) : m_name(QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~Raw()
    {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    void exec(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString() << " in " << sql.toStdString();
    }
    // All rows of a query, each value as the text SQLite holds ("NULL" for none).
    QStringList rows(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        QStringList out;
        if (!q.exec(sql)) return {QStringLiteral("error: ") + q.lastError().text()};
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << (q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }

private:
    QString m_name;
};

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

LoanRecordTexts carLoan()
{
    LoanRecordTexts loan;
    loan.description = QStringLiteral("Car");
    loan.startDate = QDate(2024, 1, 15);
    loan.origAmount = QStringLiteral("$12,345.67");
    loan.paymentAmount = QStringLiteral("ignored");
    loan.interestRate = QStringLiteral("6.5");
    loan.term = QStringLiteral("5");
    loan.termType = 1;
    loan.frequency = 2;
    return loan;
}

ExtraPaymentTexts lumpSum(const QString& start, const QString& amount)
{
    return {QStringLiteral("L"), start, QString(), amount};
}

ExtraPaymentTexts repeating(const QString& start, const QString& stop, const QString& amount)
{
    return {QStringLiteral("R"), start, stop, amount};
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("Brimvaledb.mdb"));
        const auto failure = createStoreFile(m_path, QStringLiteral(BRIMVALE_SCHEMA_PATH));
        ASSERT_FALSE(failure.has_value()) << failure->toStdString();
        reopen();
    }

    void reopen()
    {
        m_store.reset();
        auto opened = LoanStore::open(m_path);
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<LoanStore>>(opened))
            << std::get<StoreError>(opened).text().toStdString();
        m_store = std::move(std::get<std::unique_ptr<LoanStore>>(opened));
    }

    // Adds a loan and hands back its key.
    int add(const LoanRecordTexts& loan, const std::vector<ExtraPaymentTexts>& extras = {})
    {
        int mode = 0;
        int key = 0;
        const auto error = m_store->saveLoan(mode, key, loan, extras);
        EXPECT_FALSE(error.has_value()) << error->text().toStdString();
        EXPECT_EQ(mode, 1);
        return key;
    }

    LoanRecord read(int key)
    {
        auto loaded = m_store->readLoan(key);
        EXPECT_TRUE(std::holds_alternative<LoanRecord>(loaded)) << std::get<StoreError>(loaded).text().toStdString();
        return std::holds_alternative<LoanRecord>(loaded) ? std::get<LoanRecord>(loaded) : LoanRecord{};
    }

    std::vector<ExtraPaymentRecord> extras(int key)
    {
        auto loaded = m_store->readExtraPayments(key);
        EXPECT_TRUE(std::holds_alternative<std::vector<ExtraPaymentRecord>>(loaded));
        return std::holds_alternative<std::vector<ExtraPaymentRecord>>(loaded)
                   ? std::get<std::vector<ExtraPaymentRecord>>(loaded)
                   : std::vector<ExtraPaymentRecord>{};
    }

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<LoanStore> m_store;
};

void expectPayment(const ExtraPaymentRecord& p, const char* type, const char* start, const char* stop,
                   const char* amount)
{
    EXPECT_EQ(p.type, QString::fromUtf8(type));
    EXPECT_EQ(p.start, std::optional<QString>(QString::fromUtf8(start)));
    EXPECT_EQ(p.stop, std::optional<QString>(QString::fromUtf8(stop)));
    EXPECT_EQ(p.amount, std::optional<QString>(QString::fromUtf8(amount)));
}

// ------------------------------------------------------------ round trips

TEST_F(StoreTest, EveryColumnSurvivesAddReloadUpdateReload)
{
    const int key = add(carLoan(), {repeating(QStringLiteral("2/15/2024"), QStringLiteral("12/15/2024"),
                                              QStringLiteral("$1,234.50")),
                                    lumpSum(QStringLiteral("6/1/2025"), QStringLiteral("500"))});
    ASSERT_GT(key, 0);
    reopen();

    LoanRecord loan = read(key);
    EXPECT_EQ(loan.seqNo, key);
    EXPECT_EQ(loan.description, std::optional<QString>(QStringLiteral("Car")));
    EXPECT_EQ(loan.origAmount, std::optional<QString>(QStringLiteral("12345.67")));
    EXPECT_EQ(loan.interestRate, std::optional<QString>(QStringLiteral("6.5")));
    EXPECT_EQ(loan.term, std::optional<QString>(QStringLiteral("5")));
    EXPECT_EQ(loan.startDate, std::optional<QDate>(QDate(2024, 1, 15)));
    EXPECT_EQ(loan.termType, std::optional<int>(1));
    EXPECT_EQ(loan.frequency, std::optional<int>(2));
    auto payments = extras(key);
    ASSERT_EQ(payments.size(), 2u);
    expectPayment(payments[0], "R", "2/15/2024", "12/15/2024", "$1,234.50");
    expectPayment(payments[1], "L", "6/1/2025", "", "$500.00");

    // The columns hold typed values, not the window's texts.
    Raw raw(m_path);
    EXPECT_EQ(raw.rows(QStringLiteral("SELECT typeof(OrigAmount), typeof(InterestRate), typeof(Term), StartDate "
                                      "FROM tblLoanDetail")),
              QStringList{QStringLiteral("real|real|integer|2024-01-15")});

    LoanRecordTexts changed;
    changed.description = QStringLiteral("Car, refinanced");
    changed.startDate = QDate(2025, 3, 1);
    changed.origAmount = QStringLiteral("9,999.99");
    changed.interestRate = QStringLiteral("0");
    changed.term = QStringLiteral("48");
    changed.termType = 0;
    changed.frequency = 7;
    int mode = 1;
    int sameKey = key;
    ASSERT_FALSE(m_store->saveLoan(mode, sameKey, changed,
                                   {lumpSum(QStringLiteral("3/1/2026"), QStringLiteral("$.50"))}));
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(sameKey, key);
    reopen();

    loan = read(key);
    EXPECT_EQ(loan.description, std::optional<QString>(QStringLiteral("Car, refinanced")));
    EXPECT_EQ(loan.origAmount, std::optional<QString>(QStringLiteral("9999.99")));
    EXPECT_EQ(loan.interestRate, std::optional<QString>(QStringLiteral("0")));
    EXPECT_EQ(loan.term, std::optional<QString>(QStringLiteral("48")));
    EXPECT_EQ(loan.startDate, std::optional<QDate>(QDate(2025, 3, 1)));
    EXPECT_EQ(loan.termType, std::optional<int>(0));
    EXPECT_EQ(loan.frequency, std::optional<int>(7));
    payments = extras(key);
    ASSERT_EQ(payments.size(), 1u);
    expectPayment(payments[0], "L", "3/1/2026", "", "$0.50");

    auto list = m_store->listLoans();
    ASSERT_TRUE(std::holds_alternative<std::vector<LoanListEntry>>(list));
    ASSERT_EQ(std::get<std::vector<LoanListEntry>>(list).size(), 1u);
    EXPECT_EQ(std::get<std::vector<LoanListEntry>>(list)[0].description, QStringLiteral("Car, refinanced"));
}

TEST_F(StoreTest, ExtraPaymentsComeBackInStoredOrder)
{
    std::vector<ExtraPaymentTexts> rows;
    for (int day : {28, 3, 17, 9, 1})
        rows.push_back(lumpSum(QStringLiteral("5/%1/2024").arg(day), QString::number(day)));
    const int other = add(carLoan(), {lumpSum(QStringLiteral("1/1/2024"), QStringLiteral("7"))});
    const int key = add(carLoan(), rows);
    // A later save of the other loan puts its rows after ours in the table.
    int mode = 1;
    int otherKey = other;
    ASSERT_FALSE(m_store->saveLoan(mode, otherKey, carLoan(), {lumpSum(QStringLiteral("1/2/2024"), QStringLiteral("8"))}));

    const auto payments = extras(key);
    ASSERT_EQ(payments.size(), 5u);
    const char* expected[] = {"5/28/2024", "5/3/2024", "5/17/2024", "5/9/2024", "5/1/2024"};
    for (std::size_t i = 0; i < payments.size(); ++i)
        EXPECT_EQ(payments[i].start, std::optional<QString>(QString::fromUtf8(expected[i]))) << i;
}

TEST_F(StoreTest, LumpSumsStoreTypeZeroAndNoEndDate)
{
    const int key = add(carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("100")),
                                    {QStringLiteral("L"), QStringLiteral("4/1/2024"), QStringLiteral("9/9/2029"),
                                     QStringLiteral("200")},
                                    repeating(QStringLiteral("5/1/2024"), QStringLiteral("5/1/2025"),
                                              QStringLiteral("50"))});
    Raw raw(m_path);
    EXPECT_EQ(raw.rows(QStringLiteral("SELECT Loan_FK, PaymentType, StartDate, EndDate, Amount FROM "
                                      "tblExtraPayments ORDER BY rowid")),
              (QStringList{QStringLiteral("%1|0|2024-03-01|NULL|100").arg(key),
                           QStringLiteral("%1|0|2024-04-01|NULL|200").arg(key),
                           QStringLiteral("%1|1|2024-05-01|2025-05-01|50").arg(key)}));
}

TEST_F(StoreTest, AnythingButExactlyLStoresAsRepeating)
{
    const int key = add(carLoan(), {{QStringLiteral("l"), QStringLiteral("3/1/2024"), QStringLiteral("4/1/2024"),
                                     QStringLiteral("1")},
                                    {QString(), QStringLiteral("3/1/2024"), QStringLiteral("4/1/2024"),
                                     QStringLiteral("1")}});
    Raw raw(m_path);
    EXPECT_EQ(raw.rows(QStringLiteral("SELECT PaymentType FROM tblExtraPayments WHERE Loan_FK = %1").arg(key)),
              (QStringList{QStringLiteral("1"), QStringLiteral("1")}));
}

// Values written by other programs (or older versions) load as the window expects.
struct StoredRowCase {
    const char* name;
    const char* values;  // PaymentType, StartDate, EndDate, Amount as SQL
    const char* type;
    std::optional<QString> start, stop, amount;
};

class StoredExtraPayment : public StoreTest, public ::testing::WithParamInterface<StoredRowCase> {};

TEST_P(StoredExtraPayment, LoadsAs)
{
    const int key = add(carLoan());
    {
        Raw raw(m_path);
        raw.exec(QStringLiteral("INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, EndDate, Amount) "
                                "VALUES (%1, %2)")
                     .arg(key)
                     .arg(QString::fromUtf8(GetParam().values)));
    }
    const auto payments = extras(key);
    ASSERT_EQ(payments.size(), 1u);
    EXPECT_EQ(payments[0].type, QString::fromUtf8(GetParam().type));
    EXPECT_EQ(payments[0].start, GetParam().start);
    EXPECT_EQ(payments[0].stop, GetParam().stop);
    EXPECT_EQ(payments[0].amount, GetParam().amount);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoredExtraPayment,
    ::testing::Values(
        StoredRowCase{"typeTwoIsRepeating", "2, '2024-02-01', '2024-03-01', 10", "R", QStringLiteral("2/1/2024"),
                      QStringLiteral("3/1/2024"), QStringLiteral("$10.00")},
        StoredRowCase{"nullTypeIsRepeating", "NULL, '2024-02-01', '2024-03-01', 10", "R", QStringLiteral("2/1/2024"),
                      QStringLiteral("3/1/2024"), QStringLiteral("$10.00")},
        StoredRowCase{"lumpSumIgnoresEndDate", "0, '2024-02-01', '2030-01-01', 1234.5", "L",
                      QStringLiteral("2/1/2024"), QString(), QStringLiteral("$1,234.50")},
        StoredRowCase{"repeatingWithoutEndDate", "1, '2024-02-01', NULL, 10", "R", QStringLiteral("2/1/2024"),
                      std::nullopt, QStringLiteral("$10.00")},
        StoredRowCase{"unreadableStart", "0, 'soon', NULL, 10", "L", std::nullopt, QString(),
                      QStringLiteral("$10.00")},
        StoredRowCase{"missingAmount", "0, '2024-02-01', NULL, NULL", "L", QStringLiteral("2/1/2024"), QString(),
                      std::nullopt},
        StoredRowCase{"textAmount", "0, '2024-02-01', NULL, 'lots'", "L", QStringLiteral("2/1/2024"), QString(),
                      std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, MissingOrUnusableLoanColumnsAreEmpty)
{
    {
        Raw raw(m_path);
        raw.exec(QStringLiteral("INSERT INTO tblLoanDetail (SeqNo, Description, OrigAmount, InterestRate, Term, "
                                "TermType, Frequency, StartDate) VALUES (5, NULL, 'x', NULL, 2.5, 1.5, NULL, 'x')"));
    }
    const LoanRecord loan = read(5);
    EXPECT_FALSE(loan.description.has_value());
    EXPECT_FALSE(loan.origAmount.has_value());
    EXPECT_FALSE(loan.interestRate.has_value());
    EXPECT_EQ(loan.term, std::optional<QString>(QStringLiteral("2.5")));
    EXPECT_FALSE(loan.startDate.has_value());
    EXPECT_FALSE(loan.termType.has_value());
    EXPECT_FALSE(loan.frequency.has_value());
}

TEST_F(StoreTest, HostileDescriptionIsStoredVerbatim)
{
    LoanRecordTexts loan = carLoan();
    loan.description = QStringLiteral("Bob's \"car\"; DROP TABLE tblLoanDetail; -- ' OR 1=1 --");
    const int key = add(loan, {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("1"))});
    reopen();
    EXPECT_EQ(read(key).description, std::optional<QString>(loan.description));
    EXPECT_EQ(extras(key).size(), 1u);
    auto list = m_store->listLoans();
    ASSERT_TRUE(std::holds_alternative<std::vector<LoanListEntry>>(list));
    EXPECT_EQ(std::get<std::vector<LoanListEntry>>(list).at(0).description, loan.description);
}

TEST_F(StoreTest, SavingTwiceKeepsOneRow)
{
    int mode = 0;
    int key = 0;
    ASSERT_FALSE(m_store->saveLoan(mode, key, carLoan(), {}));
    EXPECT_EQ(mode, 1);
    const int first = key;
    ASSERT_FALSE(m_store->saveLoan(mode, key, carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("1"))}));
    EXPECT_EQ(key, first);
    ASSERT_FALSE(m_store->saveLoan(mode, key, carLoan(), {}));
    EXPECT_TRUE(extras(key).empty());
    Raw raw(m_path);
    EXPECT_EQ(raw.rows(QStringLiteral("SELECT COUNT(*) FROM tblLoanDetail")), QStringList{QStringLiteral("1")});
}

TEST_F(StoreTest, KeysAboveSixteenBitsWork)
{
    {
        Raw raw(m_path);
        raw.exec(QStringLiteral("INSERT INTO tblLoanDetail (SeqNo, Description) VALUES (40000, 'Old')"));
    }
    const int key = add(carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("1"))});
    EXPECT_EQ(key, 40001);
    EXPECT_EQ(read(key).description, std::optional<QString>(QStringLiteral("Car")));
    EXPECT_EQ(read(40000).description, std::optional<QString>(QStringLiteral("Old")));
    EXPECT_EQ(extras(key).size(), 1u);
    int mode = 1;
    int sameKey = key;
    LoanRecordTexts changed = carLoan();
    changed.description = QStringLiteral("Updated");
    ASSERT_FALSE(m_store->saveLoan(mode, sameKey, changed, {}));
    EXPECT_EQ(sameKey, 40001);
    EXPECT_EQ(read(key).description, std::optional<QString>(QStringLiteral("Updated")));
    ASSERT_FALSE(m_store->deleteLoan(key));
    EXPECT_TRUE(std::holds_alternative<StoreError>(m_store->readLoan(key)));
}

TEST_F(StoreTest, DeletedKeysAreNotReused)
{
    const int first = add(carLoan());
    ASSERT_FALSE(m_store->deleteLoan(first));
    EXPECT_GT(add(carLoan()), first);
}

TEST_F(StoreTest, PaymentOnlyLoanStoresTheDerivedAmount)
{
    LoanRecordTexts loan = carLoan();
    loan.origAmount = QStringLiteral("  ");
    loan.paymentAmount = QStringLiteral("$500.00");
    loan.interestRate = QStringLiteral("6");
    loan.term = QStringLiteral("30");
    loan.termType = 1;
    loan.frequency = 2;
    const int key = add(loan);

    LoanInputs inputs;
    inputs.paymentAmount = loan.paymentAmount;
    inputs.interestRate = loan.interestRate;
    inputs.term = loan.term;
    inputs.termType = loan.termType;
    inputs.frequency = loan.frequency;
    inputs.startDate = loan.startDate;
    const auto expected = engine::effectiveLoanAmount(toLoanTerms(inputs));
    ASSERT_TRUE(std::holds_alternative<double>(expected));
    const auto stored = read(key).origAmount;
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(LocaleText::readNumber(*stored), std::optional<double>(std::get<double>(expected)));
    // 360 payments of $500 at 6 % a year: about $83,396 borrowed.
    EXPECT_NEAR(std::get<double>(expected), 83395.81, 0.01);
}

TEST_F(StoreTest, ReadingAMissingKeyHasNoCurrentRecord)
{
    const auto loaded = m_store->readLoan(123);
    ASSERT_TRUE(std::holds_alternative<StoreError>(loaded));
    EXPECT_EQ(std::get<StoreError>(loaded).number, 3021);
    EXPECT_EQ(std::get<StoreError>(loaded).description,
              QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. Requested "
                             "operation requires a current record."));
    EXPECT_TRUE(extras(123).empty());
    EXPECT_FALSE(m_store->deleteLoan(123).has_value());
}

TEST_F(StoreTest, DeleteRemovesTheLoanAndItsExtraPaymentsOnly)
{
    const int keep = add(carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("1"))});
    const int gone = add(carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("2")),
                                     repeating(QStringLiteral("3/1/2024"), QStringLiteral("4/1/2024"),
                                               QStringLiteral("3"))});
    ASSERT_FALSE(m_store->deleteLoan(gone));
    Raw raw(m_path);
    EXPECT_EQ(raw.rows(QStringLiteral("SELECT SeqNo FROM tblLoanDetail")), QStringList{QString::number(keep)});
    EXPECT_EQ(raw.rows(QStringLiteral("SELECT Loan_FK, Amount FROM tblExtraPayments")),
              QStringList{QStringLiteral("%1|1").arg(keep)});
}

TEST_F(StoreTest, SeveralStoresOpenAtOnce)
{
    QTemporaryDir otherDir;
    const QString otherPath = otherDir.filePath(QStringLiteral("Brimvaledb.mdb"));
    ASSERT_FALSE(createStoreFile(otherPath, QStringLiteral(BRIMVALE_SCHEMA_PATH)));
    auto opened = LoanStore::open(otherPath);
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<LoanStore>>(opened));
    auto& other = std::get<std::unique_ptr<LoanStore>>(opened);
    int mode = 0;
    int key = 0;
    ASSERT_FALSE(other->saveLoan(mode, key, carLoan(), {}));
    EXPECT_EQ(std::get<std::vector<LoanListEntry>>(other->listLoans()).size(), 1u);
    EXPECT_TRUE(std::get<std::vector<LoanListEntry>>(m_store->listLoans()).empty());
}

// -------------------------------------------------- failed saves and deletes

struct FailedSaveCase {
    const char* name;
    int mode;  // 0 add, 1 update the stored loan
    std::function<void(Raw&)> prepare;
    std::function<void(LoanRecordTexts&, std::vector<ExtraPaymentTexts>&)> change;
    int number;
    const char* mentions;
};

class FailedSave : public StoreTest, public ::testing::WithParamInterface<FailedSaveCase> {};

TEST_P(FailedSave, LeavesTheFileModeAndKeyAsTheyWere)
{
    const int stored = add(carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("1")),
                                       repeating(QStringLiteral("3/1/2024"), QStringLiteral("4/1/2024"),
                                                 QStringLiteral("2"))});
    {
        Raw raw(m_path);
        GetParam().prepare(raw);
    }
    reopen();
    const QByteArray before = fileHash(m_path);

    LoanRecordTexts loan = carLoan();
    loan.description = QStringLiteral("Changed");
    std::vector<ExtraPaymentTexts> rows = {lumpSum(QStringLiteral("5/1/2024"), QStringLiteral("10")),
                                           lumpSum(QStringLiteral("6/1/2024"), QStringLiteral("20")),
                                           repeating(QStringLiteral("7/1/2024"), QStringLiteral("8/1/2024"),
                                                     QStringLiteral("30"))};
    GetParam().change(loan, rows);
    int mode = GetParam().mode;
    int key = mode == 0 ? 0 : stored;
    const int keyBefore = key;
    const auto error = m_store->saveLoan(mode, key, loan, rows);

    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, GetParam().number) << error->text().toStdString();
    EXPECT_TRUE(error->description.contains(QString::fromUtf8(GetParam().mentions)))
        << error->description.toStdString();
    EXPECT_EQ(mode, GetParam().mode);
    EXPECT_EQ(key, keyBefore);
    m_store.reset();
    EXPECT_EQ(fileHash(m_path), before);
}

const auto kNothing = [](Raw&) {};
const auto kUnchanged = [](LoanRecordTexts&, std::vector<ExtraPaymentTexts>&) {};
// Refuses the third extra payment written after the trigger is installed.
const auto kFailThirdInsert = [](Raw& raw) {
    raw.exec(QStringLiteral("CREATE TABLE Tally (n INTEGER)"));
    raw.exec(QStringLiteral(
        "CREATE TRIGGER FailThird BEFORE INSERT ON tblExtraPayments BEGIN "
        "INSERT INTO Tally VALUES (1); "
        "SELECT RAISE(ABORT, 'disk full') WHERE (SELECT COUNT(*) FROM Tally) >= 3; END"));
};

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedSave,
    ::testing::Values(
        FailedSaveCase{"badStartInThirdRow", 1, kNothing,
                       [](LoanRecordTexts&, std::vector<ExtraPaymentTexts>& rows) { rows[2].start = QStringLiteral("someday"); },
                       13, "someday"},
        FailedSaveCase{"badStopInThirdRow", 0, kNothing,
                       [](LoanRecordTexts&, std::vector<ExtraPaymentTexts>& rows) { rows[2].stop.clear(); }, 13,
                       "stop date"},
        FailedSaveCase{"badAmountInThirdRow", 1, kNothing,
                       [](LoanRecordTexts&, std::vector<ExtraPaymentTexts>& rows) { rows[2].amount = QStringLiteral("1O"); },
                       13, "1O"},
        FailedSaveCase{"badLoanAmount", 0, kNothing,
                       [](LoanRecordTexts& loan, std::vector<ExtraPaymentTexts>&) { loan.origAmount = QStringLiteral("many"); },
                       13, "many"},
        FailedSaveCase{"badTerm", 1, kNothing,
                       [](LoanRecordTexts& loan, std::vector<ExtraPaymentTexts>&) { loan.term = QStringLiteral("ten"); },
                       13, "ten"},
        FailedSaveCase{"storeRefusesThirdRowOnUpdate", 1, kFailThirdInsert, kUnchanged, 1811, "disk full"},
        FailedSaveCase{"storeRefusesThirdRowOnAdd", 0, kFailThirdInsert, kUnchanged, 1811, "disk full"},
        FailedSaveCase{"updatedRowIsGone", 1,
                       [](Raw& raw) { raw.exec(QStringLiteral("DELETE FROM tblLoanDetail")); }, kUnchanged, 3021,
                       "current record"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, SaveIntoALockedStoreChangesNothing)
{
    const int key = add(carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("1"))});
    const QByteArray before = fileHash(m_path);
    {
        Raw other(m_path);
        other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        int mode = 1;
        int sameKey = key;
        const auto error = m_store->saveLoan(mode, sameKey, carLoan(), {});
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number, 5) << error->text().toStdString();  // SQLITE_BUSY
        const auto deleteError = m_store->deleteLoan(key);
        EXPECT_TRUE(deleteError.has_value());
        other.exec(QStringLiteral("ROLLBACK"));
    }
    EXPECT_EQ(fileHash(m_path), before);
    EXPECT_EQ(extras(key).size(), 1u);
}

TEST_F(StoreTest, SaveIntoAReadOnlyFileChangesNothing)
{
    const int key = add(carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("1"))});
    m_store.reset();
    ASSERT_TRUE(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    reopen();
    if (::geteuid() == 0) {
        // File permissions do not bind the superuser: have SQLite refuse writes instead.
        for (const QString& name : QSqlDatabase::connectionNames()) {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (db.databaseName().contains(QLatin1String("Brimvaledb.mdb")))
                QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), db).exec();
        }
    }
    const QByteArray before = fileHash(m_path);
    int mode = 1;
    int sameKey = key;
    const auto error = m_store->saveLoan(mode, sameKey, carLoan(), {});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, 8);  // SQLITE_READONLY
    EXPECT_TRUE(m_store->deleteLoan(key).has_value());
    m_store.reset();
    EXPECT_EQ(fileHash(m_path), before);
}

TEST_F(StoreTest, FailedDeleteKeepsTheExtraPayments)
{
    const int key = add(carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("1"))});
    {
        Raw raw(m_path);
        raw.exec(QStringLiteral("CREATE TRIGGER KeepLoans BEFORE DELETE ON tblLoanDetail BEGIN "
                                "SELECT RAISE(ABORT, 'loans are kept'); END"));
    }
    reopen();
    const QByteArray before = fileHash(m_path);
    const auto error = m_store->deleteLoan(key);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->description.contains(QLatin1String("loans are kept")));
    m_store.reset();
    EXPECT_EQ(fileHash(m_path), before);
    reopen();
    EXPECT_EQ(extras(key).size(), 1u);
}

// The path no longer leads to the opened file: every operation says so instead
// of working on the orphaned file and reporting success.
struct VanishedCase {
    const char* name;
    std::function<void(const QString& path, const QString& spare)> act;
};

class FileVanished : public StoreTest, public ::testing::WithParamInterface<VanishedCase> {};

TEST_P(FileVanished, EveryOperationReportsIt)
{
    const int key = add(carLoan(), {lumpSum(QStringLiteral("3/1/2024"), QStringLiteral("1"))});
    const QString spare = m_dir.filePath(QStringLiteral("spare.mdb"));
    ASSERT_FALSE(createStoreFile(spare, QStringLiteral(BRIMVALE_SCHEMA_PATH)));
    GetParam().act(m_path, spare);
    const QByteArray before = fileHash(m_path);

    int mode = 1;
    int sameKey = key;
    std::vector<std::optional<StoreError>> errors = {m_store->saveLoan(mode, sameKey, carLoan(), {}),
                                                     m_store->deleteLoan(key)};
    auto list = m_store->listLoans();
    errors.push_back(std::holds_alternative<StoreError>(list) ? std::optional(std::get<StoreError>(list)) : std::nullopt);
    auto loan = m_store->readLoan(key);
    errors.push_back(std::holds_alternative<StoreError>(loan) ? std::optional(std::get<StoreError>(loan)) : std::nullopt);
    auto payments = m_store->readExtraPayments(key);
    errors.push_back(std::holds_alternative<StoreError>(payments) ? std::optional(std::get<StoreError>(payments))
                                                                  : std::nullopt);
    for (std::size_t i = 0; i < errors.size(); ++i) {
        ASSERT_TRUE(errors[i].has_value()) << "operation " << i << " reported success";
        EXPECT_EQ(errors[i]->number, 1032);
        EXPECT_TRUE(errors[i]->description.contains(m_path));
    }
    EXPECT_EQ(fileHash(m_path), before);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, FileVanished,
    ::testing::Values(VanishedCase{"removed", [](const QString& path, const QString&) { QFile::remove(path); }},
                      VanishedCase{"replaced",
                                   [](const QString& path, const QString& spare) {
                                       ASSERT_EQ(::rename(qPrintable(spare), qPrintable(path)), 0);
                                   }},
                      VanishedCase{"movedAway",
                                   [](const QString& path, const QString&) {
                                       ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".old")));
                                   }}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------- refusals

struct RefusedCase {
    const char* name;
    std::function<void(const QString& path)> make;
    const char* mentions;
};

class RefusedAtOpen : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedAtOpen, WithAClearText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    GetParam().make(path);
    const bool existed = QFile::exists(path);
    const QByteArray before = fileHash(path);

    auto opened = LoanStore::open(path);
    ASSERT_TRUE(std::holds_alternative<StoreError>(opened));
    const StoreError& error = std::get<StoreError>(opened);
    EXPECT_NE(error.number, 0);
    EXPECT_TRUE(error.description.contains(path)) << error.description.toStdString();
    EXPECT_TRUE(error.description.contains(QString::fromUtf8(GetParam().mentions))) << error.description.toStdString();
    // Never created, never changed.
    EXPECT_EQ(QFile::exists(path), existed);
    EXPECT_EQ(fileHash(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size(), existed ? 1 : 0);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void makeDatabase(const QString& path, const QStringList& statements)
{
    Raw raw(path);
    for (const QString& s : statements) raw.exec(s);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedAtOpen,
    ::testing::Values(
        RefusedCase{"missingFile", [](const QString&) {}, "does not exist"},
        RefusedCase{"folder", [](const QString& p) { QDir().mkpath(p); }, "is not a file"},
        RefusedCase{"emptyFile", [](const QString& p) { writeFile(p, {}); }, "is not a Brimvale database"},
        RefusedCase{"textFile",
                    [](const QString& p) { writeFile(p, QByteArray("Loan,Amount\nCar,1000\n").repeated(200)); },
                    "is not a Brimvale database"},
        RefusedCase{"otherDatabase",
                    [](const QString& p) { makeDatabase(p, {QStringLiteral("CREATE TABLE Notes (Text TEXT)")}); },
                    "tables tblLoanDetail and tblExtraPayments are missing"},
        RefusedCase{"onlyLoanTable",
                    [](const QString& p) {
                        makeDatabase(p, {QStringLiteral("CREATE TABLE tblLoanDetail (SeqNo INTEGER PRIMARY KEY)")});
                    },
                    "tblExtraPayments is missing"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenStore, PathWithUriCharacters)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("a #b?c%20d &e=f"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/Brimvaledb.mdb");
    ASSERT_FALSE(createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_PATH)));
    auto opened = LoanStore::open(path);
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<LoanStore>>(opened))
        << std::get<StoreError>(opened).text().toStdString();
    int mode = 0;
    int key = 0;
    ASSERT_FALSE(std::get<std::unique_ptr<LoanStore>>(opened)->saveLoan(mode, key, carLoan(), {}));
    // Only the one file in that folder was written (no stray "a " file elsewhere).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
}

TEST(CreateStore, NeverOverwrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    writeFile(path, "keep me");
    EXPECT_TRUE(createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_PATH)).has_value());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep me"));
}

TEST(CreateStore, BadSchemaLeavesNoFile)
{
    QTemporaryDir dir;
    const QString schema = dir.filePath(QStringLiteral("bad.sql"));
    writeFile(schema, "CREATE TABLE tblLoanDetail (SeqNo INTEGER);\nCREATE TABLE oops (;\n");
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    EXPECT_TRUE(createStoreFile(path, schema).has_value());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("bad.sql")});
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
