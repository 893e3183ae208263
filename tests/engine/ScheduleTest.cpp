#include "EngineTestSupport.h"

#include "Money.h"
#include "Schedule.h"

using namespace engine;
using enginetest::ymd;

namespace {

enum Frequency { Weekly, BiWeekly, Monthly, SemiMonthly, BiMonthly, Quarterly, SemiAnnually, Anually };
enum TermType { Months, Years };

LoanTerms loan(std::optional<double> amount, double ratePercent, int term, int termType, int frequency,
               Date first = ymd(2024, 1, 15), double payment = 0.0)
{
    LoanTerms terms;
    terms.loanAmount = amount;
    terms.paymentAmount = payment;
    terms.annualRatePercent = ratePercent;
    terms.term = term;
    terms.termType = termType;
    terms.frequency = frequency;
    terms.firstPaymentDate = first;
    return terms;
}

LoanTerms fromPayment(double payment, double ratePercent, int term, int termType, int frequency,
                      Date first = ymd(2024, 1, 15))
{
    return loan(std::nullopt, ratePercent, term, termType, frequency, first, payment);
}

const Date kToday = ymd(2024, 1, 1);

ScheduleResult runOk(const LoanTerms& terms, const std::vector<ExtraPayment>& extras = {},
                     bool suppressFuture = false, Date today = kToday)
{
    const ScheduleOutcome outcome = calculateSchedule(terms, extras, suppressFuture, today);
    if (const auto* error = std::get_if<EngineError>(&outcome)) {
        ADD_FAILURE() << "run failed: " << *error;
        return {};
    }
    return std::get<ScheduleResult>(outcome);
}

ExtraPayment lumpSum(Date date, double amount)
{
    return {ExtraPaymentKind::LumpSum, date, std::nullopt, amount};
}

// One row as the table shows it: every amount to cents.
struct ShownRow {
    short number;
    Date due;
    double principal, extra, cumulativePrincipal, interest, cumulativeInterest, balance;
};

void expectRow(const ScheduleRow& found, const ShownRow& expected)
{
    SCOPED_TRACE("payment " + std::to_string(expected.number));
    EXPECT_EQ(found.number, expected.number);
    EXPECT_EQ(found.dueDate, expected.due);
    EXPECT_EQ(roundToCents(found.principal), expected.principal);
    EXPECT_EQ(roundToCents(found.extra), expected.extra);
    EXPECT_EQ(roundToCents(found.cumulativePrincipal), expected.cumulativePrincipal);
    EXPECT_EQ(roundToCents(found.interest), expected.interest);
    EXPECT_EQ(roundToCents(found.cumulativeInterest), expected.cumulativeInterest);
    EXPECT_EQ(found.balance, expected.balance);
}

// --- Worked examples -----------------------------------------------------------

TEST(WorkedExamples, ThousandAt12PercentOverThreeMonths)
{
    const ScheduleResult result = runOk(loan(1000.0, 12, 3, Months, Monthly));
    EXPECT_EQ(result.periodicRate, 0.01);
    EXPECT_EQ(result.payment, 340.02);
    EXPECT_EQ(result.loanAmount, 1000.0);
    ASSERT_EQ(result.rows.size(), 3u);
    expectRow(result.rows[0], {1, ymd(2024, 1, 15), 330.02, 0.00, 330.02, 10.00, 10.00, 669.98});
    expectRow(result.rows[1], {2, ymd(2024, 2, 15), 333.32, 0.00, 663.34, 6.70, 16.70, 336.66});
    // The cent left by rounding is paid as an extra in the last row.
    expectRow(result.rows[2], {3, ymd(2024, 3, 15), 336.65, 0.01, 1000.00, 3.37, 20.07, 0.00});
    EXPECT_EQ(result.paymentsSaved, 0);
    EXPECT_EQ(result.totalSaved, 0.0);
    EXPECT_EQ(result.adjustedPayoffDate, ymd(2024, 3, 15));
}

TEST(WorkedExamples, LumpSumPaysOffEarly)
{
    const ScheduleResult result = runOk(loan(1000.0, 12, 3, Months, Monthly), {lumpSum(ymd(2024, 2, 1), 500.0)});
    ASSERT_EQ(result.rows.size(), 2u);
    // Only what is needed of the 500.00.
    expectRow(result.rows[1], {2, ymd(2024, 2, 15), 333.32, 336.66, 1000.00, 6.70, 16.70, 0.00});
    EXPECT_EQ(result.paymentsSaved, 1);
    EXPECT_EQ(result.adjustedPayoffDate, ymd(2024, 2, 15));
    EXPECT_EQ(roundToCents(result.summary.extraPayments), 336.66);
    EXPECT_EQ(result.baseline.payments, 3);
    EXPECT_EQ(result.baseline.payoffDate, ymd(2024, 3, 15));
    // Interest saved: 20.07 without the lump sum, 16.70 with it.
    EXPECT_EQ(result.totalSaved, 3.37);
}

TEST(WorkedExamples, HundredThousandAt6PercentOver30Years)
{
    const ScheduleResult result = runOk(loan(100000.0, 6, 30, Years, Monthly));
    EXPECT_EQ(result.numberOfPayments, 360);
    EXPECT_EQ(result.periodicRate, 0.005);
    EXPECT_EQ(result.payment, 599.55);
    ASSERT_EQ(result.rows.size(), 360u);
    expectRow(result.rows[0], {1, ymd(2024, 1, 15), 99.55, 0.00, 99.55, 500.00, 500.00, 99900.45});
    EXPECT_EQ(result.rows.back().number, 360);
    EXPECT_EQ(result.rows.back().balance, 0.0);
    EXPECT_EQ(roundToCents(result.rows.back().cumulativePrincipal), 100000.0);
    EXPECT_EQ(result.paymentsSaved, 0);
    EXPECT_EQ(result.totalSaved, 0.0);
    // Without extra payments the baseline agrees with the run.
    EXPECT_EQ(result.baseline.loanAmount, 100000.0);
    EXPECT_EQ(result.baseline.payments, 360);
    EXPECT_EQ(result.baseline.payoffDate, result.adjustedPayoffDate);
    EXPECT_EQ(result.baseline.payoffDate, ymd(2053, 12, 15));
    EXPECT_EQ(roundToCents(result.baseline.interestPaid), roundToCents(result.summary.interest));
    EXPECT_EQ(roundToCents(result.baseline.totalPaid), roundToCents(result.summary.totalPaid));
}

TEST(WorkedExamples, PaymentGivenDerivesLoanAmount)
{
    const ScheduleResult result = runOk(fromPayment(599.55, 6, 30, Years, Monthly));
    EXPECT_EQ(result.loanAmount, 99999.91);
    EXPECT_EQ(result.payment, 599.55);
    expectRow(result.rows[0], {1, ymd(2024, 1, 15), 99.55, 0.00, 99.55, 500.00, 500.00, 99900.36});
    EXPECT_EQ(result.baseline.loanAmount, 99999.91);
}

TEST(WorkedExamples, LoanAmountWinsOverPayment)
{
    LoanTerms terms = loan(100000.0, 6, 30, Years, Monthly);
    terms.paymentAmount = 1234.56;
    EXPECT_EQ(runOk(terms).payment, 599.55);
}

TEST(WorkedExamples, RateZero)
{
    const ScheduleResult result = runOk(loan(1200.0, 0, 12, Months, Monthly));
    EXPECT_EQ(result.payment, 100.0);
    ASSERT_EQ(result.rows.size(), 12u);
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
        EXPECT_EQ(result.rows[i].interest, 0.0) << "row " << i + 1;
        EXPECT_EQ(result.rows[i].balance, 1200.0 - 100.0 * double(i + 1)) << "row " << i + 1;
    }
}

