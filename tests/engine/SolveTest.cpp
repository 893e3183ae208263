// Solving for the rate or the term from both amounts.
#include "EngineTestSupport.h"

#include "Money.h"
#include "Schedule.h"
#include "Solve.h"

#include <cmath>

using namespace enginetest;

namespace {

// Both amounts given, as solving needs them.
LoanTerms loan(double amount, double payment, double ratePercent, int term, TermUnit unit,
               PaymentFrequency frequency, Date first = ymd(2024, 1, 15))
{
    return enginetest::loan(amount, ratePercent, term, unit, frequency, first, payment);
}

RunOutcome solving(Unknown unknown, const LoanTerms& terms, const std::vector<RateChange>& changes = {},
                   const std::vector<ExtraPayment>& extras = {})
{
    return runLoanTwice(terms, {.extraPayments = extras, .rateChanges = changes, .calculate = unknown});
}

double levelPayment(double amount, double percent, int n, int perYear, Compounding compounding = {})
{
    return roundToCents(paymentForLoan(amount, periodicRate(percent / 100.0, compounding, perYear), n));
}

TEST(SolveRate, KnownAnswers)
{
    struct Row {
        const char* name;
        double loan, payment;
        int n, perYear;
        double periodicRate;  // the root, to 7 decimals
        double percent;       // the fewest decimals giving the payment
        Compounding compounding = Compounding::AsPayments;
    };
    const Row rows[] = {
        // RATE(50, 35, -250): 0.1397983 per period.
        {"Rate50Payments", 250, 35, 50, 1, 0.1397983, 13.98},
        {"HundredThousandOver30Years", 100000, 599.55, 360, 12, 0.005, 6},
        // 309.92 is 7.25 % to the cent, but its own root lies a little higher.
        {"SevenQuarterPercent", 10000, 309.92, 36, 12, 0.0060425, 7.25},
        {"ZeroExactly", 1200, 100, 12, 12, 0.0, 0},
        // 3 x 333.33 is below 1,000, yet 0 % gives 333.33 to the cent.
        {"ZeroToTheCent", 1000, 333.33, 3, 12, 0.0, 0},
        {"OnePayment", 1000, 1100, 1, 1, 0.1, 10},
        // So long that the payment is nearly the interest alone: 300 / 250,000.
        {"WeeklyLongest", 250000, 300, 32767, 52, 0.0012, 6.24},
        // The annual rate under the loan's compounding: a Canadian mortgage.
        {"CompoundedSemiAnnually", 85000, 818.15, 300, 12, 0.0089634, 11, Compounding::SemiAnnually},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto solved = solveRate(row.loan, row.payment, row.n, row.perYear, row.compounding);
        ASSERT_TRUE(std::holds_alternative<RateSolution>(solved)) << "alternative " << solved.index();
        const RateSolution& s = std::get<RateSolution>(solved);
        EXPECT_NEAR(s.periodicRate, row.periodicRate, 5e-8);
        EXPECT_EQ(levelPayment(row.loan, s.annualPercent, row.n, row.perYear, row.compounding), row.payment);
        EXPECT_EQ(s.annualPercent, row.percent);
        // Fewest decimals: one fewer gives another payment at every neighbour.
        if (s.decimals > 0) {
            const double step = std::pow(10.0, 1 - s.decimals);
            const double shorter = roundDecimal(s.annualPercent, s.decimals - 1);
            for (double candidate : {shorter - step, shorter, shorter + step}) {
                if (candidate >= 0) {
                    EXPECT_NE(levelPayment(row.loan, candidate, row.n, row.perYear, row.compounding), row.payment)
                        << candidate;
                }
            }
        }
    }
}

TEST(SolveRate, PaymentsNoRateGives)
{
    struct Row { const char* name; double loan, payment; int n; SolveFailure expected; };
    const Row rows[] = {
        {"BelowTheZeroRatePayment", 1000, 80, 12, SolveFailure::NoRate},
        {"OneCentShort", 1000, 333.32, 3, SolveFailure::NoRate},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto solved = solveRate(row.loan, row.payment, row.n, 12);
        ASSERT_TRUE(std::holds_alternative<SolveFailure>(solved));
        EXPECT_EQ(std::get<SolveFailure>(solved), row.expected);
    }
}

TEST(SolveRate, RunProceedsWithTheSolvedRate)
{
    const RunOutcome outcome = solving(Unknown::InterestRate, loan(100000, 599.55, 0, 30, Years, Monthly));
    ASSERT_TRUE(std::holds_alternative<ScheduleResult>(outcome));
    const ScheduleResult& result = std::get<ScheduleResult>(outcome);
    EXPECT_EQ(result.payment, 599.55);
    EXPECT_EQ(result.annualRatePercent, 6.0);
    ASSERT_TRUE(result.solvedRate.has_value());
    EXPECT_EQ(result.rows.size(), 360u);
    EXPECT_TRUE(repaid(result));

    const RunOutcome refused = solving(Unknown::InterestRate, loan(100000, 250, 6, 30, Years, Monthly));
    ASSERT_TRUE(std::holds_alternative<SolveFailure>(refused));
    EXPECT_EQ(std::get<SolveFailure>(refused), SolveFailure::NoRate);
}

TEST(SolveTerm, SmallestCountAndTheWholeTermHoldingIt)
{
    struct Row {
        const char* name;
        LoanTerms terms;
        short payments;
        int term;
    };
    const Row rows[] = {
        // 599.55 is the level payment of 360 rounded down: 360, not 361.
        {"ExactMonths", loan(100000, 599.55, 6, 1, Months, Monthly), 360, 360},
        {"ExactYears", loan(100000, 599.55, 6, 1, Years, Monthly), 360, 30},
        {"BetweenYears", loan(100000, 700, 6, 1, Years, Monthly), 0, 0},
        {"ZeroRate", loan(1200, 100, 0, 1, Months, Monthly), 12, 12},
        {"ZeroRateBetween", loan(1200, 110, 0, 1, Years, Quarterly), 11, 3},
        {"WeeklyInMonths", loan(25000, 60, 7.25, 1, Months, Weekly, ymd(2024, 11, 4)), 0, 0},
        {"BiWeeklyInYears", loan(25000, 120, 7.25, 1, Years, BiWeekly, ymd(2024, 11, 4)), 0, 0},
        {"SemiMonthly", loan(5000, 228.42, 9, 1, Months, SemiMonthly, ymd(2024, 1, 31)), 0, 0},
        {"CompoundedSemiAnnually", compounded(loan(85000, 818.15, 11, 1, Years, Monthly), Compounding::SemiAnnually),
         300, 25},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double amount = *row.terms.loanAmount;
        const auto solved = solveTerm(row.terms, amount, row.terms.paymentAmount);
        ASSERT_TRUE(std::holds_alternative<TermSolution>(solved)) << "alternative " << solved.index();
        const TermSolution s = std::get<TermSolution>(solved);
        const int perYear = periodsPerYear(row.terms.frequency);
        if (row.payments) {
            EXPECT_EQ(s.payments, row.payments);
            EXPECT_EQ(s.term, row.term);
        }
        // The smallest count whose level payment is not above the payment...
        const double rate = row.terms.annualRatePercent;
        EXPECT_LE(levelPayment(amount, rate, s.payments, perYear, row.terms.compounding), row.terms.paymentAmount);
        if (s.payments > 1) {
            EXPECT_GT(levelPayment(amount, rate, s.payments - 1, perYear, row.terms.compounding),
                      row.terms.paymentAmount);
        }
        // ...and the shortest whole term holding it.
        LoanTerms counted = row.terms;
        counted.term = s.term;
        EXPECT_GE(numberOfPayments(counted), s.payments);
        counted.term = s.term - 1;
        EXPECT_LT(numberOfPayments(counted), s.payments);

        // The run pays the typed payment over that count, repaid to the cent.
        const RunOutcome outcome = solving(Unknown::Term, row.terms);
        ASSERT_TRUE(std::holds_alternative<ScheduleResult>(outcome));
        const ScheduleResult& result = std::get<ScheduleResult>(outcome);
        EXPECT_EQ(result.numberOfPayments, s.payments);
        EXPECT_EQ(result.term, s.term);
        EXPECT_EQ(result.payment, row.terms.paymentAmount);
        EXPECT_EQ(result.rows.size(), std::size_t(s.payments));
        EXPECT_TRUE(repaid(result));
        for (std::size_t i = 0; i + 1 < result.rows.size(); ++i)
            ASSERT_EQ(result.rows[i].payment, row.terms.paymentAmount);
    }
}

TEST(SolveTerm, LastRowRules)
{
    // 700 is above the level payment of its count: a smaller last payment, no extra.
    const RunOutcome above = solving(Unknown::Term, loan(100000, 700, 6, 1, Years, Monthly));
    const ScheduleResult& a = std::get<ScheduleResult>(above);
    EXPECT_LT(a.rows.back().payment, 700.0);
    EXPECT_EQ(a.rows.back().extra, 0.0);
    // 599.55 is the level payment rounded down: the cents left over are the
    // last scheduled row's correction.
    const RunOutcome level = solving(Unknown::Term, loan(100000, 599.55, 6, 1, Years, Monthly));
    const ScheduleResult& l = std::get<ScheduleResult>(level);
    EXPECT_GT(l.rows.back().extra, 0.0);
    EXPECT_EQ(l.rows.back().balance, 0.0);
}

TEST(SolveTerm, PaymentNotAboveTheFirstInterest)
{
    for (double payment : {500.0, 499.99}) {
        const auto solved = solveTerm(loan(100000, payment, 6, 1, Years, Monthly), 100000, payment);
        ASSERT_TRUE(std::holds_alternative<SolveFailure>(solved)) << payment;
        EXPECT_EQ(std::get<SolveFailure>(solved), SolveFailure::PaymentNotAboveInterest);
    }
    // One cent above it is enough: the level payment comes within half a cent
    // of the interest after some 2,000 payments.
    const auto longLoan = solveTerm(loan(100000, 500.01, 6, 1, Years, Monthly), 100000, 500.01);
    ASSERT_TRUE(std::holds_alternative<TermSolution>(longLoan));
    EXPECT_GT(std::get<TermSolution>(longLoan).payments, 2000);
    EXPECT_LT(std::get<TermSolution>(longLoan).payments, 2200);
}

// Both solves with extra payments and rate changes on top.
TEST(Solving, WithExtraPaymentsAndRateChanges)
{
    const std::vector<RateChange> changes = {{ymd(2029, 1, 1), 7, RateChangeMode::NewPayment},
                                             {ymd(2034, 1, 1), 5, RateChangeMode::SamePayment}};
    const std::vector<ExtraPayment> extras = {{ExtraPaymentKind::LumpSum, ymd(2026, 6, 1), std::nullopt, 5000.0}};
    for (Unknown unknown : {Unknown::InterestRate, Unknown::Term}) {
        SCOPED_TRACE(int(unknown));
        const RunOutcome outcome = solving(unknown, loan(100000, 599.55, 6, 30, Years, Monthly), changes, extras);
        ASSERT_TRUE(std::holds_alternative<ScheduleResult>(outcome)) << "alternative " << outcome.index();
        const ScheduleResult& result = std::get<ScheduleResult>(outcome);
        EXPECT_EQ(result.numberOfPayments, 360);
        EXPECT_EQ(result.rows.back().balance, 0.0);
        EXPECT_EQ(result.baselineBalances.back().balance, 0.0);
        // "New payment" spreads the lump sum over the rest of the loan: it ends
        // as scheduled, with less interest.
        EXPECT_GT(result.totalSaved, 0.0);
        EXPECT_TRUE(rateChangeTakesEffect(result, 60));
    }
}

}  // namespace
