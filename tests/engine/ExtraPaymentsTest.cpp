#include "EngineTestSupport.h"

#include "ExtraPayments.h"

using namespace engine;
using enginetest::ymd;

namespace {

ExtraPayment lumpSum(Date date, double amount)
{
    return {ExtraPaymentKind::LumpSum, date, std::nullopt, amount};
}

ExtraPayment repeating(Date start, Date stop, double amount)
{
    return {ExtraPaymentKind::Repeating, start, stop, amount};
}

// Asks the lists once per due date, lump sums first, as a run does; returns the
// sum counted in each period.
std::vector<double> extrasByPeriod(const std::vector<ExtraPayment>& rows, const std::vector<Date>& dues,
                                   bool suppressFuture = false, Date today = ymd(2000, 1, 1))
{
    PendingExtraPayments pending(rows, suppressFuture, today);
    std::vector<double> sums;
    for (const Date& due : dues) {
        const double lump = pending.applyLumpSums(due);
        sums.push_back(pending.applyRepeating(due) + lump);
    }
    return sums;
}

std::vector<Date> monthlyOnThe1st(int fromMonth, int count)
{
    std::vector<Date> dues;
    for (int m = fromMonth; m < fromMonth + count; ++m)
        dues.push_back(ymd(2024 + (m - 1) / 12, unsigned((m - 1) % 12 + 1), 1));
    return dues;
}

struct ExtraRow {
    const char* name;
    std::vector<ExtraPayment> rows;
    std::vector<Date> dues;
    bool suppressFuture;
    Date today;
    std::vector<double> expected;
};

class ExtraPaymentsByPeriod : public ::testing::TestWithParam<ExtraRow> {};

TEST_P(ExtraPaymentsByPeriod, CountInTheRightPeriods)
{
    const ExtraRow& row = GetParam();
    EXPECT_EQ(extrasByPeriod(row.rows, row.dues, row.suppressFuture, row.today), row.expected);
}

const Date kAnyDay = ymd(2000, 1, 1);

INSTANTIATE_TEST_SUITE_P(
    Periods, ExtraPaymentsByPeriod,
    ::testing::Values(
        // Lump sums: the first due date on or after their date, exactly once.
        ExtraRow{"LumpSumMidPeriodCountsNextDue", {lumpSum(ymd(2024, 1, 15), 100)}, monthlyOnThe1st(1, 3),
                 false, kAnyDay, {0, 100, 0}},
        ExtraRow{"LumpSumOnDueDateCountsThatDue", {lumpSum(ymd(2024, 2, 1), 100)}, monthlyOnThe1st(1, 3),
                 false, kAnyDay, {0, 100, 0}},
        ExtraRow{"LumpSumBeforeFirstDueCountsFirst", {lumpSum(ymd(2023, 6, 1), 50)}, monthlyOnThe1st(1, 2),
                 false, kAnyDay, {50, 0}},
        ExtraRow{"LumpSumAfterLastDueNeverCounts", {lumpSum(ymd(2025, 1, 1), 50)}, monthlyOnThe1st(1, 2),
                 false, kAnyDay, {0, 0}},
        ExtraRow{"TwoLumpSumsOnePeriodAreSummed",
                 {lumpSum(ymd(2024, 1, 10), 100), lumpSum(ymd(2024, 1, 20), 25)}, monthlyOnThe1st(1, 3),
                 false, kAnyDay, {0, 125, 0}},
        // Repeating: every due date within start..stop, both bounds inclusive.
        ExtraRow{"RepeatingOnStartAndStopDueDates", {repeating(ymd(2024, 3, 1), ymd(2024, 6, 1), 10)},
                 monthlyOnThe1st(1, 8), false, kAnyDay, {0, 0, 10, 10, 10, 10, 0, 0}},
        ExtraRow{"RepeatingBiWeekly",
                 {repeating(ymd(2024, 1, 10), ymd(2024, 2, 10), 10)},
                 {ymd(2024, 1, 5), ymd(2024, 1, 19), ymd(2024, 2, 2), ymd(2024, 2, 16)}, false, kAnyDay,
                 {0, 10, 10, 0}},
        ExtraRow{"RepeatingOneDayOnDueDate", {repeating(ymd(2024, 2, 1), ymd(2024, 2, 1), 10)},
                 monthlyOnThe1st(1, 3), false, kAnyDay, {0, 10, 0}},
        ExtraRow{"RepeatingOneDayBetweenDueDates", {repeating(ymd(2024, 2, 10), ymd(2024, 2, 10), 10)},
                 monthlyOnThe1st(1, 3), false, kAnyDay, {0, 0, 0}},
        ExtraRow{"RepeatingStartAfterStopNeverCounts", {repeating(ymd(2024, 3, 1), ymd(2024, 2, 1), 10)},
                 monthlyOnThe1st(1, 4), false, kAnyDay, {0, 0, 0, 0}},
        ExtraRow{"RepeatingWithoutStopRunsOn",
                 {{ExtraPaymentKind::Repeating, ymd(2024, 2, 1), std::nullopt, 10}}, monthlyOnThe1st(1, 3),
                 false, kAnyDay, {0, 10, 10}},
        ExtraRow{"RepeatingAndLumpSumTogether",
                 {repeating(ymd(2024, 1, 1), ymd(2024, 12, 1), 10), lumpSum(ymd(2024, 1, 20), 100)},
                 monthlyOnThe1st(1, 3), false, kAnyDay, {10, 110, 10}},
        ExtraRow{"IgnoredRowsNeverCount",
                 {{ExtraPaymentKind::Ignored, ymd(2024, 1, 1), ymd(2024, 12, 1), 99}}, monthlyOnThe1st(1, 2),
                 false, kAnyDay, {0, 0}},
        ExtraRow{"NoRows", {}, monthlyOnThe1st(1, 2), false, kAnyDay, {0, 0}},
        // Suppress future: lists built against today.
        ExtraRow{"SuppressDropsFutureLumpSum",
                 {lumpSum(ymd(2024, 1, 15), 100), lumpSum(ymd(2024, 3, 15), 200)}, monthlyOnThe1st(1, 5), true,
                 ymd(2024, 2, 20), {0, 100, 0, 0, 0}},
        ExtraRow{"SuppressKeepsLumpSumDatedToday", {lumpSum(ymd(2024, 2, 20), 100)}, monthlyOnThe1st(1, 4),
                 true, ymd(2024, 2, 20), {0, 0, 100, 0}},
        ExtraRow{"SuppressCutsRunningRepeatingAtToday",
                 {repeating(ymd(2024, 1, 1), ymd(2024, 12, 1), 10)}, monthlyOnThe1st(1, 5), true,
                 ymd(2024, 3, 10), {10, 10, 10, 0, 0}},
        ExtraRow{"SuppressKeepsEndedRepeating", {repeating(ymd(2024, 1, 1), ymd(2024, 2, 1), 10)},
                 monthlyOnThe1st(1, 4), true, ymd(2024, 3, 10), {10, 10, 0, 0}},
        ExtraRow{"SuppressDropsFutureRepeating", {repeating(ymd(2024, 4, 1), ymd(2024, 12, 1), 10)},
                 monthlyOnThe1st(1, 6), true, ymd(2024, 3, 10), {0, 0, 0, 0, 0, 0}},
        ExtraRow{"UnsuppressedIgnoresToday",
                 {lumpSum(ymd(2024, 3, 15), 200), repeating(ymd(2024, 4, 1), ymd(2024, 5, 1), 10)},
                 monthlyOnThe1st(1, 6), false, ymd(2024, 1, 1), {0, 0, 0, 210, 10, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExtraPaymentsByPeriod, FreshListsGiveTheSameSumsAgain)
{
    const std::vector<ExtraPayment> rows = {lumpSum(ymd(2024, 1, 15), 100),
                                            repeating(ymd(2024, 1, 1), ymd(2024, 3, 1), 5)};
    const auto dues = monthlyOnThe1st(1, 4);
    EXPECT_EQ(extrasByPeriod(rows, dues), extrasByPeriod(rows, dues));
}

}  // namespace
