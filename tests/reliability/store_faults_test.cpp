// Saves that fail on real files, from a fault in the file or in what is
// saved. Each must give a clear "number - description" error and leave the
// store file, the window's mode and its key exactly as they were.

#include "LoanStore.h"
#include "StoreFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

class StoreFaults;

struct Fault {
    const char* name;
    void (*inject)(StoreFaults&);
    int mode;                // of the save that must fail: 0 adds, 1 updates the stored loan
    int extraPayments;       // in that save
    const char* thirdStart;  // the third extra payment's start date when not a good one
    bool deleteMustFail;     // a delete needs no new pages, so a full store takes it
    int number;              // of the save's error
    const char* cause;       // what the save's message says in plain words
};

class StoreFaults : public ::testing::TestWithParam<Fault> {
public:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
        makeStore(path);
        store = openStore(path);
        ASSERT_TRUE(store);
        int mode = 0;
        ASSERT_FALSE(saveTexts(*store, mode, key, sampleLoan(QStringLiteral("Car")), samplePayments(3, 100)));
    }
    void TearDown() override
    {
        if (locker.isOpen()) {
            QSqlQuery(QStringLiteral("ROLLBACK"), locker).exec();
            locker.close();
        }
        locker = {};
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<LoanStore> store;
    int key = 0;
    QSqlDatabase locker;
};

void expectClearError(const std::optional<engine::NumberedError>& error)
{
    ASSERT_TRUE(error.has_value()) << "the operation reported success";
    EXPECT_NE(error->number, 0);
    EXPECT_FALSE(QString::fromStdString(error->description).trimmed().isEmpty());
}

TEST_P(StoreFaults, GiveAClearErrorAndLeaveTheFileModeAndKeyAsTheyWere)
{
    const Fault& fault = GetParam();
    fault.inject(*this);
    const QByteArray before = fileBytes(path);
    int mode = fault.mode;
    int k = fault.mode == 0 ? 0 : key;
    const int keyBefore = k;
    auto payments = samplePayments(fault.extraPayments, 250);
    if (fault.thirdStart) payments.at(2).start = QString::fromUtf8(fault.thirdStart);
    const auto error = saveTexts(*store, mode, k, sampleLoan(QStringLiteral("Car, changed")), payments);
    expectClearError(error);
    EXPECT_EQ(error->number, fault.number) << error->text();
    EXPECT_NE(error->description.find(fault.cause), std::string::npos) << error->text();
    EXPECT_EQ(mode, fault.mode);
    EXPECT_EQ(k, keyBefore);
    if (fault.deleteMustFail)
        expectClearError(store->deleteLoan(key));
    EXPECT_EQ(fileBytes(path), before);
    store.reset();  // nothing of the failed save is written when the store is closed either
    EXPECT_EQ(fileBytes(path), before);
}

// Refuses every write: a store opened on a read-only file, or (as file
// permissions do not bind the superuser) SQLite itself.
void refuseWrites(StoreFaults& t)
{
    if (::geteuid() == 0) {
        QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), storeConnection(t.path)).exec();
        return;
    }
    t.store.reset();
    QFile::setPermissions(t.path, QFileDevice::ReadOwner);
    t.store = openStore(t.path);
    ASSERT_TRUE(t.store);
}

// The store has room for one more page: a save fails part-way through its rows.
void fillUp(StoreFaults& t)
{
    QSqlDatabase db = storeConnection(t.path);
    QSqlQuery pages(QStringLiteral("PRAGMA page_count"), db);
    ASSERT_TRUE(pages.next());
    QSqlQuery(QStringLiteral("PRAGMA max_page_count = %1").arg(pages.value(0).toInt() + 1), db).exec();
}

void noFault(StoreFaults&) {}

INSTANTIATE_TEST_SUITE_P(
    Files, StoreFaults,
    ::testing::Values(
        Fault{"write_refused", refuseWrites, 1, 3, nullptr, true, 8,
              "the store file cannot be written: the file or its folder is read-only"},
        Fault{"locked_by_another_connection",
              [](StoreFaults& t) {
                  t.locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
                  t.locker.setDatabaseName(t.path);
                  ASSERT_TRUE(t.locker.open());
                  ASSERT_TRUE(QSqlQuery(t.locker).exec(QStringLiteral("BEGIN EXCLUSIVE")));
              },
              1, 3, nullptr, true, 5, "another program is using the store file"},
        Fault{"full", fillUp, 1, 5000, nullptr, false, 61, "the disk is full"},
        Fault{"full_on_add", fillUp, 0, 5000, nullptr, false, 61, "the disk is full"},
        // The next two stand for a folder the program may not write to (file
        // permissions do not bind the superuser).
        Fault{"journal_cannot_be_created",
              [](StoreFaults& t) {
                  // The journal a change needs beside the file cannot be made.
                  ASSERT_TRUE(QFile::link(t.dir.filePath(QStringLiteral("gone/journal")),
                                          t.path + QStringLiteral("-journal")));
              },
              1, 3, nullptr, true, 14, "the folder that holds it cannot be written"},
        Fault{"journal_cannot_be_read",
              [](StoreFaults& t) { ASSERT_TRUE(QDir().mkdir(t.path + QStringLiteral("-journal"))); }, 1, 3, nullptr,
              true, 266, "the store file or its folder cannot be read or written"},
        Fault{"removed_while_running", [](StoreFaults& t) { ASSERT_TRUE(QFile::remove(t.path)); }, 1, 3, nullptr,
              true, 1032, "is no longer there"},
        Fault{"replaced_while_running",
              [](StoreFaults& t) {
                  const QString other = t.dir.filePath(QStringLiteral("other.mdb"));
                  makeStore(other);
                  ASSERT_EQ(::rename(qPrintable(other), qPrintable(t.path)), 0);
              },
              1, 3, nullptr, true, 1032, "was replaced by another file"},
        // Converted before the store is touched.
        Fault{"unreadable_third_date_on_update", noFault, 1, 3, "someday", false, 13,
              "the start date of extra payment 3 \"someday\" cannot be converted"},
        Fault{"unreadable_third_date_on_add", noFault, 0, 3, "someday", false, 13,
              "the start date of extra payment 3 \"someday\" cannot be converted"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
