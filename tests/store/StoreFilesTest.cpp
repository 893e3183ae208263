// Store files as other programs leave them. The program's own layouts open
// however another tool made, repaired or upgraded them; anything more is
// refused at open, naming what was found, and the file is left as it was.
#include "ErrorText.h"
#include "LoanStore.h"
#include "Loans.h"
#include "RawStore.h"
#include "TestStore.h"

#include <gtest/gtest.h>

#include <functional>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

#define NEEDS_SQLITE3()                                                       \
    if (!QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty()) { \
    } else                                                                    \
        GTEST_SKIP() << "the sqlite3 program is missing; scripts/setup test installs it"

using Mode = engine::RateChangeMode;
const std::vector<ExtraPaymentRow> kLumpSum{{engine::ExtraPaymentKind::LumpSum, QDate(2026, 1, 15), {}, 5000}};
const std::vector<RateChangeRow> kRateChange{{QDate(2027, 1, 15), 7.25, Mode::NewPayment}};

// The error opening `path` gives, as the user reads it; empty when it opens.
QString refusal(const QString& path)
{
    auto opened = LoanStore::open(path);
    const auto* error = std::get_if<engine::NumberedError>(&opened);
    return error ? errorText(*error) : QString();
}

int save(LoanStore& store, const Loan& loan, const std::vector<RateChangeRow>& rates = kRateChange, int key = 0)
{
    int mode = key ? 1 : 0;
    const auto error = store.saveLoan(mode, key, loan, {kLumpSum, rates, {}});
    EXPECT_FALSE(error) << error->text();
    return key;
}

QByteArray fingerprint(const LoanStore& store, int key)
{
    return LoanStore::loanFingerprint(std::get<LoanRecord>(store.readLoan(key)).fingerprint,
                                      store.readExtraPayments(key).fingerprint, store.readRateChanges(key).fingerprint,
                                      store.readSkippedPayments(key).fingerprint);
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// The program's store holding a loan with 50 extra payments, its bytes then
// changed by `damage`.
void damaged(const QString& path, QByteArray (*damage)(QByteArray))
{
    ASSERT_FALSE(createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)));
    {
        auto opened = LoanStore::open(path);
        int mode = 0, key = 0;
        ASSERT_FALSE(std::get<std::unique_ptr<LoanStore>>(opened)->saveLoan(
            mode, key, typedLoan(SampleLoan{}), {std::vector<ExtraPaymentRow>(50, kLumpSum[0]), {}, {}}));
    }
    write(path, damage(rawBytes(path)));
}

