#include "EngineTestSupport.h"

#include "Money.h"
#include "Schedule.h"

using namespace enginetest;

namespace {

// One row as the table shows it, amounts to cents: principal, extra, cumulative
// principal, interest, cumulative interest, balance (stored already rounded).
void expectRow(const ScheduleRow& f, short number, Date due, const std::vector<double>& amounts)
{
    SCOPED_TRACE("payment " + std::to_string(number));
    EXPECT_EQ(f.number, number);
    EXPECT_EQ(f.dueDate, due);
    const std::vector<double> found = {roundToCents(f.principal), roundToCents(f.extra),
                                       roundToCents(f.cumulativePrincipal), roundToCents(f.interest),
                                       roundToCents(f.cumulativeInterest), f.balance};
    EXPECT_EQ(found, amounts);
}

TEST(WorkedExamples, ThousandAt12PercentOverThreeMonths)
{
    const ScheduleResult result = runOk(loan(1000.0, 12, 3, Months, Monthly));
    EXPECT_EQ(result.periodicRate, 0.01);
    EXPECT_EQ(result.payment, 340.02);
    ASSERT_EQ(result.rows.size(), 3u);
    expectRow(result.rows[0], 1, ymd(2024, 1, 15), {330.02, 0.00, 330.02, 10.00, 10.00, 669.98});
    expectRow(result.rows[1], 2, ymd(2024, 2, 15), {333.32, 0.00, 663.34, 6.70, 16.70, 336.66});
    // The cent left by rounding the payment is paid as an extra in the last row.
    expectRow(result.rows[2], 3, ymd(2024, 3, 15), {336.65, 0.01, 1000.00, 3.37, 20.07, 0.00});
    // The scheduled payment leaves that cent in the extra; the baseline counts it in the payment.
    EXPECT_EQ(result.rows[2].payment, 340.02);
    EXPECT_EQ(result.baselineBalances[2].payment, 340.03);
    EXPECT_EQ(result.paymentsSaved, 0);
}

TEST(WorkedExamples, LumpSumPaysOffEarly)
{
    const ScheduleResult result = runOk(loan(1000.0, 12, 3, Months, Monthly), {.extraPayments = {lumpSum(ymd(2024, 2, 1), 500.0)}});
    ASSERT_EQ(result.rows.size(), 2u);
    // Only what the balance needs of the 500.00.
    expectRow(result.rows[1], 2, ymd(2024, 2, 15), {333.32, 336.66, 1000.00, 6.70, 16.70, 0.00});
    EXPECT_EQ(result.paymentsSaved, 1);
    EXPECT_EQ(result.totalSaved, 3.37);
}

// The periodic rate to 8 decimals, the payment and the loan amount to cents,
// and each period's interest in whole cents: a run that carried the fractions
// would end with other total interest.
TEST(WorkedExamples, KnownFigures)
{
    struct Row { const char* name; LoanTerms terms; double periodicRate, payment, loanAmount, interest; };
    const Row rows[] = {
        {"HundredThousandAt6PercentOver30Years", loan(100000.0, 6, 30, Years, Monthly), 0.005, 599.55, 100000.0,
         115838.45},
        {"PaymentGivenDerivesLoanAmount", loan(std::nullopt, 6, 30, Years, Monthly, ymd(2024, 1, 15), 599.55), 0.005,
         599.55, 99999.91, 115838.20},
        {"RateRoundedToEightPlaces", loan(10000.0, 7.25, 36, Months, Monthly), 0.00604167, 309.92, 10000.0, 1156.90},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScheduleResult result = runOk(row.terms);
        EXPECT_TRUE(repaid(result));
        EXPECT_EQ(result.periodicRate, row.periodicRate);
        EXPECT_EQ(result.payment, row.payment);
        EXPECT_EQ(result.loanAmount, row.loanAmount);
        EXPECT_EQ(roundToCents(result.summary.interest), row.interest);
        EXPECT_EQ(roundToCents(result.baseline.interestPaid), row.interest);
    }
}

// An extra in the last row smaller than the rounding remainder must not leave
// cents owing nor count as a saved payment.
TEST(LastRow, ExtraBelowRemainderStillClearsBalance)
{
    const LoanTerms terms = loan(100000.0, 6, 30, Years, Monthly);
    ASSERT_GT(runOk(terms).rows.back().extra, 0.20);
    const ScheduleResult result = runOk(terms, {.extraPayments = {lumpSum(ymd(2053, 12, 1), 0.20)}});
    ASSERT_EQ(result.rows.size(), 360u);
    EXPECT_EQ(result.rows.back().balance, 0.0);
    EXPECT_EQ(result.paymentsSaved, 0);
}

// The last payment's rounding remainder is counted apart from the user's own
// extra payments, which it joins in the row and the summary.
TEST(LastRow, RoundingRemainderCountedApart)
{
    struct Row { const char* name; std::vector<ExtraPayment> extras; double userExtra; };
    const Row rows[] = {
        {"NoExtraPayments", {}, 0.0},
        {"LumpSumEarlier", {lumpSum(ymd(2030, 6, 1), 1000.0)}, 1000.0},
        {"LumpSumBelowRemainderInLastRow", {lumpSum(ymd(2053, 12, 1), 0.20)}, 0.20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScheduleResult result = runOk(loan(100000.0, 6, 30, Years, Monthly), {.extraPayments = row.extras});
        const double rounding = result.summary.lastPaymentRounding;
        EXPECT_EQ(roundToCents(result.summary.extraPayments - rounding), roundToCents(row.userExtra));
        if (row.extras.empty()) {
            EXPECT_GT(rounding, 0.0);
            EXPECT_EQ(rounding, result.rows.back().extra);
        }
    }
    // A loan that pays off early through its extra payments has no remainder.
    EXPECT_EQ(runOk(loan(100000.0, 6, 30, Years, Monthly), {.extraPayments = {lumpSum(ymd(2030, 6, 1), 50000.0)}})
                  .summary.lastPaymentRounding,
              0.0);
}

TEST(LastRow, RateAbove100PercentPerPeriodSavesNothing)
{
    // 1300 % a year is above 100 % a month: the balance never falls.
    const ScheduleResult result = runOk(loan(1000.0, 1300, 3, Months, Monthly));
    EXPECT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.paymentsSaved, 0);
}

TEST(ExtraPaymentsInRun, CountInTheRightRows)
{
    // expected: the extra of the first rows, due on the 1st of each month.
    struct Row { const char* name; std::vector<ExtraPayment> extras; bool suppress; Date today;
                 std::vector<double> expected; };
    const Row rows[] = {
        {"RepeatingOnStartAndStop", {repeating(ymd(2024, 3, 1), ymd(2024, 6, 1), 10)}, false, ymd(2024, 1, 1),
         {0, 0, 10, 10, 10, 10, 0}},
        {"SuppressedLumpSumAfterToday", {lumpSum(ymd(2024, 1, 20), 100), lumpSum(ymd(2024, 3, 20), 200)}, true,
         ymd(2024, 2, 20), {0, 100, 0, 0, 0}},
        {"UnsuppressedLumpSumAfterToday", {lumpSum(ymd(2024, 1, 20), 100), lumpSum(ymd(2024, 3, 20), 200)},
         false, ymd(2024, 2, 20), {0, 100, 0, 200, 0}},
        {"SuppressedRepeatingCutAtToday", {repeating(ymd(2024, 1, 1), ymd(2024, 12, 1), 5)}, true,
         ymd(2024, 3, 10), {5, 5, 5, 0, 0}},
        // Dates on or before today count as paid: one dated today is applied.
        {"SuppressedLumpSumDatedToday", {lumpSum(ymd(2024, 2, 1), 100), lumpSum(ymd(2024, 3, 1), 200)}, true,
         ymd(2024, 2, 1), {0, 100, 0, 0}},
        {"SuppressedRepeatingStartingToday", {repeating(ymd(2024, 3, 1), ymd(2024, 12, 1), 5)}, true,
         ymd(2024, 3, 1), {0, 0, 5, 0, 0}},
        {"SuppressedRepeatingStartingAfterToday", {repeating(ymd(2024, 4, 1), ymd(2024, 12, 1), 5)}, true,
         ymd(2024, 3, 10), {0, 0, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScheduleResult result =
            runOk(loan(10000.0, 6, 12, Months, Monthly, ymd(2024, 1, 1)),
                  {.extraPayments = row.extras, .suppressFuture = row.suppress, .today = row.today});
        std::vector<double> found;
        for (std::size_t i = 0; i < row.expected.size() && i < result.rows.size(); ++i)
            found.push_back(result.rows[i].extra);
        EXPECT_EQ(found, row.expected);
    }
}

// Without extra payments the baseline is the table, down to the 0.00 after
// the last payment, at any rate and frequency.
TEST(BaselineBalances, MatchTheTableWithoutExtraPayments)
{
    const LoanTerms loans[] = {loan(1200.0, 0, 12, Months, Monthly), loan(25000.0, 7.25, 10, Years, Weekly, ymd(2024, 11, 4)),
                               loan(5000.0, 9, 24, Months, SemiMonthly, ymd(2024, 1, 31))};
    for (const LoanTerms& terms : loans)
        EXPECT_TRUE(repaid(runOk(terms))) << int(*terms.frequency);
}

// With extra payments the baseline keeps every one of its own payments.
TEST(BaselineBalances, KeepTheirOwnRowsWithExtraPayments)
{
    struct Row { const char* name; LoanTerms terms; std::vector<ExtraPayment> extras; std::vector<double> first;
                 double last; std::size_t count; };
    const Row rows[] = {
        {"LumpSumPaysOffEarly", loan(1000.0, 12, 3, Months, Monthly), {lumpSum(ymd(2024, 2, 1), 500.0)},
         {669.98, 336.66, 0.00}, 0.00, 3},
        {"RepeatingOver30Years", loan(100000.0, 6, 30, Years, Monthly),
         {repeating(ymd(2024, 1, 1), ymd(2030, 1, 1), 200.0)}, {99900.45}, 0.00, 360},
        // Above 100 % a period the balance never falls.
        {"RateAbove100Percent", loan(1000.0, 1300, 3, Months, Monthly), {lumpSum(ymd(2024, 2, 1), 10.0)},
         {1000.00, 1000.00, 1000.00}, 1000.00, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScheduleResult result = runOk(row.terms, {.extraPayments = row.extras});
        ASSERT_EQ(result.baselineBalances.size(), row.count);
        EXPECT_EQ(short(result.baselineBalances.size()), result.baseline.payments);
        EXPECT_EQ(result.baselineBalances.back().dueDate, result.baseline.payoffDate);
        EXPECT_EQ(result.baselineBalances.back().balance, row.last);
        for (std::size_t i = 0; i < row.first.size(); ++i)
            EXPECT_EQ(result.baselineBalances[i].balance, row.first[i]) << "payment " << i + 1;
    }
}

TEST(RunFailures, FailAsAWholeWithNumberedError)
{
    struct Row { const char* name; LoanTerms terms; NumberedError expected; };
    const Row rows[] = {
        {"Years2731", loan(1000.0, 6, 2731, Years, Monthly), {6, "Overflow"}},
        {"OneMonthQuarterlyWithLoan", loan(1000.0, 6, 1, Months, Quarterly), {11, "Division by zero"}},
        {"OneMonthQuarterlyWithPayment", loan(std::nullopt, 6, 1, Months, Quarterly, ymd(2024, 1, 15), 100.0),
         {11, "Division by zero"}},
        // Beyond 9,999,999,999,999.99 the cents are no longer computed.
        {"LoanAboveTheLargestAmount", loan(10'000'000'000'000.0, 0, 12, Months, Monthly), figuresOverflowError()},
        {"TotalPaidAboveIt", loan(9'000'000'000'000.0, 6, 30, Years, Monthly), figuresOverflowError()},
        {"DerivedLoanAboveIt", loan(std::nullopt, 6, 30, Years, Monthly, ymd(2024, 1, 15), 1e11),
         figuresOverflowError()},
    };
    for (const Row& row : rows) {
        const RunOutcome outcome = runLoanTwice(row.terms, {});
        const auto* error = std::get_if<NumberedError>(&outcome);
        ASSERT_NE(error, nullptr) << row.name << ": run succeeded";
        EXPECT_EQ(*error, row.expected) << row.name;
    }
    EXPECT_EQ(runOk(loan(kLargestAmount, 0, 1, Months, Monthly)).summary.totalPaid, kLargestAmount);
}

}  // namespace
