// The loan as lenders state it: compounding apart from the payments,
// accelerated payments, and the APR with the fees in it.
#include "EngineTestSupport.h"

#include "Disclosure.h"
#include "PaymentCalendar.h"

#include <cmath>

using namespace enginetest;

namespace {

using C = engine::Compounding;

// 12 % a year paid monthly: each compounding's periodic rate to 8 decimals and
// the payment of 100,000 over 30 years.
TEST(Compounding, EachChoiceGivesItsPeriodicRate)
{
    struct Row { Compounding compounding; double periodicRate, payment; };
    const Row rows[] = {{C::AsPayments, 0.01, 1028.61},         {C::Annually, 0.00948879, 981.64},
                        {C::SemiAnnually, 0.00975879, 1006.39}, {C::Quarterly, 0.00990163, 1019.54},
                        {C::BiMonthly, 0.00995049, 1024.04},    {C::Monthly, 0.01, 1028.61},
                        {C::SemiMonthly, 0.010025, 1030.92},    {C::BiWeekly, 0.01002693, 1031.10},
                        {C::Weekly, 0.01003853, 1032.17},       {C::Daily, 0.01004851, 1033.10},
                        {C::Continuously, 0.01005017, 1033.25}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(kCompoundingTexts[std::size_t(row.compounding)]));
        const ScheduleResult result = runOk(compounded(loan(100000.0, 12, 30, Years, Monthly), row.compounding));
        EXPECT_EQ(result.periodicRate, row.periodicRate);
        EXPECT_EQ(result.payment, row.payment);
        EXPECT_TRUE(repaid(result));
    }
}

// A rate change's rate is converted as the loan's own: 12 % compounded
// semi-annually is 0.00975879 a month.
TEST(Compounding, RateChangesConvertedAlike)
{
    const LoanTerms terms = compounded(loan(100000.0, 6, 30, Years, Monthly), C::SemiAnnually);
    const ScheduleResult result = runOk(terms, {.rateChanges = {{ymd(2029, 1, 1), 12, RateChangeMode::NewPayment}}});
    EXPECT_TRUE(repaid(result));
    EXPECT_EQ(result.rows[60].interest, roundToCents(result.rows[59].balance * 0.00975879));
}

// Published figures: two Canadian mortgages, an accelerated bi-weekly one and
// Regulation Z's points example.
TEST(LenderExamples, PaymentsAndCounts)
{
    struct Row { const char* name; LoanTerms terms; double payment; std::size_t rows; };
    const Row rows[] = {
        {"Canadian85000", compounded(loan(85000.0, 11, 300, Months, Monthly), C::SemiAnnually), 818.15, 300},
        {"Canadian130000", compounded(loan(130000.0, 12, 30, Years, Monthly), C::SemiAnnually), 1308.30, 360},
        // Half of the monthly 1,841.03 before rounding.
        {"AcceleratedBiWeekly", compounded(loan(200000.0, 7.5, 15, Years, AcceleratedBiWeekly), C::SemiAnnually),
         920.51, 339},
        {"AcceleratedWeekly", compounded(loan(200000.0, 7.5, 15, Years, AcceleratedWeekly), C::SemiAnnually), 460.26,
         676},
        {"PointsExample", loan(75000.0, 13.25, 30, Years, Monthly), 844.33, 360},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScheduleResult result = runOk(row.terms);
        EXPECT_EQ(result.payment, row.payment);
        EXPECT_EQ(result.rows.size(), row.rows);
        EXPECT_TRUE(repaid(result));
    }
}

