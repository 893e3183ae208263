#include "EngineTestSupport.h"

#include "EngineError.h"
#include "LoanTerms.h"

using namespace engine;
using enginetest::ymd;

namespace {

LoanTerms termsFor(int term, int termType, int frequency, Date first = ymd(2024, 1, 1))
{
    LoanTerms terms;
    terms.term = term;
    terms.termType = termType;
    terms.frequency = frequency;
    terms.firstPaymentDate = first;
    return terms;
}

// --- The count table for a first payment on Monday 1 January 2024 -------------

struct CountRow {
    int months;
    int frequency;
    short expected;
};

class PaymentCountTable : public ::testing::TestWithParam<CountRow> {};

TEST_P(PaymentCountTable, MatchesTableForMonday1January2024)
{
    const CountRow& row = GetParam();
    EXPECT_EQ(numberOfPayments(termsFor(row.months, 0, row.frequency)), row.expected);
}

std::vector<CountRow> countTable()
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
    std::vector<CountRow> rows;
    for (int m = 0; m < 6; ++m)
        for (int f = 0; f < 8; ++f)
            rows.push_back({months[m], f, expected[m][f]});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Counts, PaymentCountTable, ::testing::ValuesIn(countTable()),
                         [](const auto& info) {
                             return "f" + std::to_string(info.param.frequency) + "_" +
                                    std::to_string(info.param.months) + "months";
                         });

// --- The weekly Sunday rule: Sundays D with S < D <= E ------------------------

struct SundayRow {
    const char* name;
    Date first;
    int months;
    short expected;
};

class WeeklySundayRule : public ::testing::TestWithParam<SundayRow> {};

TEST_P(WeeklySundayRule, CountsSundaysAfterStartUpToEnd)
{
    const SundayRow& row = GetParam();
    EXPECT_EQ(numberOfPayments(termsFor(row.months, 0, 0, row.first)), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sundays, WeeklySundayRule,
    ::testing::Values(
        // Start and end both Sundays: the start is left out, the end counted.
        SundayRow{"SundayToSunday", ymd(2021, 2, 28), 1, 4},
        SundayRow{"SaturdayToSaturday", ymd(2021, 2, 27), 1, 4},
        SundayRow{"SundayStartYear", ymd(2023, 1, 1), 12, 52},
        SundayRow{"EndOnSundayYear", ymd(2022, 12, 31), 12, 53},
        // 31 January 2020 plus a month is 29 February (Saturday); without the
        // month-end clamp the Sunday 1 March would be counted.
        SundayRow{"MonthEndClamped", ymd(2020, 1, 31), 1, 4},
        SundayRow{"LongestThatFits", ymd(2024, 1, 1), 7536, 32767}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Term types, frequencies without a selection, 16-bit limits ---------------

struct LimitRow {
    const char* name;
    LoanTerms terms;
    short expected;     // when no overflow
    bool overflows;
};

class PaymentCountLimits : public ::testing::TestWithParam<LimitRow> {};

TEST_P(PaymentCountLimits, CountsOrReportsOverflow)
{
    const LimitRow& row = GetParam();
    if (row.overflows) {
        try {
            numberOfPayments(row.terms);
            FAIL() << "no overflow reported";
        } catch (const EngineFailure& failure) {
            EXPECT_EQ(failure.error(), overflowError());
        }
    } else {
        EXPECT_EQ(numberOfPayments(row.terms), row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, PaymentCountLimits,
    ::testing::Values(
        LimitRow{"ThirtyYearsMonthly", termsFor(30, 1, 2), 360, false},
        LimitRow{"UnselectedTermTypeIsYears", termsFor(30, -1, 2), 360, false},
        LimitRow{"NoFrequency", termsFor(30, 1, -1), 0, false},
        LimitRow{"Years2730Fit", termsFor(2730, 1, 2), 32760, false},
        LimitRow{"Years2731Overflow", termsFor(2731, 1, 2), 0, true},
        LimitRow{"SemiMonthly16383Fit", termsFor(16383, 0, 3), 32766, false},
        LimitRow{"SemiMonthly16384Overflow", termsFor(16384, 0, 3), 0, true},
        LimitRow{"WeeklyCountOverflow", termsFor(7537, 0, 0), 0, true},
        LimitRow{"BiWeeklyOfLongestWeekly", termsFor(7536, 0, 1), 16384, false},
        LimitRow{"TermBeyond16Bits", termsFor(40000, 0, 2), 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
