#include "RunTerms.h"

#include "EngineError.h"
#include "Money.h"

#include <cmath>

namespace engine::detail {

double finite(double value)
{
    if (!std::isfinite(value))
        throw EngineFailure(overflowError());
    return value;
}

RunTerms readTerms(const LoanTerms& terms)
{
    RunTerms run;
    run.annualFraction = finite(terms.annualRatePercent / 100.0);
    run.payments = numberOfPayments(terms);
    run.periodsPerYear = periodsPerYear(terms.frequency);
    if (run.periodsPerYear == 0)
        throw EngineFailure(divisionByZeroError());
    run.periodicRate = roundRate(finite(finite(run.annualFraction * 100.0) / run.periodsPerYear) / 100.0);
    return run;
}

Amounts deriveAmounts(const LoanTerms& terms, const RunTerms& run)
{
    Amounts amounts;
    if (terms.loanAmount) {
        amounts.loan = roundToCents(finite(*terms.loanAmount));
        amounts.payment = roundToCents(
            paymentForLoan(amounts.loan, run.annualFraction, run.payments, run.periodsPerYear));
    } else {
        amounts.payment = roundToCents(finite(terms.paymentAmount));
        amounts.loan = roundToCents(
            loanForPayment(amounts.payment, run.annualFraction, run.payments, run.periodsPerYear));
    }
    return amounts;
}

}  // namespace engine::detail