// Every 14 days from the first payment, at the bi-weekly rate of the
// compounding, until the balance is cleared by a last payment with no
// correction; the baseline is the same accelerated loan.
TEST(AcceleratedPayments, RunUntilTheBalanceIsCleared)
{
    const LoanTerms terms = compounded(loan(200000.0, 7.5, 15, Years, AcceleratedBiWeekly), C::SemiAnnually);
    const ScheduleResult result = runOk(terms, {.extraPayments = {lumpSum(ymd(2030, 1, 1), 10000.0)}});
    EXPECT_TRUE(repaid(result));
    EXPECT_EQ(result.periodicRate, 0.00283586);
    EXPECT_EQ(result.numberOfPayments, 391);  // the term at this rhythm, never reached
    EXPECT_EQ(result.rows[1].dueDate, ymd(2024, 1, 29));
    for (std::size_t i = 0; i + 1 < result.rows.size(); ++i)
        ASSERT_EQ(result.rows[i].payment, 920.51) << "payment " << i + 1;
    EXPECT_LT(result.rows.back().payment, 920.51);
    EXPECT_EQ(result.rows.back().extra, 0.0);
    EXPECT_EQ(result.baseline.payments, 339);
    EXPECT_GT(result.paymentsSaved, 0);

    // A "New payment" change: half the monthly payment of the balance over the
    // months of the term not yet begun (the change takes effect with payment
    // 130, due 25 December 2028: 60 of the 180 months have begun).
    const ScheduleResult changed = runOk(terms, {.rateChanges = {{ymd(2028, 12, 20), 6, RateChangeMode::NewPayment}}});
    EXPECT_TRUE(repaid(changed));
    const double monthly = paymentForLoan(changed.rows[128].balance, periodicRate(0.06, C::SemiAnnually, 12), 120);
    EXPECT_EQ(changed.rateChangeEffects[0], (RateChangeEffect{true, 130, roundToCents(monthly / 2)}));

    // Without a loan amount: the loan whose monthly payment is twice the payment typed.
    EXPECT_EQ(runOk(compounded(loan(std::nullopt, 7.5, 15, Years, AcceleratedBiWeekly, ymd(2024, 1, 15), 920.51),
                               C::SemiAnnually)).loanAmount,
              199999.20);
    // Nothing to solve: the payment is not the level payment of the term.
    for (Unknown unknown : {Unknown::InterestRate, Unknown::Term}) {
        const RunOutcome outcome = runLoan(loan(200000.0, 7.5, 15, Years, AcceleratedWeekly, ymd(2024, 1, 15), 460.26),
                                           {.calculate = unknown});
        ASSERT_TRUE(std::holds_alternative<ShapeFailure>(outcome)) << "alternative " << outcome.index();
        EXPECT_EQ(std::get<ShapeFailure>(outcome),
                  (ShapeFailure{ShapeFailure::Reason::CannotSolve, Shape::AcceleratedPayments}));
    }
}

double apr(double financed, Date advance, const std::vector<DatedPayment>& payments, PaymentFrequency frequency)
{
    const auto found = annualPercentageRate(financed, advance, payments, frequency);
    EXPECT_TRUE(std::holds_alternative<double>(found)) << "refused";
    return std::holds_alternative<double>(found) ? std::get<double>(found) : 0.0;
}

// Regulation Z, Appendix J's own examples: 9.69 % and 10.34 %.
TEST(AnnualPercentageRate, RegulationZExamples)
{
    std::vector<DatedPayment> monthly, semiMonthly;
    for (int k = 0; k < 24; ++k) {
        const int month = 1 + k;  // February 1978 onwards
        monthly.push_back({ymd(1978 + month / 12, unsigned(month % 12 + 1), 10), 230.0});
        semiMonthly.push_back({ymd(1978 + (k / 2 + 2) / 12, unsigned((k / 2 + 2) % 12 + 1), k % 2 ? 16 : 1), 219.17});
    }
    EXPECT_NEAR(apr(5000.0, ymd(1978, 1, 10), monthly, Monthly), 9.6857, 0.0005);
    // No whole half month and 6/15 of one before the first payment.
    EXPECT_NEAR(apr(5000.0, ymd(1978, 2, 23), semiMonthly, SemiMonthly), 10.3379, 0.0005);
}

