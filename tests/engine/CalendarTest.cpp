#include "EngineTestSupport.h"

#include "PaymentCalendar.h"

using namespace enginetest;

namespace {

TEST(PaymentDates, FollowTheCalendar)
{
    struct Row { const char* name; PaymentFrequency frequency; Date first; int fromNumber; std::vector<Date> expected; };
    const Row rows[] = {
        {"Monthly31January", Monthly, ymd(2024, 1, 31), 1,
         {ymd(2024, 1, 31), ymd(2024, 2, 29), ymd(2024, 3, 31), ymd(2024, 4, 30), ymd(2024, 5, 31)}},
        {"Annually29February", Annually, ymd(2024, 2, 29), 1,
         {ymd(2024, 2, 29), ymd(2025, 2, 28), ymd(2026, 2, 28), ymd(2027, 2, 28), ymd(2028, 2, 29)}},
        {"SemiMonthly15January", SemiMonthly, ymd(2024, 1, 15), 1,
         {ymd(2024, 1, 15), ymd(2024, 1, 31), ymd(2024, 2, 15), ymd(2024, 2, 29), ymd(2024, 3, 15)}},
        {"SemiMonthly31January", SemiMonthly, ymd(2024, 1, 31), 1,
         {ymd(2024, 1, 31), ymd(2024, 2, 15), ymd(2024, 2, 29), ymd(2024, 3, 15), ymd(2024, 3, 31)}},
        {"SemiMonthly1January", SemiMonthly, ymd(2024, 1, 1), 1,
         {ymd(2024, 1, 1), ymd(2024, 2, 15), ymd(2024, 2, 29), ymd(2024, 3, 15), ymd(2024, 3, 31)}},
        {"BiWeeklyPayment3", BiWeekly, ymd(2024, 1, 5), 3, {ymd(2024, 2, 2)}},
        {"SemiAnnually30August", SemiAnnually, ymd(2024, 8, 30), 1,
         {ymd(2024, 8, 30), ymd(2025, 2, 28), ymd(2025, 8, 30)}},
        {"BiMonthly31December", BiMonthly, ymd(2023, 12, 31), 1, {ymd(2023, 12, 31), ymd(2024, 2, 29)}},
        {"WeeklyPayment1000", Weekly, ymd(2024, 1, 1), 1000, {ymd(2043, 2, 23)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<Date> found;
        for (int n = row.fromNumber; found.size() < row.expected.size(); ++n)
            found.push_back(nextPaymentDate(row.frequency, n, row.first));
        EXPECT_TRUE(sameSequence(row.expected, found, dateText));
    }
}

short countFor(int months, PaymentFrequency frequency, Date first)
{
    return numberOfPayments({.description = "", .loanAmount = {}, .paymentAmount = 0, .annualRatePercent = 0,
                             .term = months, .termUnit = Months, .frequency = frequency, .firstPaymentDate = first});
}

TEST(NumberOfPayments, TableForMonday1January2024)
{
    const int months[] = {1, 3, 6, 12, 60, 360};
    const short expected[6][8] = {
        {4, 2, 1, 2, 0, 0, 0, 0},
        {13, 6, 3, 6, 2, 1, 0, 0},
        {26, 13, 6, 12, 3, 2, 1, 0},
        {52, 26, 12, 24, 6, 4, 2, 1},
        {261, 130, 60, 120, 30, 20, 10, 5},
        {1565, 782, 360, 720, 180, 120, 60, 30},
    };
    for (int m = 0; m < 6; ++m)
        for (int f = int(Weekly); f <= int(Annually); ++f)
            EXPECT_EQ(countFor(months[m], PaymentFrequency(f), ymd(2024, 1, 1)), expected[m][f])
                << months[m] << " months, frequency " << f;
}

// Weekly counts the Sundays after the first payment up to the end of the term.
TEST(NumberOfPayments, WeeklyCountsSundaysAfterTheStart)
{
    struct Row { Date first; int months; short expected; };
    const Row rows[] = {{ymd(2021, 2, 28), 1, 4}, {ymd(2023, 1, 1), 12, 52}, {ymd(2022, 12, 31), 12, 53},
                        {ymd(2020, 1, 31), 1, 4}};
    for (const Row& row : rows)
        EXPECT_EQ(countFor(row.months, Weekly, row.first), row.expected)
            << dateText(row.first) << " + " << row.months << " months";
}

}  // namespace
