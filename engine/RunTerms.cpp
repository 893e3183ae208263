#include "RunTerms.h"

#include "NumberedError.h"
#include "WholeNumbers.h"
#include "Money.h"

namespace engine::detail {

RunTerms readTerms(const LoanTerms& terms)
{
    RunTerms run;
    run.annualFraction = finiteOrOverflow(terms.annualRatePercent / 100.0);
    run.payments = numberOfPayments(terms);
    run.periodsPerYear = periodsPerYear(terms.frequency);
    if (run.periodsPerYear == 0)
        throw EngineFailure(divisionByZeroError());
    run.periodicRate = roundRate(finiteOrOverflow(finiteOrOverflow(run.annualFraction * 100.0) / run.periodsPerYear) / 100.0);
    return run;
}

Amounts deriveAmounts(const LoanTerms& terms, const RunTerms& run)
{
    Amounts amounts;
    if (terms.loanAmount) {
        amounts.loan = checkedAmount(roundToCents(*terms.loanAmount));
        amounts.payment = checkedAmount(roundToCents(
            paymentForLoan(amounts.loan, run.annualFraction, run.payments, run.periodsPerYear)));
    } else {
        amounts.payment = checkedAmount(roundToCents(terms.paymentAmount));
        amounts.loan = checkedAmount(roundToCents(
            loanForPayment(amounts.payment, run.annualFraction, run.payments, run.periodsPerYear)));
    }
    return amounts;
}

}  // namespace engine::detail
