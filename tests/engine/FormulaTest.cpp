#include "EngineTestSupport.h"

#include "Money.h"

#include <cmath>
#include <functional>

using namespace engine;

namespace {

// --- Values of the two annuity formulas --------------------------------------

struct FormulaRow {
    const char* name;
    std::function<double()> compute;
    double expectedCents;  // after the caller's rounding to cents
};

class AnnuityFormulas : public ::testing::TestWithParam<FormulaRow> {};

TEST_P(AnnuityFormulas, GiveKnownAmounts)
{
    const FormulaRow& row = GetParam();
    EXPECT_DOUBLE_EQ(roundToCents(row.compute()), row.expectedCents);
}

INSTANTIATE_TEST_SUITE_P(
    Known, AnnuityFormulas,
    ::testing::Values(
        FormulaRow{"Payment100000At6Percent360", [] { return paymentForLoan(100000, 0.06, 360, 12); }, 599.55},
        FormulaRow{"Loan599_55At6Percent360", [] { return loanForPayment(599.55, 0.06, 360, 12); }, 99999.91},
        FormulaRow{"PaymentAtRate0", [] { return paymentForLoan(1200, 0.0, 12, 12); }, 100.0},
        FormulaRow{"LoanAtRate0", [] { return loanForPayment(100, 0.0, 12, 12); }, 1200.0},
        FormulaRow{"Payment10000At7_25Percent36", [] { return paymentForLoan(10000, 0.0725, 36, 12); }, 309.92},
        FormulaRow{"Payment1000At12Percent3", [] { return paymentForLoan(1000, 0.12, 3, 12); }, 340.02},
        FormulaRow{"SinglePaymentAddsOnePeriod", [] { return paymentForLoan(1000, 0.12, 1, 12); }, 1010.0},
        // No payments: nothing is repaid, the amount is 0 (the run then fails later).
        FormulaRow{"LoanForNoPayments", [] { return loanForPayment(100, 0.06, 0, 4); }, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnnuityFormulas, AreInverseOfEachOther)
{
    for (int n : {1, 12, 360, 1565}) {
        const double payment = paymentForLoan(250000, 0.045, n, 52);
        EXPECT_NEAR(loanForPayment(payment, 0.045, n, 52), 250000, 1e-6) << n << " payments";
    }
}

// --- Failures: division by zero and overflow ---------------------------------

struct FailureRow {
    const char* name;
    std::function<double()> compute;
    EngineError expected;
};

class AnnuityFailures : public ::testing::TestWithParam<FailureRow> {};

TEST_P(AnnuityFailures, ThrowNumberedError)
{
    const FailureRow& row = GetParam();
    try {
        const double value = row.compute();
        FAIL() << "returned " << value;
    } catch (const EngineFailure& failure) {
        EXPECT_EQ(failure.error(), row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AnnuityFailures,
    ::testing::Values(
        FailureRow{"PaymentNoPaymentsWithRate", [] { return paymentForLoan(1000, 0.06, 0, 4); }, divisionByZeroError()},
        FailureRow{"PaymentNoPaymentsRate0", [] { return paymentForLoan(1000, 0.0, 0, 4); }, divisionByZeroError()},
        FailureRow{"PaymentNoPeriodsPerYear", [] { return paymentForLoan(1000, 0.06, 0, 0); }, divisionByZeroError()},
        // So small a rate that 1 + r is 1: g - 1 is 0.
        FailureRow{"PaymentRateVanishes", [] { return paymentForLoan(1000, 1e-300, 12, 12); }, divisionByZeroError()},
        FailureRow{"PaymentAbsurdRate", [] { return paymentForLoan(1000, 1e306, 360, 12); }, overflowError()},
        FailureRow{"PaymentAbsurdRateOnePayment", [] { return paymentForLoan(1e10, 1e300, 1, 1); }, overflowError()},
        FailureRow{"LoanAbsurdRate", [] { return loanForPayment(100, 1e306, 360, 12); }, overflowError()},
        FailureRow{"LoanAbsurdPaymentRate0", [] { return loanForPayment(1e308, 0.0, 360, 12); }, overflowError()}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
