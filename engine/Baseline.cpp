#include "NumberedError.h"
#include "WholeNumbers.h"
#include "Money.h"
#include "PaymentCalendar.h"
#include "RateTrack.h"
#include "RunTerms.h"

#include <algorithm>

namespace engine::detail {

BaselineFigures runBaseline(const LoanTerms& terms, const RunTerms& run, double loanAmount,
                            const std::vector<RateChange>& rateChanges, std::optional<double> givenPayment,
                            std::vector<BalancePoint>& balances)
{
    BaselineFigures baseline;
    baseline.loanAmount = loanAmount;
    double payment = givenPayment ? *givenPayment
                                  : roundToCents(paymentForLoan(loanAmount, run.annualFraction, run.payments,
                                                                run.periodsPerYear));
    RateTrack track(rateChanges, run.periodsPerYear);
    double periodicRate = run.periodicRate;
    // Only a "Same payment" change in force lifts the scheduled end.
    bool scheduledEnd = true;
    std::size_t changeInForce = 0;
    double balance = loanAmount;
    double totalInterest = 0.0;
    balances.clear();
    balances.reserve(static_cast<std::size_t>(run.payments > 0 ? run.payments : 0));
    for (int i = 1; !scheduledEnd || i <= run.payments; ++i) {
        baseline.payoffDate = nextPaymentDate(*terms.frequency, i, terms.firstPaymentDate);
        baseline.payments = checkedShort(i);
        if (track.reaches(baseline.payoffDate)) {
            const RateTrack::Entry& change = track.advance(baseline.payoffDate);
            periodicRate = change.periodicRate;
            changeInForce = std::size_t(change.position - 1);
            scheduledEnd = change.mode == RateChangeMode::NewPayment;
            if (scheduledEnd)
                payment = roundToCents(paymentForLoan(balance, change.annualFraction,
                                                      std::max(run.payments - (i - 1), 1), run.periodsPerYear));
        }
        double interest = roundToCents(finiteOrOverflow(periodicRate * balance));
        if (!scheduledEnd && payment <= interest) {
            RateChangeFailure failure;
            failure.reason = RateChangeFailure::Reason::PaymentNotAboveInterest;
            failure.change = changeInForce;
            failure.paymentNumber = baseline.payments;
            failure.dueDate = baseline.payoffDate;
            failure.payment = payment;
            failure.interest = interest;
            failure.withoutExtraPayments = true;
            throw RateChangeRefusal{failure};
        }
        if (scheduledEnd && interest > balance) {
            interest = balance;
            payment = balance;
        } else if (payment - interest > balance) {
            payment = interest + balance;
        } else if (scheduledEnd && i >= run.payments) {
            // The last payment clears whatever rounding has left, so the
            // baseline's last balance shows 0.00 as the table's does.
            payment = roundToCents(interest + balance);
        }
        totalInterest = checkedAmount(totalInterest + interest);
        balance = checkedAmount(roundToCents(balance - (payment - interest)));
        balances.push_back({baseline.payoffDate, balance});
        if (balance <= 0)
            break;
    }
    baseline.interestPaid = totalInterest;
    baseline.totalPaid = checkedAmount(totalInterest + loanAmount);
    return baseline;
}

}  // namespace engine::detail
