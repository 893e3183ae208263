#pragma once

#include "LoanTerms.h"
#include "RateChange.h"
#include "Schedule.h"

#include <optional>

// Internal pieces of one run, shared by the run with extra payments and the
// baseline without them.
namespace engine::detail {

struct RunTerms {
    double annualFraction = 0.0;
    short payments = 0;
    short periodsPerYear = 0;
    double periodicRate = 0.0;  // rounded to 8 decimals
};

// Step 4 of a run: the fraction, the counts and the rounded periodic rate.
RunTerms readTerms(const LoanTerms& terms);

// The loan amount and the payment, both rounded to cents (step 5).
struct Amounts {
    double loan = 0.0;
    double payment = 0.0;
};
Amounts deriveAmounts(const LoanTerms& terms, const RunTerms& run);

// The same loan without extra payments, starting from the run's loan amount
// and following the same rate changes; the balance after each of its payments
// goes to `balances`. Without `payment` it pays the level payment of the loan
// amount, recomputed as the run's own first step does.
BaselineFigures runBaseline(const LoanTerms& terms, const RunTerms& run, double loanAmount,
                            const std::vector<RateChange>& rateChanges, std::optional<double> payment,
                            std::vector<BalancePoint>& balances);

}  // namespace engine::detail
