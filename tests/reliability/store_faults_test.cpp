// Saves that fail on real files, from a fault in the file or around it. Each
// must give a clear "number - description" error and leave the store file,
// the window's mode and its key exactly as they were.
#include "LoanStore.h"
#include "Loans.h"
#include "RawStore.h"
#include "TestStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSqlQuery>

#include <unistd.h>

namespace {

// The connection the program's store holds, for faults inside SQLite.
QSqlDatabase programsConnection()
{
    for (const QString& name : QSqlDatabase::connectionNames())
        if (name.startsWith(QLatin1String("brimvale-store-"))) return QSqlDatabase::database(name, false);
    return {};
}

class StoreFaults;

struct Fault {
    const char* name;
    void (*inject)(StoreFaults&);
    int mode;              // of the save that must fail: 0 adds, 1 updates the stored loan
    int extraPayments;     // in that save
    bool deleteMustFail;   // a delete needs no new pages, so a full store takes it
    int number;            // of the save's error
    const char* cause;     // what the save's message says in plain words
};

class StoreFaults : public ::testing::TestWithParam<Fault> {
public:
    void SetUp() override
    {
        int mode = 0;
        ASSERT_FALSE(store->saveLoan(mode, key, typedLoan(SampleLoan{"Car"}), {payments(3), {}, {}}));
    }
    void TearDown() override
    {
        if (locker.isOpen()) QSqlQuery(QStringLiteral("ROLLBACK"), locker).exec();
        locker = {};
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    }
    static std::vector<ExtraPaymentRow> payments(int count)
    {
        return std::vector<ExtraPaymentRow>(count, {engine::ExtraPaymentKind::LumpSum, QDate(2024, 2, 1), {}, 250});
    }

    TestStore store;
    int key = 0;
    QSqlDatabase locker;
};

TEST_P(StoreFaults, GiveAClearErrorAndLeaveTheFileModeAndKeyAsTheyWere)
{
    const Fault& fault = GetParam();
    fault.inject(*this);
    const QByteArray before = rawBytes(store.path());
    int mode = fault.mode;
    int k = fault.mode == 0 ? 0 : key;
    const auto error = store->saveLoan(mode, k, typedLoan(SampleLoan{"Car, changed"}), {payments(fault.extraPayments), {}, {}});
    ASSERT_TRUE(error) << "the save reported success";
    EXPECT_EQ(error->number, fault.number) << error->text();
    EXPECT_NE(error->description.find(fault.cause), std::string::npos) << error->text();
    EXPECT_EQ(mode, fault.mode);
    EXPECT_EQ(k, fault.mode == 0 ? 0 : key);
    if (fault.deleteMustFail) {
        EXPECT_TRUE(store->deleteLoan(key));
    }
    EXPECT_EQ(rawBytes(store.path()), before);
    store.close();  // nothing of the failed save is written when the store is closed either
    EXPECT_EQ(rawBytes(store.path()), before);
}

// Refuses every write: a store opened on a read-only file, or (as file
// permissions do not bind the superuser) SQLite itself.
void refuseWrites(StoreFaults& t)
{
    if (::geteuid() == 0) {
        QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), programsConnection()).exec();
        return;
    }
    t.store.close();
    QFile::setPermissions(t.store.path(), QFileDevice::ReadOwner);
    t.store.reopen();
}

// Room for one more page: the save fails part-way through its rows.
void fillUp(StoreFaults&)
{
    QSqlQuery pages(QStringLiteral("PRAGMA page_count"), programsConnection());
    ASSERT_TRUE(pages.next());
    QSqlQuery(QStringLiteral("PRAGMA max_page_count = %1").arg(pages.value(0).toInt() + 1), programsConnection()).exec();
}

INSTANTIATE_TEST_SUITE_P(
    Files, StoreFaults,
    ::testing::Values(
        Fault{"write_refused", refuseWrites, 1, 3, true, 8,
              "the store file cannot be written: the file or its folder is read-only"},
        Fault{"locked_by_another_connection",
              [](StoreFaults& t) {
                  t.locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
                  t.locker.setDatabaseName(t.store.path());
                  ASSERT_TRUE(t.locker.open() && QSqlQuery(t.locker).exec(QStringLiteral("BEGIN EXCLUSIVE")));
              },
              1, 3, true, 5, "another program is using the store file"},
        Fault{"full", fillUp, 1, 5000, false, 61, "the disk is full"},
        Fault{"full_on_add", fillUp, 0, 5000, false, 61, "the disk is full"},
        // The next two stand for a folder the program may not write to (file
        // permissions do not bind the superuser).
        Fault{"journal_cannot_be_created",
              [](StoreFaults& t) {
                  ASSERT_TRUE(QFile::link(t.store.folder() + QStringLiteral("/gone/journal"),
                                          t.store.path() + QStringLiteral("-journal")));
              },
              1, 3, true, 14, "the folder that holds it cannot be written"},
        Fault{"journal_cannot_be_read",
              [](StoreFaults& t) { ASSERT_TRUE(QDir().mkdir(t.store.path() + QStringLiteral("-journal"))); }, 1, 3,
              true, 266, "the store file or its folder cannot be read or written"},
        Fault{"removed_while_running", [](StoreFaults& t) { ASSERT_TRUE(QFile::remove(t.store.path())); }, 1, 3, true,
              1032, "is no longer there"},
        Fault{"replaced_while_running",
              [](StoreFaults& t) {
                  const QString other = t.store.folder() + QStringLiteral("/other.mdb");
                  ASSERT_TRUE(QFile::copy(t.store.path(), other));
                  ASSERT_EQ(::rename(qPrintable(other), qPrintable(t.store.path())), 0);
              },
              1, 3, true, 1032, "was replaced by another file"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