// Refused with a text naming the file (a name in other scripts kept as it
// is), and left as it was: never made into a store.
TEST(StoreFiles, WhatIsNotAStoreIsRefusedAndLeftAsItWas)
{
    const struct {
        const char* name;
        void (*make)(const QString&);
        const char* refusal;
    } cases[] = {
        {"missing", [](const QString&) {}, "does not exist"},
        {"a folder", [](const QString& p) { QDir().mkpath(p); }, "is not a file"},
        {"empty", [](const QString& p) { write(p, {}); }, "is not a Brimvale database: the file is empty (0 bytes)"},
        {"text", [](const QString& p) { write(p, QByteArray("Loan,Amount\nCar,1000\n").repeated(200)); },
         "is not a Brimvale database: the file is not a database"},
        {"no tables of its own", [](const QString& p) { rawSql(p, "CREATE TABLE Notes (Text TEXT)"); },
         "the tables tblLoanDetail and tblExtraPayments are missing"},
        {"its journal unreadable",
         [](const QString& p) {
             ASSERT_FALSE(createStoreFile(p, QStringLiteral(BRIMVALE_SCHEMA_FILE)));
             QDir().mkdir(p + QStringLiteral("-journal"));
         },
         "cannot be read: the store file or its folder cannot be read or written"},
        {"its header only", [](const QString& p) { damaged(p, [](QByteArray b) { return b.left(100); }); },
         "is not a Brimvale database: the store file is damaged"},
        // Found only by SQLite's check of the whole file: the schema reads well.
        {"a leaf page damaged",
         [](const QString& p) {
             damaged(p, [](QByteArray b) { return b.replace(b.size() - 4096, 8, QByteArray(8, '\xff')); });
         },
         "is not opened: the store file is damaged (SQLite's check found: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromUtf8("Brimvaledb \xc3\xbc\xe2\x82\xac\xe8\xb2\xb8.mdb"));
        c.make(path);
        const bool existed = QFile::exists(path);
        const QByteArray before = rawBytes(path);
        const QString message = refusal(path);
        EXPECT_TRUE(message.contains(path) && message.contains(QLatin1String(c.refusal))) << message.toStdString();
        EXPECT_EQ(QFile::exists(path), existed);
        EXPECT_EQ(rawBytes(path), before);
    }
}

// The program's schema with `replace` replaced by `with` (or `with` added),
// made into a store holding one loan by the sqlite3 program. A known layout
// opens whatever version the store records (a .dump copy loses it).
struct Hostile {
    const char* name;
    const char* replace;
    const char* with;
    const char* named;  // in the refusal
};

TEST(StoreFiles, MoreThanTheProgramsOwnLayoutIsRefusedNamingWhatWasFound)
{
    NEEDS_SQLITE3();
    const Hostile cases[] = {
        {"trigger", "", "CREATE TRIGGER wipe AFTER UPDATE ON tblLoanDetail BEGIN DELETE FROM tblLoanDetail; END;",
         "the trigger \"wipe\" on \"tblLoanDetail\""},
        {"view", "", "CREATE VIEW Loans AS SELECT * FROM tblLoanDetail;", "the view \"Loans\""},
        {"another table", "", "CREATE TABLE Audit (Text TEXT);", "the table \"Audit\""},
        {"another index", "", "CREATE UNIQUE INDEX oneEach ON tblLoanDetail (Description);", "the UNIQUE index \"oneEach\""},
        {"CHECK", "Payment REAL", "Payment REAL CHECK (Payment > 0)", "tblLoanDetail has a CHECK constraint"},
        {"UNIQUE", "Description TEXT", "Description TEXT UNIQUE", "a UNIQUE constraint"},
        {"NOT NULL", "Description TEXT", "Description TEXT NOT NULL", "has the column \"Description\" TEXT NOT NULL"},
        {"conflict clause", "KEY AUTOINCREMENT", "KEY ON CONFLICT REPLACE AUTOINCREMENT", "a conflict clause"},
        {"default", "    Amount REAL,", "    Amount REAL DEFAULT 0,", "has the column \"Amount\" REAL DEFAULT 0"},
        {"foreign key", "Loan_FK INTEGER", "Loan_FK INTEGER REFERENCES tblLoanDetail", "a foreign key (Loan_FK to tblLoanDetail)"},
        {"foreign-key action", "Loan_FK INTEGER", "Loan_FK INTEGER REFERENCES tblLoanDetail ON DELETE CASCADE",
         "ON DELETE CASCADE"},
        {"generated column", "    Amount REAL,", "    Amount REAL, Twice REAL AS (Amount * 2),", "has the column \"Twice\" REAL GENERATED"},
        {"collation", "Description TEXT", "Description TEXT COLLATE NOCASE", "has the column \"Description\" TEXT COLLATE NOCASE"},
        {"key not INTEGER", "INTEGER PRIMARY KEY AUTOINCREMENT", "INT PRIMARY KEY", "\"SeqNo\" INT PRIMARY KEY"},
        {"key descending", "KEY AUTOINCREMENT", "KEY DESC", "a PRIMARY KEY apart from its rowid on (\"SeqNo\" DESC)"},
        {"WITHOUT ROWID", "the loan\n)", "the loan\n, PRIMARY KEY (Loan_FK, StartDate)) WITHOUT ROWID",
         "no rowid (WITHOUT ROWID)"},
        {"no AUTOINCREMENT", "KEY AUTOINCREMENT", "KEY", "lacks the column \"SeqNo\" INTEGER PRIMARY KEY AUTOINCREMENT"},
        {"column missing", "    Frequency INTEGER,\n", "", "the table tblLoanDetail lacks the column \"Frequency\""},
        {"index missing", "CREATE INDEX idxRateChangesLoan ON tblRateChanges (Loan_FK);", "",
         "lacks the index \"idxRateChangesLoan\""},
        // A layout of no known version: what the store records of itself says why.
        {"newer version", "PRAGMA user_version = 2", "ALTER TABLE tblLoanDetail ADD Extra REAL; PRAGMA user_version = 3",
         "was made by a newer version of Brimvale (store version 3; this program knows versions up to 2)"},
        {"unknown version", "PRAGMA user_version = 2", "ALTER TABLE tblLoanDetail ADD Extra REAL; PRAGMA user_version = -1",
         "is not opened: store version -1 is not one this program knows"},
    };
    for (const Hostile& h : cases) {
        SCOPED_TRACE(h.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
        QFile file(QStringLiteral(BRIMVALE_SCHEMA_FILE));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString schema = QString::fromUtf8(file.readAll());
        ASSERT_TRUE(schema.contains(QLatin1String(h.replace)));
        if (*h.replace) schema.replace(schema.indexOf(QLatin1String(h.replace)), qstrlen(h.replace), h.with);
        else schema += QLatin1String(h.with);
        ASSERT_EQ(sqlite3Program(path, schema + QStringLiteral("INSERT INTO tblLoanDetail (Description, StartDate) "
                                                               "VALUES ('Car', '2024-01-15');"))
                      .toStdString(),
                  "");
        const QByteArray before = rawBytes(path);
        const QString message = refusal(path);
        EXPECT_TRUE(message.startsWith(QStringLiteral("26 - The store %1 ").arg(path))) << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String(h.named))) << message.toStdString();
        EXPECT_EQ(rawBytes(path), before);
    }
}

