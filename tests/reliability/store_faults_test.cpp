// Store faults on real files: a write-refusing store, a store locked by
// another connection, a full database, the file removed or replaced while the
// program runs, and corrupt files at start-up. Each must give a clear error
// in the program's "number - description" form and leave the store exactly as
// before the operation (or exactly as after it).

#include "LoanStore.h"
#include "StoreFixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

class StoreFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("Brimvaledb.mdb"));
        makeStore(m_path);
        m_store = openStore(m_path);
        ASSERT_TRUE(m_store);
        int mode = 0;
        m_key = 0;
        ASSERT_FALSE(m_store->saveLoan(mode, m_key, sampleLoan(QStringLiteral("Car")), samplePayments(3, 100)));
    }

    // Saves a changed version of the loan with many extra payments.
    std::optional<StoreError> saveChanged(int extraPayments = 3)
    {
        int mode = 1;
        int key = m_key;
        return m_store->saveLoan(mode, key, sampleLoan(QStringLiteral("Car, changed")),
                                 samplePayments(extraPayments, 250));
    }

    void expectClearError(const std::optional<StoreError>& error)
    {
        ASSERT_TRUE(error.has_value()) << "the operation reported success";
        EXPECT_NE(error->number, 0);
        EXPECT_FALSE(error->description.trimmed().isEmpty());
        EXPECT_TRUE(error->text().startsWith(QString::number(error->number) + QStringLiteral(" - ")));
    }

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<LoanStore> m_store;
    int m_key = 0;
};

TEST_F(StoreFaults, WriteRefusedLeavesStoreAsBefore)
{
    const QByteArray before = fileBytes(m_path);
    if (::geteuid() == 0) {
        // Root writes through file permissions; refuse writes in SQLite instead.
        QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), storeConnection(m_path)).exec();
    } else {
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
    expectClearError(saveChanged());
    expectClearError(m_store->deleteLoan(m_key));
    EXPECT_EQ(fileBytes(m_path), before);
}

TEST_F(StoreFaults, LockedByAnotherConnectionLeavesStoreAsBefore)
{
    const QByteArray before = fileBytes(m_path);
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        other.setDatabaseName(m_path);
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN EXCLUSIVE"))) << lock.lastError().text().toStdString();

        expectClearError(saveChanged());
        QSqlQuery(QStringLiteral("ROLLBACK"), other).exec();
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    EXPECT_EQ(fileBytes(m_path), before);
    // The store works again once the lock is gone.
    EXPECT_FALSE(saveChanged());
    EXPECT_EQ(readDescription(*m_store, m_key), QStringLiteral("Car, changed"));
}

TEST_F(StoreFaults, FullDatabaseLeavesStoreAsBefore)
{
    const QByteArray before = fileBytes(m_path);
    QSqlDatabase db = storeConnection(m_path);
    QSqlQuery pageCount(QStringLiteral("PRAGMA page_count"), db);
    ASSERT_TRUE(pageCount.next());
    QSqlQuery(QStringLiteral("PRAGMA max_page_count = %1").arg(pageCount.value(0).toInt() + 1), db).exec();

    expectClearError(saveChanged(5000));
    EXPECT_EQ(fileBytes(m_path), before);
    // A small save still fits afterwards.
    EXPECT_FALSE(saveChanged(3));
}

TEST_F(StoreFaults, FileRemovedWhileRunningIsReported)
{
    ASSERT_TRUE(QFile::remove(m_path));
    expectClearError(saveChanged());
    expectClearError(m_store->deleteLoan(m_key));
    auto list = m_store->listLoans();
    EXPECT_TRUE(std::holds_alternative<StoreError>(list));
    // Nothing was written anywhere: the file stays gone.
    EXPECT_FALSE(QFile::exists(m_path));
}

TEST_F(StoreFaults, FileReplacedWhileRunningIsReported)
{
    const QString other = m_dir.filePath(QStringLiteral("other.mdb"));
    makeStore(other);
    const QByteArray replacement = fileBytes(other);
    ASSERT_TRUE(::rename(qPrintable(other), qPrintable(m_path)) == 0);

    expectClearError(saveChanged());
    expectClearError(m_store->deleteLoan(m_key));
    EXPECT_EQ(fileBytes(m_path), replacement);
}

struct CorruptCase {
    const char* name;
    QByteArray (*make)(const QByteArray& goodStore);
};

class CorruptAtStartUp : public ::testing::TestWithParam<CorruptCase> {};

TEST_P(CorruptAtStartUp, IsRefusedWithAClearText)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.mdb"));
    makeStore(good);
    {
        auto store = openStore(good);
        int mode = 0, key = 0;
        ASSERT_FALSE(store->saveLoan(mode, key, sampleLoan(QStringLiteral("Car")), samplePayments(50, 10)));
    }
    const QString bad = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    QFile out(bad);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(GetParam().make(fileBytes(good)));
    out.close();

    auto opened = LoanStore::open(bad);
    ASSERT_TRUE(std::holds_alternative<StoreError>(opened)) << GetParam().name << " was accepted";
    const StoreError& error = std::get<StoreError>(opened);
    EXPECT_FALSE(error.description.trimmed().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, CorruptAtStartUp,
    ::testing::Values(
        CorruptCase{"truncated", [](const QByteArray& good) { return good.left(good.size() / 2 + 100); }},
        CorruptCase{"scrambled pages",
                    [](const QByteArray& good) {
                        QByteArray bad = good;
                        for (qsizetype i = 100; i < bad.size(); i += 7)
                            bad[i] = char(bad[i] ^ 0x5a);
                        return bad;
                    }},
        CorruptCase{"header only", [](const QByteArray& good) { return good.left(100); }},
        CorruptCase{"random bytes", [](const QByteArray&) { return QByteArray(8192, '\x9c'); }}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

}  // namespace
