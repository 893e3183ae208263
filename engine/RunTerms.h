#pragma once

#include "LoanTerms.h"
#include "Shapes.h"

// Internal: the terms of one run as numbers, shared by the run with extra
// payments and the baseline without them.
namespace engine::detail {

// The rates of one payment period at one annual rate.
struct PeriodRates {
    double interest = 0.0;  // to 8 decimals: each period's interest
    // Unrounded, for the level payment: the periodic rate, or for an
    // accelerated loan the monthly rate of its monthly payment.
    double level = 0.0;
};

// The periodic rates of `annualFraction` under the loan's compounding. As
// payments, or compounded once a payment, the interest rate is formed as
// percent / q / 100 rounded, exactly as it always was.
PeriodRates ratesOf(double annualFraction, Compounding compounding, short periodsPerYear, int acceleration);

struct RunTerms {
    PaymentFrequency frequency{};
    Date firstPaymentDate{};
    Compounding compounding = Compounding::AsPayments;
    double annualFraction = 0.0;
    short payments = 0;  // n, the scheduled payments
    short periodsPerYear = 0;
    short months = 0;      // the term in months
    int acceleration = 0;  // 2 or 4 for the accelerated frequencies: the part of a monthly payment
    PeriodRates rates;     // of the loan's own rate
    int interestOnly = 0;  // k: payments 1..k pay interest only
    int balloonAfter = 0;  // b: payment b pays the whole balance; 0 none

    PeriodRates ratesAt(double annualFraction) const;
    // The level payment from payment `number` (due on `due`) on, of `balance`
    // over the scheduled payments left, this one included (at least 1 after
    // the first), to cents. For an accelerated loan: its part of the monthly payment over the
    // months of the term not yet begun at `due` (at least 1).
    double levelPayment(double balance, const PeriodRates& at, int number, Date due) const;
    // The balance whose level payment from payment `number` on is `payment`, unrounded.
    double balanceFor(double payment, const PeriodRates& at, int number, Date due) const;

    // The loan's own level payment of `loan`, from the first payment or the
    // first after the interest-only ones, to cents; and the loan amount
    // whose level payment `payment` is, unrounded.
    double paymentOf(double loan) const;
    double loanOf(double payment) const;

private:
    int periodsLeft(int number, Date due) const;
    Date levelStart() const;
};

// The fraction, the counts and the rates; "Division by zero" without a
// frequency. Throws ShapeRefusal for interest-only payments or a balloon not
// before the scheduled end, EngineFailure (380) for a negative count.
RunTerms readTerms(const LoanTerms& terms);

// The loan amount and the payment, both rounded to cents: the level payment
// after the interest-only payments, or the loan amount whose level payment
// that is.
struct Amounts {
    double loan = 0.0;
    double payment = 0.0;
};
Amounts deriveAmounts(const LoanTerms& terms, const RunTerms& run);

// Carries a ShapeFailure out of a run.
struct ShapeRefusal {
    ShapeFailure failure;
};

}  // namespace engine::detail
