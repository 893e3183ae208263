#include "NumberedError.h"
#include "WholeNumbers.h"
#include "Money.h"
#include "PaymentCalendar.h"
#include "RunTerms.h"

namespace engine::detail {

BaselineFigures runBaseline(const LoanTerms& terms, const RunTerms& run, double loanAmount)
{
    BaselineFigures baseline;
    baseline.loanAmount = loanAmount;
    double payment = roundToCents(
        paymentForLoan(loanAmount, run.annualFraction, run.payments, run.periodsPerYear));
    double balance = loanAmount;
    double totalInterest = 0.0;
    for (int i = 1; i <= run.payments; ++i) {
        baseline.payoffDate = nextPaymentDate(*terms.frequency, i, terms.firstPaymentDate);
        baseline.payments = static_cast<short>(i);
        double interest = roundToCents(finiteOrOverflow(run.periodicRate * balance));
        if (interest > balance) {
            interest = balance;
            payment = balance;
        } else if (payment - interest > balance) {
            payment = interest + balance;
        }
        totalInterest = finiteOrOverflow(totalInterest + interest);
        balance = roundToCents(finiteOrOverflow(balance - (payment - interest)));
        if (balance <= 0)
            break;
    }
    baseline.interestPaid = totalInterest;
    baseline.totalPaid = finiteOrOverflow(totalInterest + loanAmount);
    return baseline;
}

}  // namespace engine::detail
