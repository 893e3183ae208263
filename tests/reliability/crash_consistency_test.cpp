// A child process saves loans with many extra payments in a loop and is
// killed with SIGKILL at random moments. After every kill the file must pass
// SQLite's integrity check and every loan must be one whole version: its
// description and all of its extra payments from the same save, never older
// than a version seen before.
//
// BRIMVALE_CRASH_KILLS sets the number of kills (default 150) for longer runs
// by hand.

#include "ErrorText.h"
#include "LoanStore.h"
#include "LocaleText.h"
#include "StoreFixture.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <map>
#include <random>

namespace {

constexpr int kLoans = 3;
constexpr int kExtraPayments = 40;

int killCount()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("BRIMVALE_CRASH_KILLS", &ok);
    return ok && n > 0 ? n : 150;
}

QString integrityCheck(const QString& path)
{
    const QString name = QStringLiteral("integrity");
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            return QStringLiteral("cannot open");
        QSqlQuery query(QStringLiteral("PRAGMA integrity_check"), db);
        result = query.next() ? query.value(0).toString() : QStringLiteral("no answer");
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

// The version a loan holds, or -1 when its parts disagree.
int wholeVersion(const LoanStore& store, int key, QString& why)
{
    auto record = store.readLoan(key);
    if (auto* error = std::get_if<engine::NumberedError>(&record)) {
        why = errorText(*error);
        return -1;
    }
    const QString description = std::get<LoanRecord>(record).description.value_or(QString());
    const int version = description.mid(1).toInt();
    const auto extras = store.readExtraPayments(key);
    if (extras.error) {
        why = errorText(*extras.error);
        return -1;
    }
    const auto& rows = extras.rows;
    if (rows.size() != size_t(kExtraPayments)) {
        why = QStringLiteral("%1 holds %2 extra payments").arg(description).arg(rows.size());
        return -1;
    }
    const QString amount = LocaleText::regionalCurrencyText(version);
    for (const auto& row : rows) {
        const QString shown = row.amount ? extraPaymentAmountText(*row.amount) : QString();
        if (shown != amount) {
            why = QStringLiteral("%1 has an extra payment of %2").arg(description, shown);
            return -1;
        }
    }
    return version;
}

TEST(CrashConsistency, EveryLoanIsAWholeVersionAfterEachKill)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    makeStore(path);

    int firstKey = 0;
    {
        auto store = openStore(path);
        ASSERT_TRUE(store);
        for (int i = 0; i < kLoans; ++i) {
            int mode = 0, key = 0;
            LoanSaveTexts loan = sampleLoan(QStringLiteral("v0"));
            ASSERT_FALSE(saveTexts(*store, mode, key, loan, samplePayments(kExtraPayments, 0)));
            if (i == 0)
                firstKey = key;
        }
    }

    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> delayMs(0, 60);
    std::map<int, int> lastSeen;
    int nextVersion = 1;
    const int kills = killCount();
    for (int round = 0; round < kills; ++round) {
        QProcess child;
        child.start(QStringLiteral(CRASH_SAVER_PATH),
                    {path, QString::number(firstKey), QString::number(kLoans),
                     QString::number(kExtraPayments), QString::number(nextVersion)});
        ASSERT_TRUE(child.waitForStarted(10000));
        ASSERT_TRUE(child.waitForReadyRead(10000)) << child.readAllStandardError().toStdString();
        QThread::msleep(delayMs(random));
        ::kill(pid_t(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit)
            << "the saver stopped by itself: " << child.readAllStandardError().toStdString();

        ASSERT_EQ(integrityCheck(path), QStringLiteral("ok")) << "after kill " << round;
        auto store = openStore(path);
        ASSERT_TRUE(store);
        for (int key = firstKey; key < firstKey + kLoans; ++key) {
            QString why;
            const int version = wholeVersion(*store, key, why);
            ASSERT_GE(version, 0) << "loan " << key << " after kill " << round << ": " << why.toStdString();
            ASSERT_GE(version, lastSeen[key]) << "loan " << key << " went back to an older version";
            lastSeen[key] = version;
            nextVersion = std::max(nextVersion, version + 1);
        }
    }
    // The saver must actually have been interrupted while saving, many times.
    EXPECT_GT(nextVersion, kills / 10) << "the saver hardly saved anything before the kills";
    std::printf("%d kills survived; %d versions saved\n", kills, nextVersion - 1);
}

}  // namespace
