#include "Schedule.h"

#include "Money.h"
#include "WholeNumbers.h"
#include "PaymentCalendar.h"
#include "RunTerms.h"

namespace engine {

namespace {

struct Totals {
    double scheduledPrincipal = 0.0;
    double extra = 0.0;
    double principal = 0.0;
    double interest = 0.0;
};

// Step 7: one row per payment until the balance is cleared or the schedule ends.
std::vector<ScheduleRow> amortize(const LoanTerms& terms, const detail::RunTerms& run,
                                  double loanAmount, double payment,
                                  PendingExtraPayments& pending, Totals& totals)
{
    std::vector<ScheduleRow> rows;
    rows.reserve(static_cast<std::size_t>(run.payments > 0 ? run.payments : 0));
    double balance = loanAmount;
    for (int i = 1; i <= run.payments; ++i) {
        ScheduleRow row;
        row.number = static_cast<short>(i);
        row.dueDate = nextPaymentDate(*terms.frequency, i, terms.firstPaymentDate);
        double interest = roundToCents(finiteOrOverflow(run.periodicRate * balance));
        const double lumpSums = pending.applyLumpSums(row.dueDate);
        const double repeating = pending.applyRepeating(row.dueDate);
        double extra = roundToCents(finiteOrOverflow(repeating + lumpSums));

        if (interest > balance) {
            interest = balance;
            payment = balance;
            extra = 0.0;
        } else if (payment - interest > balance) {
            payment = interest + balance;
            extra = 0.0;
        } else if (payment - interest + extra > balance) {
            extra = interest + balance - payment;
        } else if (i == run.payments) {
            // The rounding remainder is added to the extra already counted, so the
            // last scheduled row always clears the balance.
            const double paid = roundToCents(payment - interest + extra);
            if (paid < balance)
                extra = roundToCents(extra + (balance - paid));
        }

        const double scheduled = payment - interest;
        row.principal = scheduled;
        totals.scheduledPrincipal += scheduled;
        row.extra = extra;
        totals.extra = finiteOrOverflow(totals.extra + extra);
        totals.principal = finiteOrOverflow(scheduled + totals.principal + extra);
        row.cumulativePrincipal = totals.principal;
        row.interest = interest;
        totals.interest = finiteOrOverflow(totals.interest + interest);
        row.cumulativeInterest = totals.interest;
        balance = roundToCents(finiteOrOverflow(balance - scheduled - extra));
        row.balance = balance;
        rows.push_back(row);
        if (balance <= 0)
            break;
    }
    return rows;
}

ScheduleResult run(const LoanTerms& terms, const std::vector<ExtraPayment>& extraPayments,
                   bool suppressFuture, Date today)
{
    const detail::RunTerms runTerms = detail::readTerms(terms);
    const detail::Amounts amounts = detail::deriveAmounts(terms, runTerms);

    ScheduleResult result;
    result.loanAmount = amounts.loan;
    result.payment = amounts.payment;
    result.periodicRate = runTerms.periodicRate;
    result.numberOfPayments = runTerms.payments;
    result.periodsPerYear = runTerms.periodsPerYear;

    PendingExtraPayments pending(extraPayments, suppressFuture, today);
    Totals totals;
    result.rows = amortize(terms, runTerms, amounts.loan, amounts.payment, pending, totals);
    result.baseline = detail::runBaseline(terms, runTerms, amounts.loan, result.baselineBalances);

    SummaryFigures& summary = result.summary;
    summary.principal = totals.scheduledPrincipal;
    summary.extraPayments = totals.extra;
    summary.interest = totals.interest;
    summary.totalPrincipal = finiteOrOverflow(totals.scheduledPrincipal + totals.extra);
    summary.totalPaid = finiteOrOverflow(totals.scheduledPrincipal + totals.interest + totals.extra);

    if (!result.rows.empty())
        result.adjustedPayoffDate = result.rows.back().dueDate;
    // Payments the extra payments spared, measured against the payments the
    // baseline actually made (it may itself finish before the last scheduled one).
    result.paymentsSaved = checkedShort(static_cast<long long>(result.baseline.payments) -
                                        static_cast<long long>(result.rows.size()));
    // To cents, so an even result never shows as a negative zero.
    result.totalSaved = roundToCents(finiteOrOverflow(result.baseline.totalPaid - summary.totalPaid));
    return result;
}

}  // namespace

ScheduleOutcome calculateSchedule(const LoanTerms& terms,
                                  const std::vector<ExtraPayment>& extraPayments,
                                  bool suppressFuture, Date today)
{
    try {
        return run(terms, extraPayments, suppressFuture, today);
    } catch (const EngineFailure& failure) {
        return failure.error();
    }
}

std::variant<double, NumberedError> effectiveLoanAmount(const LoanTerms& terms)
{
    try {
        if (terms.loanAmount)
            return roundToCents(finiteOrOverflow(*terms.loanAmount));
        const detail::RunTerms runTerms = detail::readTerms(terms);
        // With no payments the amount would come out as 0 and the payment the user
        // typed would be lost on saving; report what the run reports instead.
        if (runTerms.payments == 0)
            throw EngineFailure(divisionByZeroError());
        return detail::deriveAmounts(terms, runTerms).loan;
    } catch (const EngineFailure& failure) {
        return failure.error();
    }
}

}  // namespace engine
