// A child process saves loans with many extra payments in a loop and is
// killed with SIGKILL at random moments. After every kill the store must open
// (its integrity checked) and every loan must be one whole version: its
// description, all of its extra payments and its rate change from the same
// save, never older than a version seen before.
//
// BRIMVALE_CRASH_KILLS sets the number of kills (default 150) for longer runs
// by hand.
#include "CrashLoans.h"
#include "TestStore.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>

#include <csignal>
#include <map>
#include <random>

namespace {

constexpr int kLoans = 3;
constexpr int kExtraPayments = 40;

// The version a loan holds, or -1 (and why) when its parts disagree.
int wholeVersion(const LoanStore& store, int key, std::string& why)
{
    const auto record = store.readLoan(key);
    if (auto* error = std::get_if<engine::NumberedError>(&record)) {
        why = error->text();
        return -1;
    }
    const int version = std::get<LoanRecord>(record).description.value_or(QString()).mid(1).toInt();
    const ExtraPaymentList extras = store.readExtraPayments(key);
    const RateChangeList rates = store.readRateChanges(key);
    const auto isVersion = [version](const std::optional<double>& value) { return value == double(version); };
    if (extras.error || rates.error || extras.rows.size() != size_t(kExtraPayments) || rates.rows.size() != 1 ||
        !isVersion(rates.rows[0].annualPercent) ||
        !std::all_of(extras.rows.begin(), extras.rows.end(), [&](const auto& row) { return isVersion(row.amount); })) {
        why = "v" + std::to_string(version) + " holds parts of other versions";
        return -1;
    }
    return version;
}

TEST(CrashConsistency, EveryLoanIsAWholeVersionAfterEachKill)
{
    TestStore store;
    int firstKey = 0;
    for (int i = 0; i < kLoans; ++i) {
        int mode = 0, key = 0;
        ASSERT_FALSE(store->saveLoan(mode, key, crashLoan(0), {crashExtraPayments(0, kExtraPayments), crashRateChanges(0), {}}));
        if (i == 0) firstKey = key;
    }
    store.close();

    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> delayMs(0, 60);
    std::map<int, int> lastSeen;
    int nextVersion = 1;
    const int kills = qEnvironmentVariableIntValue("BRIMVALE_CRASH_KILLS") > 0
                          ? qEnvironmentVariableIntValue("BRIMVALE_CRASH_KILLS") : 150;
    for (int round = 0; round < kills; ++round) {
        QProcess child;
        child.start(QStringLiteral(CRASH_SAVER_PATH),
                    {store.path(), QString::number(firstKey), QString::number(kLoans), QString::number(kExtraPayments),
                     QString::number(nextVersion)});
        ASSERT_TRUE(child.waitForStarted(10000));
        ASSERT_TRUE(child.waitForReadyRead(10000)) << child.readAllStandardError().toStdString();
        QThread::msleep(delayMs(random));
        ::kill(pid_t(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit)
            << "the saver stopped by itself: " << child.readAllStandardError().toStdString();

        auto opened = LoanStore::open(store.path());
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<LoanStore>>(opened))
            << "after kill " << round << ": " << std::get<engine::NumberedError>(opened).text();
        const LoanStore& reopened = *std::get<std::unique_ptr<LoanStore>>(opened);
        for (int key = firstKey; key < firstKey + kLoans; ++key) {
            std::string why;
            const int version = wholeVersion(reopened, key, why);
            ASSERT_GE(version, 0) << "loan " << key << " after kill " << round << ": " << why;
            ASSERT_GE(version, lastSeen[key]) << "loan " << key << " went back to an older version";
            lastSeen[key] = version;
            nextVersion = std::max(nextVersion, version + 1);
        }
    }
    // The saver must actually have been interrupted while saving, many times.
    EXPECT_GT(nextVersion, kills / 10) << "the saver hardly saved anything before the kills";
}

}  // namespace