TEST(WorkedExamples, RateRoundedToEightPlacesPaymentUnrounded)
{
    const ScheduleResult result = runOk(loan(10000.0, 7.25, 36, Months, Monthly));
    EXPECT_EQ(result.periodicRate, 0.00604167);
    EXPECT_EQ(result.payment, 309.92);
    EXPECT_EQ(result.rows.back().balance, 0.0);
}

TEST(WorkedExamples, WeeklyPayment1000)
{
    const ScheduleResult result = runOk(loan(100000.0, 5, 30, Years, Weekly, ymd(2024, 1, 1)));
    EXPECT_EQ(result.numberOfPayments, 1565);
    ASSERT_GE(result.rows.size(), 1000u);
    EXPECT_EQ(result.rows[999].number, 1000);
    EXPECT_EQ(result.rows[999].dueDate, ymd(2043, 2, 23));
    EXPECT_EQ(result.rows.size(), 1565u);
    EXPECT_EQ(result.rows.back().balance, 0.0);
}

// --- Last row and payments saved --------------------------------------------

TEST(LastRow, ExtraCountedInLastRowStillClearsRemainder)
{
    // The rounded-down payment leaves some cents for the last row.
    const LoanTerms terms = loan(100000.0, 6, 30, Years, Monthly);
    const ScheduleResult plain = runOk(terms);
    const double remainder = plain.rows.back().extra;
    ASSERT_GT(remainder, 0.20);
    // A lump sum smaller than that remainder, counted in the last row.
    const ScheduleResult withExtra = runOk(terms, {lumpSum(ymd(2053, 12, 1), 0.20)});
    ASSERT_EQ(withExtra.rows.size(), 360u);
    EXPECT_EQ(withExtra.rows.back().extra, remainder);
    EXPECT_EQ(withExtra.rows.back().balance, 0.0);
    EXPECT_EQ(roundToCents(withExtra.rows.back().cumulativePrincipal), 100000.0);
}