// `.dump` of the store run into a new file, as `sqlite3 old.mdb .dump |
// sqlite3 new.mdb` does, after `first`.
void dumped(const QString& path, const QString& first)
{
    const QString dump = sqlite3Program(path, QStringLiteral(".dump\n"));
    ASSERT_FALSE(dump.startsWith(QLatin1String("error:"))) << dump.toStdString();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(sqlite3Program(path, first + dump).toStdString(), "");
}

TEST(StoreFiles, TheProgramsOwnLayoutOpensHoweverAnotherToolLeftIt)
{
    NEEDS_SQLITE3();
    const struct {
        const char* name;
        std::function<void(const QString&)> change;
    } cases[] = {
        {"copied with .dump into a new file", [](const QString& path) { dumped(path, {}); }},
        {"dumped into a UTF-16 file",
         [](const QString& path) { dumped(path, QStringLiteral("PRAGMA encoding = 'UTF-16le';\n")); }},
        {"after VACUUM", [](const QString& path) { ASSERT_EQ(sqlite3Program(path, "VACUUM;"), QString()); }},
        {"after ANALYZE",
         [](const QString& path) {
             ASSERT_EQ(sqlite3Program(path, "ANALYZE; SELECT count(*) > 0 FROM sqlite_stat1;"), QString("1\n"));
         }},
        {"recording an unknown version", [](const QString& path) { rawSql(path, "PRAGMA user_version = -1"); }},
        {"a table recreated with quoted names and other spacing",
         [](const QString& path) {
             ASSERT_EQ(sqlite3Program(path, "ALTER TABLE tblExtraPayments RENAME TO old;\n"
                                            "CREATE TABLE \"tblExtraPayments\" ( [loan_fk] INTEGER , `PaymentType` "
                                            "integer , StartDate TEXT , EndDate   TEXT , Amount REAL , Effect int"
                                            "eger) ;\n"
                                            "INSERT INTO tblExtraPayments SELECT * FROM old; DROP TABLE old;\n"
                                            "create index \"idxExtraPaymentsLoan\" on [tblExtraPayments](LOAN_FK);")
                          .toStdString(),
                      "");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestStore store;
        int key = save(*store, typedLoan(SampleLoan{}));
        store.close();
        c.change(store.path());
        ASSERT_EQ(refusal(store.path()).toStdString(), "");
        store.reopen();
        const QByteArray asRead = fingerprint(*store, key);
        EXPECT_EQ(store->readExtraPayments(key).rows.size(), size_t(1));
        EXPECT_EQ(store->readRateChanges(key).rows.size(), size_t(1));
        SaveCheck check;
        check.expected = asRead;
        int mode = 1;
        EXPECT_FALSE(store->saveLoan(mode, key, typedLoan(SampleLoan{"Saved again"}), {kLumpSum, kRateChange, {}}, &check));
        EXPECT_EQ(rawSql(store.path(), "PRAGMA user_version"), QStringList{"2"});  // recorded again
    }
}

// A store made by the version before rate changes (tests/data, made from that
// version's schema with the sqlite3 shell: loans 1, 3 and 4, extra payments
// on two). A save upgrades it only when the loan needs the new layout, in the
// save's own transaction; a loan read before keeps its fingerprint.
TEST(StoreVersions, VersionZeroIsUpgradedOnlyWhenASaveNeedsIt)
{
    const struct {
        const char* name;
        std::vector<RateChangeRow> rates;
        CalculateChoice choice;
        bool upgraded;
    } cases[] = {
        {"plain loan", {}, CalculateChoice::Payment, false},
        {"loan amount derived", {}, CalculateChoice::LoanAmount, true},
        {"two rate changes", {kRateChange[0], {QDate(2035, 2, 1), 5, Mode::SamePayment}}, CalculateChoice::Payment, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestStore store;
        store.copyFrom(QStringLiteral(BRIMVALE_TEST_DATA_DIR "/Brimvaledb-version0.mdb"));
        const QByteArray house = fingerprint(*store, 1);
        Loan loan = typedLoan(SampleLoan{"Saved"});
        loan.choice = c.choice;
        loan.paymentAmount = 599.55;
        save(*store, loan, c.rates, 3);
        EXPECT_EQ(rawSql(store.path(), "SELECT count(*) FROM sqlite_master WHERE name = 'tblRateChanges'"),
                  QStringList{c.upgraded ? "1" : "0"});
        EXPECT_EQ(rawSql(store.path(), "PRAGMA user_version"), QStringList{c.upgraded ? "1" : "0"});
        EXPECT_EQ(fingerprint(*store, 1), house);

        store.reopen();  // the program's own ALTER TABLE texts read as the newest layout
        const LoanRecord saved = std::get<LoanRecord>(store->readLoan(3));
        EXPECT_EQ(saved.calculate, int(c.choice));
        EXPECT_EQ(saved.payment, c.upgraded && c.rates.empty() ? std::optional(599.55) : std::nullopt);
        std::vector<RateChangeRow> rates;
        for (const RateChangeRecord& r : store->readRateChanges(3).rows)
            rates.push_back({*r.from, *r.annualPercent, Mode(*r.mode)});
        EXPECT_EQ(rates, c.rates);
        EXPECT_EQ(store->listLoans().loans.size(), size_t(3));
        EXPECT_EQ(store->readExtraPayments(1).rows.size(), size_t(2));
    }
}

// A store of version 1 (tests/data, made from that version's schema with the
// sqlite3 shell: a plain loan with two extra payments, a loan whose amount is
// found from its payment, a loan with two rate changes) keeps every loan, and
// gains version 2 only in the save of a loan that holds what it adds.
TEST(StoreVersions, VersionOneGainsVersionTwoOnlyWhenASaveNeedsIt)
{
    using engine::ExtraPaymentThen;
    const struct {
        const char* name;
        std::function<void(Loan&, LoanRows&)> change;
        bool upgraded;
    } cases[] = {
        {"plain loan", [](Loan&, LoanRows&) {}, false},
        {"fees", [](Loan& loan, LoanRows&) { loan.fees = 500; }, true},
        {"compounded semi-annually", [](Loan& loan, LoanRows&) { loan.compounding = engine::Compounding::SemiAnnually; },
         true},
        {"accelerated bi-weekly",
         [](Loan& loan, LoanRows&) { loan.frequency = engine::PaymentFrequency::AcceleratedBiWeekly; }, true},
        {"a balloon", [](Loan& loan, LoanRows&) { loan.balloonAfter = 84; }, true},
        {"an extra payment that lowers the payment",
         [](Loan&, LoanRows& rows) { rows.extraPayments[0].then = ExtraPaymentThen::LowerThePayment; }, true},
        {"a skip", [](Loan&, LoanRows& rows) { rows.skippedPayments.push_back({QDate(2026, 1, 1), 3, Mode::SamePayment}); },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestStore store;
        store.copyFrom(QStringLiteral(BRIMVALE_TEST_DATA_DIR "/Brimvaledb-version1.mdb"));
        EXPECT_EQ(store->listLoans().loans.size(), size_t(3));
        EXPECT_EQ(store->readRateChanges(3).rows.size(), size_t(2));
        const QByteArray house = fingerprint(*store, 1);
        Loan loan = typedLoan(SampleLoan{"Saved"});
        LoanRows rows{kLumpSum, {}, {}};
        c.change(loan, rows);
        int mode = 1, key = 2;
        ASSERT_FALSE(store->saveLoan(mode, key, loan, rows));
        EXPECT_EQ(rawSql(store.path(), "PRAGMA user_version"), QStringList{c.upgraded ? "2" : "1"});
        EXPECT_EQ(fingerprint(*store, 1), house);
        store.reopen();
        const LoanRecord saved = std::get<LoanRecord>(store->readLoan(2));
        EXPECT_EQ(saved.fees.value_or(0), loan.fees);
        EXPECT_EQ(saved.balloonAfter.value_or(0), loan.balloonAfter);
        EXPECT_EQ(saved.frequency, listPosition(loan.frequency));
        EXPECT_EQ(saved.compounding.value_or(0), int(loan.compounding));
        EXPECT_EQ(store->readExtraPayments(2).rows.at(0).then, int(rows.extraPayments[0].then));
        EXPECT_EQ(store->readSkippedPayments(2).rows.size(), rows.skippedPayments.size());
        EXPECT_EQ(store->readRateChanges(3).rows.size(), size_t(2));
    }
}

// Another program (a second Brimvale) changes the store's layout while this
// one has it open: the next save sees the layout as it is now.
TEST(StoreVersions, ALayoutChangedByAnotherProgramIsCheckedAgainBeforeTheNextSave)
{
    TestStore store;
    store.copyFrom(QStringLiteral(BRIMVALE_TEST_DATA_DIR "/Brimvaledb-version0.mdb"));
    {
        auto other = LoanStore::open(store.path());
        save(*std::get<std::unique_ptr<LoanStore>>(other), typedLoan(SampleLoan{"Theirs"}), kRateChange, 4);
    }
    save(*store, typedLoan(SampleLoan{"Mine"}), kRateChange, 3);  // no second upgrade
    EXPECT_EQ(store->readRateChanges(4).rows.size(), size_t(1));

    ASSERT_EQ(rawSql(store.path(), "CREATE TRIGGER wipe AFTER UPDATE ON tblLoanDetail BEGIN DELETE FROM "
                                   "tblExtraPayments; END"),
              QStringList());
    const QByteArray before = rawBytes(store.path());
    int mode = 1, key = 3;
    const auto error = store->saveLoan(mode, key, typedLoan(SampleLoan{"Mine"}), {kLumpSum, {}, {}});
    ASSERT_TRUE(error);
    EXPECT_TRUE(errorText(*error).contains(QLatin1String("the trigger \"wipe\""))) << error->text();
    EXPECT_EQ(rawBytes(store.path()), before);
}

// An index that no longer agrees with its table passes SQLite's quick_check:
// a save would then delete the extra payments the index names, another
// loan's. The index of the payments is frozen (made partial), the second
// payment moved to another loan in the table alone, and the index restored.
TEST(StoreFiles, AnIndexThatDisagreesWithItsTableIsRefusedAtOpen)
{
    NEEDS_SQLITE3();
    TestStore store;
    int mode = 0, key = 0;
    ASSERT_FALSE(store->saveLoan(mode, key, typedLoan(SampleLoan{}), {{kLumpSum[0], kLumpSum[0]}, {}, {}}));
    const int other = save(*store, typedLoan(SampleLoan{"Other"}), {});
    store.close();
    const QString index = QStringLiteral("PRAGMA writable_schema = ON;\nUPDATE sqlite_master SET sql = %1 WHERE "
                                         "name = 'idxExtraPaymentsLoan';\n");
    ASSERT_EQ(sqlite3Program(store.path(), index.arg("sql || ' WHERE 0'")), QString());
    ASSERT_EQ(sqlite3Program(store.path(), QStringLiteral("UPDATE tblExtraPayments SET Loan_FK = %1 WHERE rowid = 2;")
                                               .arg(other)),
              QString());
    ASSERT_EQ(sqlite3Program(store.path(), index.arg("replace(sql, ' WHERE 0', '')")), QString());
    EXPECT_TRUE(refusal(store.path()).contains(QLatin1String("is not opened: the store file is damaged")))
        << refusal(store.path()).toStdString();
}

// A backup copies the .mdb file alone: in WAL mode each save ends with a
// checkpoint, so the copy holds the loan.
TEST(StoreFiles, InWalModeTheStoreFileAloneHoldsEverySavedLoan)
{
    TestStore store;
    store.close();
    ASSERT_EQ(rawSql(store.path(), "PRAGMA journal_mode = WAL"), QStringList{"wal"});
    store.reopen();
    save(*store, typedLoan(SampleLoan{"Saved"}));
    const QString copy = store.folder() + QStringLiteral("/copy.mdb");
    ASSERT_TRUE(QFile::copy(store.path(), copy));
    EXPECT_EQ(rawSql(copy, "SELECT Description FROM tblLoanDetail"), QStringList{"Saved"});
}

}  // namespace
