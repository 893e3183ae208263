#include "EngineTestSupport.h"

#include "Money.h"
#include "PaymentCalendar.h"
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

TEST(WorkedExamples, HundredThousandAt6PercentOver30Years)
{
    const ScheduleResult result = runOk(loan(100000.0, 6, 30, Years, Monthly));
    EXPECT_EQ(result.payment, 599.55);
    ASSERT_EQ(result.rows.size(), 360u);
    expectRow(result.rows[0], 1, ymd(2024, 1, 15), {99.55, 0.00, 99.55, 500.00, 500.00, 99900.45});
    EXPECT_EQ(result.rows.back().number, 360);
    EXPECT_EQ(result.rows.back().balance, 0.0);
    EXPECT_EQ(result.paymentsSaved, 0);
    // Each period's interest is the balance times the periodic rate, in whole
    // cents: a run that carried the fractions would end elsewhere.
    double balance = 100000.0;
    for (const ScheduleRow& row : result.rows) {
        ASSERT_EQ(row.interest, roundToCents(balance * 0.005)) << "payment " << row.number;
        balance = row.balance;
    }
    EXPECT_EQ(roundToCents(result.rows.back().cumulativeInterest), 115838.45);
    EXPECT_EQ(roundToCents(result.summary.interest), 115838.45);
    EXPECT_EQ(roundToCents(result.baseline.interestPaid), 115838.45);
}

TEST(WorkedExamples, PaymentGivenDerivesLoanAmount)
{
    const ScheduleResult result = runOk(loan(std::nullopt, 6, 30, Years, Monthly, ymd(2024, 1, 15), 599.55));
    EXPECT_EQ(result.loanAmount, 99999.91);
    ASSERT_FALSE(result.rows.empty());
    expectRow(result.rows[0], 1, ymd(2024, 1, 15), {99.55, 0.00, 99.55, 500.00, 500.00, 99900.36});
}

TEST(WorkedExamples, RateRoundedToEightPlaces)
{
    const ScheduleResult result = runOk(loan(10000.0, 7.25, 36, Months, Monthly));
    EXPECT_EQ(result.periodicRate, 0.00604167);
    EXPECT_EQ(result.payment, 309.92);
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

// Without extra payments the baseline's own rows are the table's rows: same
// due dates, same balances, down to the 0.00 after the last payment.
TEST(BaselineBalances, MatchTheTableWithoutExtraPayments)
{
    struct Row { const char* name; LoanTerms terms; };
    const Row rows[] = {
        {"WorkedExample", loan(1000.0, 12, 3, Months, Monthly)},
        {"HundredThousand30Years", loan(100000.0, 6, 30, Years, Monthly)},
        {"PaymentGiven", loan(std::nullopt, 6, 30, Years, Monthly, ymd(2024, 1, 15), 599.55)},
        {"ZeroRate", loan(1200.0, 0, 12, Months, Monthly)},
        {"WeeklyTenYears", loan(25000.0, 7.25, 10, Years, Weekly, ymd(2024, 11, 4))},
        {"SemiMonthly", loan(5000.0, 9, 24, Months, SemiMonthly, ymd(2024, 1, 31))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScheduleResult result = runOk(row.terms);
        ASSERT_EQ(result.baselineBalances.size(), result.rows.size());
        for (std::size_t i = 0; i < result.rows.size(); ++i) {
            SCOPED_TRACE("payment " + std::to_string(i + 1));
            EXPECT_EQ(result.baselineBalances[i].dueDate, result.rows[i].dueDate);
            EXPECT_EQ(result.baselineBalances[i].balance, result.rows[i].balance);
        }
        EXPECT_EQ(result.baselineBalances.back().balance, 0.0);
    }
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
        std::vector<double> first;
        for (std::size_t i = 0; i < row.first.size(); ++i)
            first.push_back(result.baselineBalances[i].balance);
        EXPECT_EQ(first, row.first);
        for (std::size_t i = 0; i < result.baselineBalances.size(); ++i)
            EXPECT_EQ(result.baselineBalances[i].dueDate, nextPaymentDate(*row.terms.frequency, int(i) + 1,
                                                                           row.terms.firstPaymentDate));
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