// Extra payments are cut back to what the balance needs; a scheduled principal
// that alone would overpay shrinks the payment and drops the extra.
struct CutBackRow {
    const char* name;
    LoanTerms terms;
    std::vector<ExtraPayment> extras;
    std::size_t rows;
    double lastPrincipal;
    double lastExtra;
};

class LastRowCutBack : public ::testing::TestWithParam<CutBackRow> {};

TEST_P(LastRowCutBack, PaysExactlyTheBalance)
{
    const CutBackRow& row = GetParam();
    const ScheduleResult result = runOk(row.terms, row.extras);
    ASSERT_EQ(result.rows.size(), row.rows);
    const ScheduleRow& last = result.rows.back();
    EXPECT_EQ(roundToCents(last.principal), row.lastPrincipal);
    EXPECT_EQ(roundToCents(last.extra), row.lastExtra);
    EXPECT_EQ(last.balance, 0.0);
    EXPECT_EQ(roundToCents(last.cumulativePrincipal), result.loanAmount);
}

INSTANTIATE_TEST_SUITE_P(
    CutBack, LastRowCutBack,
    ::testing::Values(
        CutBackRow{"ExtraOverpaysByCents", loan(1000.0, 12, 3, Months, Monthly),
                   {lumpSum(ymd(2024, 2, 1), 336.70)}, 2, 333.32, 336.66},
        CutBackRow{"ExtraOverpaysByMuch", loan(1000.0, 12, 3, Months, Monthly),
                   {lumpSum(ymd(2024, 2, 1), 500.0)}, 2, 333.32, 336.66},
        CutBackRow{"ExtraMatchesBalance", loan(1000.0, 12, 3, Months, Monthly),
                   {lumpSum(ymd(2024, 2, 1), 336.66)}, 2, 333.32, 336.66},
        // 0.28 a month against 100.00: row 358 owes only 0.04, and its lump sum is dropped.
        CutBackRow{"ScheduledPrincipalOverpays", loan(100.0, 0, 360, Months, Monthly),
                   {lumpSum(ymd(2053, 10, 15), 5.0)}, 358, 0.04, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct SavedRow {
    const char* name;
    LoanTerms terms;
    std::vector<ExtraPayment> extras;
    std::size_t rows;
    short saved;
};

class PaymentsSaved : public ::testing::TestWithParam<SavedRow> {};

TEST_P(PaymentsSaved, CountsAgainstBaselinePaymentsMade)
{
    const SavedRow& row = GetParam();
    const ScheduleResult result = runOk(row.terms, row.extras);
    EXPECT_EQ(result.rows.size(), row.rows);
    EXPECT_EQ(result.paymentsSaved, row.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Saved, PaymentsSaved,
    ::testing::Values(
        SavedRow{"NoExtras", loan(1000.0, 12, 3, Months, Monthly), {}, 3, 0},
        SavedRow{"LumpSumSavesOne", loan(1000.0, 12, 3, Months, Monthly), {lumpSum(ymd(2024, 2, 1), 500.0)}, 2, 1},
        SavedRow{"LumpSumInFirstRow", loan(1000.0, 12, 3, Months, Monthly), {lumpSum(ymd(2024, 1, 1), 5000.0)}, 1, 2},
        // 100 / 360 rounds up to 0.28: the loan is paid off in row 358 anyway.
        SavedRow{"RoundedUpPaymentPaysOffEarly", loan(100.0, 0, 360, Months, Monthly), {}, 358, 0},
        // 1300 % a year is above 100 % a month: the balance never falls.
        SavedRow{"RateAbove100PercentPerPeriod", loan(1000.0, 1300, 3, Months, Monthly), {}, 3, 0},
        // All 32767 rows of the longest weekly loan, without an overflow after the last.
        SavedRow{"LongestWeeklyLoan", loan(1000.0, 6, 7536, Months, Weekly, ymd(2024, 1, 1)), {}, 32767, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PaymentsSaved, RateAbove100PercentPaysInterestOnly)
{
    const ScheduleResult result = runOk(loan(1000.0, 1300, 3, Months, Monthly));
    for (const ScheduleRow& row : result.rows) {
        EXPECT_EQ(row.interest, 1000.0);
        EXPECT_EQ(row.principal, 0.0);
        EXPECT_EQ(row.balance, 1000.0);
    }
}

// --- Extra payments through the run -----------------------------------------

TEST(ExtraPaymentsInRun, RepeatingCountsOnStartAndStopDueDates)
{
    const std::vector<ExtraPayment> extras = {
        {ExtraPaymentKind::Repeating, ymd(2024, 3, 1), ymd(2024, 6, 1), 10.0}};
    const ScheduleResult result = runOk(loan(10000.0, 6, 12, Months, Monthly, ymd(2024, 1, 1)), extras);
    std::vector<double> found;
    for (const ScheduleRow& row : result.rows)
        found.push_back(row.extra);
    const std::vector<double> expected = {0, 0, 10, 10, 10, 10, 0, 0, 0, 0, 0};
    found.resize(expected.size());
    EXPECT_EQ(found, expected);
    EXPECT_EQ(result.summary.extraPayments, 40.0 + result.rows.back().extra);
}

TEST(ExtraPaymentsInRun, SuppressFutureUsesTheGivenToday)
{
    const LoanTerms terms = loan(10000.0, 6, 12, Months, Monthly, ymd(2024, 1, 1));
    const std::vector<ExtraPayment> extras = {lumpSum(ymd(2024, 1, 20), 100.0), lumpSum(ymd(2024, 3, 20), 200.0),
                                              {ExtraPaymentKind::Repeating, ymd(2024, 1, 1), ymd(2024, 12, 1), 5.0}};
    const ScheduleResult suppressed = runOk(terms, extras, true, ymd(2024, 2, 20));
    EXPECT_EQ(suppressed.rows[0].extra, 5.0);
    EXPECT_EQ(suppressed.rows[1].extra, 105.0);
    EXPECT_EQ(suppressed.rows[2].extra, 0.0);
    EXPECT_EQ(suppressed.rows[3].extra, 0.0);
    const ScheduleResult all = runOk(terms, extras, false, ymd(2024, 2, 20));
    EXPECT_EQ(all.rows[2].extra, 5.0);
    EXPECT_EQ(all.rows[3].extra, 205.0);
}

// --- Failures -------------------------------------------------------------------

struct FailureRow {
    const char* name;
    LoanTerms terms;
    int expectedNumber;
};

class RunFailures : public ::testing::TestWithParam<FailureRow> {};

TEST_P(RunFailures, FailAsAWhole)
{
    const FailureRow& row = GetParam();
    const ScheduleOutcome outcome = calculateSchedule(row.terms, {}, false, kToday);
    const auto* error = std::get_if<EngineError>(&outcome);
    ASSERT_NE(error, nullptr) << "run succeeded";
    EXPECT_EQ(error->number, row.expectedNumber);
    if (row.expectedNumber == kOverflow) {
        EXPECT_EQ(*error, overflowError());
    } else if (row.expectedNumber == kDivisionByZero) {
        EXPECT_EQ(*error, divisionByZeroError());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RunFailures,
    ::testing::Values(
        FailureRow{"Years2731", loan(1000.0, 6, 2731, Years, Monthly), kOverflow},
        FailureRow{"WeeklyCountPast16Bits", loan(1000.0, 6, 7537, Months, Weekly), kOverflow},
        FailureRow{"ShorterThanOnePeriodWithLoan", loan(1000.0, 6, 1, Months, Quarterly), kDivisionByZero},
        FailureRow{"ShorterThanOnePeriodWithPayment", fromPayment(100.0, 6, 1, Months, Quarterly), kDivisionByZero},
        FailureRow{"ShorterThanOnePeriodRate0", loan(1000.0, 0, 1, Months, Anually), kDivisionByZero},
        FailureRow{"NoFrequency", loan(1000.0, 6, 12, Months, -1), kDivisionByZero},
        FailureRow{"AbsurdRate", loan(1000.0, 1e308, 12, Months, Monthly), kOverflow},
        FailureRow{"AbsurdRateOnePayment", loan(1e6, 1e306, 1, Months, Monthly), kOverflow},
        FailureRow{"AbsurdLoanAmount", loan(1.7e308, 6, 12, Months, Monthly), kOverflow},
        FailureRow{"DatesPastYear9999", loan(1000.0, 6, 12, Months, Monthly, ymd(9999, 6, 15)), kDateOutOfRange}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunFailures, HugeExtraPaymentsReportOverflow)
{
    const std::vector<ExtraPayment> extras = {lumpSum(ymd(2024, 1, 1), 1e308), lumpSum(ymd(2024, 1, 2), 1e308)};
    const ScheduleOutcome outcome = calculateSchedule(loan(1000.0, 6, 12, Months, Monthly), extras, false, kToday);
    ASSERT_TRUE(std::holds_alternative<EngineError>(outcome));
    EXPECT_EQ(std::get<EngineError>(outcome), overflowError());
}

// --- The loan amount a save would store ------------------------------------

struct EffectiveRow {
    const char* name;
    LoanTerms terms;
    std::variant<double, EngineError> expected;
};

class EffectiveLoanAmount : public ::testing::TestWithParam<EffectiveRow> {};

TEST_P(EffectiveLoanAmount, MatchesTheRun)
{
    const EffectiveRow& row = GetParam();
    EXPECT_EQ(effectiveLoanAmount(row.terms), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, EffectiveLoanAmount,
    ::testing::Values(
        EffectiveRow{"GivenIsRounded", loan(1000.005, 6, 12, Months, Monthly), 1000.01},
        EffectiveRow{"DerivedFromPayment", fromPayment(599.55, 6, 30, Years, Monthly), 99999.91},
        EffectiveRow{"DerivedFromRoundedPayment", fromPayment(599.549, 6, 30, Years, Monthly), 99999.91},
        // A payment that cannot be turned into a loan amount is not saved as 0.
        EffectiveRow{"ShorterThanOnePeriod", fromPayment(100.0, 6, 1, Months, Quarterly), divisionByZeroError()},
        EffectiveRow{"CountOverflow", fromPayment(100.0, 6, 2731, Years, Monthly), overflowError()}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
