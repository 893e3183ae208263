#include "NumberedError.h"
#include "WholeNumbers.h"
#include "Money.h"
#include "PaymentCalendar.h"
#include "RunTerms.h"

namespace engine::detail {

BaselineFigures runBaseline(const LoanTerms& terms, const RunTerms& run, double loanAmount,
                            std::vector<BalancePoint>& balances)
{
    BaselineFigures baseline;
    baseline.loanAmount = loanAmount;
    double payment = roundToCents(
        paymentForLoan(loanAmount, run.annualFraction, run.payments, run.periodsPerYear));
    double balance = loanAmount;
    double totalInterest = 0.0;
    balances.clear();
    balances.reserve(static_cast<std::size_t>(run.payments > 0 ? run.payments : 0));
    for (int i = 1; i <= run.payments; ++i) {
        baseline.payoffDate = nextPaymentDate(*terms.frequency, i, terms.firstPaymentDate);
        baseline.payments = static_cast<short>(i);
        double interest = roundToCents(finiteOrOverflow(run.periodicRate * balance));
        if (interest > balance) {
            interest = balance;
            payment = balance;
        } else if (payment - interest > balance) {
            payment = interest + balance;
        } else if (i == run.payments) {
            // The last payment clears whatever rounding has left, so the
            // baseline's last balance shows 0.00 as the table's does.
            payment = roundToCents(interest + balance);
        }
        totalInterest = finiteOrOverflow(totalInterest + interest);
        balance = roundToCents(finiteOrOverflow(balance - (payment - interest)));
        balances.push_back({baseline.payoffDate, balance});
        if (balance <= 0)
            break;
    }
    baseline.interestPaid = totalInterest;
    baseline.totalPaid = finiteOrOverflow(totalInterest + loanAmount);
    return baseline;
}

}  // namespace engine::detail
