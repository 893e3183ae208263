#pragma once

#include "LoanTerms.h"
#include "RateChange.h"
#include "Schedule.h"

#include <optional>

// Internal: the terms of one run as numbers, shared by the run with extra
// payments and the baseline without them.
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

}  // namespace engine::detail