// An odd first period at each frequency: three payments of 400 for 1,000,
// the first due 15 January 2024 after t whole unit-periods and the fraction
// f of one; each later one a unit-period more.
TEST(AnnualPercentageRate, OddFirstPeriodAtEachFrequency)
{
    struct Row { PaymentFrequency frequency; Date advance; int whole; double fraction; };
    const Row rows[] = {
        {Weekly, ymd(2024, 1, 5), 1, 3.0 / 7},         {BiWeekly, ymd(2024, 1, 5), 0, 10.0 / 14},
        {AcceleratedWeekly, ymd(2024, 1, 12), 0, 3.0 / 7}, {AcceleratedBiWeekly, ymd(2023, 12, 26), 1, 6.0 / 14},
        {SemiMonthly, ymd(2023, 12, 20), 1, 11.0 / 15}, {Monthly, ymd(2023, 12, 1), 1, 14.0 / 30},
        {BiMonthly, ymd(2023, 12, 1), 0, 44.0 / 60},    {Quarterly, ymd(2023, 9, 1), 1, 44.0 / 90},
        {SemiAnnually, ymd(2023, 12, 1), 0, 44.0 / 180}, {Annually, ymd(2022, 11, 20), 1, 55.0 / 360},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(kFrequencyTexts[std::size_t(row.frequency)]));
        std::vector<DatedPayment> payments;
        for (int k = 1; k <= 3; ++k)
            payments.push_back({nextPaymentDate(row.frequency, k, ymd(2024, 1, 15)), 400.0});
        const double i = apr(1000.0, row.advance, payments, row.frequency) / 100.0 / periodsPerYear(row.frequency);
        double present = 0.0;
        for (int k = 0; k < 3; ++k)
            present += 400.0 / ((1 + row.fraction * i) * std::pow(1 + i, row.whole + k));
        EXPECT_NEAR(present, 1000.0, 1e-7);
    }
}

// One payment period before the first payment (31 March 2024), as the APR counts it.
TEST(AnnualPercentageRate, LoanDateDefaultsToOnePeriodBefore)
{
    const Date expected[] = {ymd(2024, 3, 24), ymd(2024, 3, 17), ymd(2024, 2, 29), ymd(2024, 3, 16),
                             ymd(2024, 1, 31), ymd(2023, 12, 31), ymd(2023, 9, 30), ymd(2023, 3, 31),
                             ymd(2024, 3, 17), ymd(2024, 3, 24)};
    for (int f = 0; f < 10; ++f) {
        SCOPED_TRACE(std::string(kFrequencyTexts[std::size_t(f)]));
        EXPECT_EQ(dateText(periodBefore(PaymentFrequency(f), ymd(2024, 3, 31))), dateText(expected[f]));
        // No fees and no odd days: the APR is the rate itself, up to the payment's rounding.
        const ScheduleResult result = runOk(loan(100000.0, 6, 10, Years, PaymentFrequency(f)));
        const auto figures = disclosureFigures(result, {});
        ASSERT_TRUE(std::holds_alternative<DisclosureFigures>(figures));
        EXPECT_NEAR(std::get<DisclosureFigures>(figures).annualPercentageRate, 6.0,
                    0.0005);
    }
}

// $75,000 at 13.25 % over 30 years monthly with 3 points.
TEST(Disclosure, PointsExample)
{
    const ScheduleResult result = runOk(loan(75000.0, 13.25, 30, Years, Monthly),
                                        {.extraPayments = {lumpSum(ymd(2030, 1, 1), 5000.0)}});
    const auto figures = disclosureFigures(result, {.fees = 0.0, .pointsPercent = 3.0, .loanDate = std::nullopt});
    ASSERT_TRUE(std::holds_alternative<DisclosureFigures>(figures));
    const DisclosureFigures& f = std::get<DisclosureFigures>(figures);
    EXPECT_EQ(f.amountFinanced, 72750.00);
    // The scheduled payments are those without the extra payment: 359 of 844.33 and 847.15.
    EXPECT_EQ(f.financeCharge, 231211.62);
    EXPECT_NEAR(f.annualPercentageRate, 13.693, 0.0005);
    EXPECT_EQ(f.loanDate, ymd(2023, 12, 15));
    // Fees come off the amount financed alike.
    const auto withFee = disclosureFigures(result, {.fees = 250.0, .pointsPercent = 3.0, .loanDate = std::nullopt});
    EXPECT_EQ(std::get<DisclosureFigures>(withFee).amountFinanced, 72500.00);
}

}  // namespace
