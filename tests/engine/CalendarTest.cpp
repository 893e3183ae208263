#include "EngineTestSupport.h"

#include "PaymentCalendar.h"

using namespace engine;
using enginetest::sameDates;
using enginetest::ymd;

namespace {

enum Frequency { Weekly, BiWeekly, Monthly, SemiMonthly, BiMonthly, Quarterly, SemiAnnually, Anually };

std::vector<Date> firstDates(int frequency, Date first, int count, int fromNumber = 1)
{
    std::vector<Date> dates;
    for (int n = fromNumber; n < fromNumber + count; ++n)
        dates.push_back(nextPaymentDate(frequency, n, first));
    return dates;
}

// --- Whole sequences -----------------------------------------------------------

struct SequenceRow {
    const char* name;
    int frequency;
    Date first;
    int fromNumber;
    std::vector<Date> expected;
};

class PaymentDates : public ::testing::TestWithParam<SequenceRow> {};

TEST_P(PaymentDates, FollowTheCalendar)
{
    const SequenceRow& row = GetParam();
    EXPECT_TRUE(sameDates(row.expected, firstDates(row.frequency, row.first,
                                                   int(row.expected.size()), row.fromNumber)));
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, PaymentDates,
    ::testing::Values(
        SequenceRow{"Monthly31January", Monthly, ymd(2024, 1, 31), 1,
                    {ymd(2024, 1, 31), ymd(2024, 2, 29), ymd(2024, 3, 31), ymd(2024, 4, 30), ymd(2024, 5, 31)}},
        SequenceRow{"Anually29February", Anually, ymd(2024, 2, 29), 1,
                    {ymd(2024, 2, 29), ymd(2025, 2, 28), ymd(2026, 2, 28), ymd(2027, 2, 28), ymd(2028, 2, 29)}},
        SequenceRow{"SemiMonthly15January", SemiMonthly, ymd(2024, 1, 15), 1,
                    {ymd(2024, 1, 15), ymd(2024, 1, 31), ymd(2024, 2, 15), ymd(2024, 2, 29), ymd(2024, 3, 15),
                     ymd(2024, 3, 31), ymd(2024, 4, 15)}},
        SequenceRow{"SemiMonthly31January", SemiMonthly, ymd(2024, 1, 31), 1,
                    {ymd(2024, 1, 31), ymd(2024, 2, 15), ymd(2024, 2, 29), ymd(2024, 3, 15), ymd(2024, 3, 31),
                     ymd(2024, 4, 15), ymd(2024, 4, 30)}},
        SequenceRow{"SemiMonthly1January", SemiMonthly, ymd(2024, 1, 1), 1,
                    {ymd(2024, 1, 1), ymd(2024, 2, 15), ymd(2024, 2, 29), ymd(2024, 3, 15), ymd(2024, 3, 31),
                     ymd(2024, 4, 15), ymd(2024, 4, 30)}},
        SequenceRow{"SemiMonthly15DecemberAcrossYear", SemiMonthly, ymd(2023, 12, 15), 1,
                    {ymd(2023, 12, 15), ymd(2023, 12, 31), ymd(2024, 1, 15), ymd(2024, 1, 31)}},
        SequenceRow{"BiWeekly5January", BiWeekly, ymd(2024, 1, 5), 1,
                    {ymd(2024, 1, 5), ymd(2024, 1, 19), ymd(2024, 2, 2)}},
        SequenceRow{"Weekly1January", Weekly, ymd(2024, 1, 1), 1,
                    {ymd(2024, 1, 1), ymd(2024, 1, 8), ymd(2024, 1, 15)}},
        SequenceRow{"WeeklyPayment1000", Weekly, ymd(2024, 1, 1), 1000, {ymd(2043, 2, 23)}},
        SequenceRow{"SemiAnnually30August", SemiAnnually, ymd(2024, 8, 30), 1,
                    {ymd(2024, 8, 30), ymd(2025, 2, 28), ymd(2025, 8, 30)}},
        SequenceRow{"BiMonthly31December", BiMonthly, ymd(2023, 12, 31), 1,
                    {ymd(2023, 12, 31), ymd(2024, 2, 29), ymd(2024, 4, 30), ymd(2024, 6, 30)}},
        SequenceRow{"Quarterly30November", Quarterly, ymd(2023, 11, 30), 1,
                    {ymd(2023, 11, 30), ymd(2024, 2, 29), ymd(2024, 5, 30), ymd(2024, 8, 30)}},
        SequenceRow{"MonthlyLastPaymentOfLongestLoan", Monthly, ymd(2024, 1, 31), 32767, {ymd(4754, 7, 31)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PaymentDates, FirstPaymentIsTheStartForEveryFrequency)
{
    for (int f = Weekly; f <= Anually; ++f)
        EXPECT_EQ(nextPaymentDate(f, 1, ymd(2024, 3, 31)), ymd(2024, 3, 31)) << "frequency " << f;
}

// --- Failures: 16-bit steps and the end of the calendar -----------------------

struct FailureRow {
    const char* name;
    int frequency;
    Date first;
    int number;
    int expectedError;
};

class PaymentDateFailures : public ::testing::TestWithParam<FailureRow> {};

TEST_P(PaymentDateFailures, ReportNumberedError)
{
    const FailureRow& row = GetParam();
    try {
        const Date date = nextPaymentDate(row.frequency, row.number, row.first);
        FAIL() << "returned " << enginetest::dateText(date);
    } catch (const EngineFailure& failure) {
        EXPECT_EQ(failure.error().number, row.expectedError);
        EXPECT_FALSE(failure.error().description.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, PaymentDateFailures,
    ::testing::Values(
        // 2 x k leaves 16 bits from payment 16385 on.
        FailureRow{"BiWeeklyDoubledStep", BiWeekly, ymd(2024, 1, 1), 16385, kOverflow},
        FailureRow{"BiMonthlyDoubledStep", BiMonthly, ymd(2024, 1, 1), 16385, kOverflow},
        FailureRow{"SemiAnnuallyDoubledStep", SemiAnnually, ymd(2024, 1, 1), 16385, kOverflow},
        FailureRow{"PaymentNumberPast16Bits", Monthly, ymd(2024, 1, 1), 32769, kOverflow},
        FailureRow{"MonthlyPastYear9999", Monthly, ymd(9999, 6, 30), 8, kDateOutOfRange},
        FailureRow{"WeeklyPastYear9999", Weekly, ymd(9999, 12, 25), 2, kDateOutOfRange},
        FailureRow{"SemiMonthlyPastYear9999", SemiMonthly, ymd(9999, 12, 15), 3, kDateOutOfRange},
        FailureRow{"AnuallyPastYear9999", Anually, ymd(2024, 1, 1), 7977, kDateOutOfRange}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PaymentDateFailures, DescribeDatePastYear9999)
{
    try {
        nextPaymentDate(Monthly, 2, ymd(9999, 12, 31));
        FAIL();
    } catch (const EngineFailure& failure) {
        EXPECT_EQ(failure.error().description, "Date is past the year 9999");
    }
}

TEST(PaymentDates, LastDayOfYear9999IsStillValid)
{
    EXPECT_EQ(nextPaymentDate(SemiMonthly, 2, ymd(9999, 12, 15)), ymd(9999, 12, 31));
    EXPECT_EQ(nextPaymentDate(Weekly, 2, ymd(9999, 12, 24)), ymd(9999, 12, 31));
}

}  // namespace
