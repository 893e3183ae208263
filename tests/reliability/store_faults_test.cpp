// Store faults on real files. Each must give a clear "number - description"
// error and leave the store file exactly as it was.

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
    int extraPayments;     // in the save that must fail
    bool deleteMustFail;   // a delete needs no new pages, so a full store takes it
    int number;            // of the save's error
    const char* cause;     // what the save's message says in plain words
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

void expectClearError(const std::optional<StoreError>& error)
{
    ASSERT_TRUE(error.has_value()) << "the operation reported success";
    EXPECT_NE(error->number, 0);
    EXPECT_FALSE(error->description.trimmed().isEmpty());
}

TEST_P(StoreFaults, GiveAClearErrorAndLeaveTheFileAsItWas)
{
    GetParam().inject(*this);
    const QByteArray before = fileBytes(path);
    int mode = 1;
    int k = key;
    const auto error = saveTexts(*store, mode, k, sampleLoan(QStringLiteral("Car, changed")),
                                       samplePayments(GetParam().extraPayments, 250));
    expectClearError(error);
    EXPECT_EQ(error->number, GetParam().number) << error->text().toStdString();
    EXPECT_TRUE(error->description.contains(QString::fromUtf8(GetParam().cause))) << error->text().toStdString();
    EXPECT_EQ(k, key);
    if (GetParam().deleteMustFail)
        expectClearError(store->deleteLoan(key));
    EXPECT_EQ(fileBytes(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StoreFaults,
    ::testing::Values(
        Fault{"write_refused",
              [](StoreFaults& t) {
                  // Root writes through file permissions; then SQLite refuses instead.
                  if (::geteuid() == 0)
                      QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), storeConnection(t.path)).exec();
                  else
                      QFile::setPermissions(t.path, QFileDevice::ReadOwner);
              },
              3, true, 8, "the store file cannot be written: the file or its folder is read-only"},
        Fault{"locked_by_another_connection",
              [](StoreFaults& t) {
                  t.locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
                  t.locker.setDatabaseName(t.path);
                  ASSERT_TRUE(t.locker.open());
                  ASSERT_TRUE(QSqlQuery(t.locker).exec(QStringLiteral("BEGIN EXCLUSIVE")));
              },
              3, true, 5, "another program is using the store file"},
        Fault{"full",
              [](StoreFaults& t) {
                  QSqlDatabase db = storeConnection(t.path);
                  QSqlQuery pages(QStringLiteral("PRAGMA page_count"), db);
                  ASSERT_TRUE(pages.next());
                  QSqlQuery(QStringLiteral("PRAGMA max_page_count = %1").arg(pages.value(0).toInt() + 1), db)
                      .exec();
              },
              5000, false, 61, "the disk is full"},
        // The next two stand for a folder the program may not write to (file
        // permissions do not bind the superuser).
        Fault{"journal_cannot_be_created",
              [](StoreFaults& t) {
                  // The journal a change needs beside the file cannot be made.
                  ASSERT_TRUE(QFile::link(t.dir.filePath(QStringLiteral("gone/journal")),
                                          t.path + QStringLiteral("-journal")));
              },
              3, true, 14, "the folder that holds it cannot be written"},
        Fault{"journal_cannot_be_read",
              [](StoreFaults& t) { ASSERT_TRUE(QDir().mkdir(t.path + QStringLiteral("-journal"))); },
              3, true, 266, "the store file or its folder cannot be read or written"},
        Fault{"removed_while_running", [](StoreFaults& t) { ASSERT_TRUE(QFile::remove(t.path)); }, 3, true, 1032,
              "is no longer there"},
        Fault{"replaced_while_running",
              [](StoreFaults& t) {
                  const QString other = t.dir.filePath(QStringLiteral("other.mdb"));
                  makeStore(other);
                  ASSERT_EQ(::rename(qPrintable(other), qPrintable(t.path)), 0);
              },
              3, true, 1032, "was replaced by another file"}),
    [](const auto& info) { return std::string(info.param.name); });

using Corrupt = QByteArray (*)(const QByteArray& goodStore);
class CorruptAtStartUp : public ::testing::TestWithParam<Corrupt> {};

TEST_P(CorruptAtStartUp, IsRefusedWithAClearText)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.mdb"));
    makeStore(good);
    {
        auto store = openStore(good);
        int mode = 0, key = 0;
        ASSERT_FALSE(saveTexts(*store, mode, key, sampleLoan(QStringLiteral("Car")), samplePayments(50, 10)));
    }
    const QString bad = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    QFile out(bad);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(GetParam()(fileBytes(good)));
    out.close();

    auto opened = LoanStore::open(bad);
    ASSERT_TRUE(std::holds_alternative<StoreError>(opened));
    EXPECT_FALSE(std::get<StoreError>(opened).description.trimmed().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Files, CorruptAtStartUp,
                         ::testing::Values(
                             [](const QByteArray& good) { return good.left(good.size() / 2 + 100); },
                             [](const QByteArray& good) {
                                 QByteArray bad = good;
                                 for (qsizetype i = 100; i < bad.size(); i += 7)
                                     bad[i] = char(bad[i] ^ 0x5a);
                                 return bad;
                             },
                             [](const QByteArray& good) { return good.left(100); },
                             [](const QByteArray&) { return QByteArray(8192, '\x9c'); }));

}  // namespace
