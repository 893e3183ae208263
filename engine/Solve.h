#pragma once

#include "LoanTerms.h"
#include "NumberedError.h"

#include <variant>

namespace engine {

// What a run derives from the other inputs.
enum class Unknown {
    PaymentOrLoanAmount = 0,  // the payment from the loan amount, or with a blank loan amount the reverse
    InterestRate = 1,         // from both amounts and the term
    Term = 2,                 // from both amounts and the rate
};

struct RateSolution {
    double periodicRate = 0.0;   // the root itself: the unrounded rate per period
    double annualPercent = 0.0;  // with the fewest decimals whose payment is the given one to the cent
    int decimals = 0;            // 0 to 8
};

struct TermSolution {
    short payments = 0;  // the smallest count whose level payment is not above the given one
    int term = 0;        // the smallest whole term in the loan's unit whose count covers `payments`
};

enum class SolveFailure {
    NoRate,                   // even at 0 % the payment is larger than the given one
    NoRateToTheCent,          // no rate with up to 8 decimals gives the payment to the cent
    PaymentNotAboveInterest,  // term: the payment does not exceed the first period's interest
};

// The annual rate, under `compounding`, at which `loan` is repaid by `payment`
// over `payments` payments, both amounts in cents. A bracketed root finder: bisection with
// Newton steps that stay inside the bracket.
std::variant<RateSolution, SolveFailure, NumberedError>
solveRate(double loan, double payment, int payments, int periodsPerYear,
          Compounding compounding = Compounding::AsPayments);

// The number of payments of `payment` that repays `loan` at the loan's rate,
// and the whole term in terms.termUnit that holds them, counted as
// numberOfPayments() counts (weekly counts depend on the first payment date).
// Reads the rate, its compounding, the unit, the frequency and the first
// payment date of `terms`.
std::variant<TermSolution, SolveFailure, NumberedError>
solveTerm(const LoanTerms& terms, double loan, double payment);

}  // namespace engine
