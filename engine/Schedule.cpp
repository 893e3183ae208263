#include "Schedule.h"

#include "Money.h"
#include "WholeNumbers.h"
#include "PaymentCalendar.h"
#include "RateTrack.h"
#include "RunTerms.h"

#include <algorithm>

namespace engine {

namespace {

struct Totals {
    double scheduledPrincipal = 0.0;
    double extra = 0.0;
    double principal = 0.0;
    double interest = 0.0;
    double rounding = 0.0;  // the remainder the last scheduled payment adds to its extra
};

// Step 7: one row per payment until the balance is cleared or the schedule
// ends. The scheduled end is the n-th payment; a "Same payment" change in force
// lifts it, and the run goes on until the balance is cleared.
std::vector<ScheduleRow> amortize(const LoanTerms& terms, const detail::RunTerms& run,
                                  double loanAmount, double payment, detail::RateTrack& track,
                                  PendingExtraPayments& pending, Totals& totals)
{
    std::vector<ScheduleRow> rows;
    rows.reserve(static_cast<std::size_t>(run.payments > 0 ? run.payments : 0));
    double balance = loanAmount;
    double periodicRate = run.periodicRate;
    bool scheduledEnd = true;
    short changeInForce = 0;
    for (int i = 1; !scheduledEnd || i <= run.payments; ++i) {
        ScheduleRow row;
        row.number = checkedShort(i);
        row.dueDate = nextPaymentDate(*terms.frequency, i, terms.firstPaymentDate);
        if (track.reaches(row.dueDate)) {
            const detail::RateTrack::Entry& change = track.advance(row.dueDate);
            periodicRate = change.periodicRate;
            changeInForce = change.position;
            scheduledEnd = change.mode == RateChangeMode::NewPayment;
            if (scheduledEnd) {
                // Level over the scheduled payments still to come, this one included.
                payment = roundToCents(paymentForLoan(balance, change.annualFraction,
                                                      std::max(run.payments - (i - 1), 1), run.periodsPerYear));
            }
        }
        row.rateChange = changeInForce;
        double interest = roundToCents(finiteOrOverflow(periodicRate * balance));
        const double lumpSums = pending.applyLumpSums(row.dueDate);
        const double repeating = pending.applyRepeating(row.dueDate);
        double extra = roundToCents(finiteOrOverflow(repeating + lumpSums));

        if (!scheduledEnd && payment <= interest) {
            RateChangeFailure failure;
            failure.reason = RateChangeFailure::Reason::PaymentNotAboveInterest;
            failure.change = std::size_t(changeInForce - 1);
            failure.paymentNumber = row.number;
            failure.dueDate = row.dueDate;
            failure.payment = payment;
            failure.interest = interest;
            throw detail::RateChangeRefusal{failure};
        }
        if (scheduledEnd && interest > balance) {
            interest = balance;
            payment = balance;
            extra = 0.0;
        } else if (payment - interest > balance) {
            payment = interest + balance;
            extra = 0.0;
        } else if (payment - interest + extra > balance) {
            extra = interest + balance - payment;
        } else if (scheduledEnd && i >= run.payments) {
            // The rounding remainder is added to the extra already counted, so the
            // last scheduled row always clears the balance.
            const double paid = roundToCents(payment - interest + extra);
            if (paid < balance) {
                const double withRemainder = roundToCents(extra + (balance - paid));
                totals.rounding = roundToCents(withRemainder - extra);
                extra = withRemainder;
            }
        }

        const double scheduled = payment - interest;
        row.principal = scheduled;
        totals.scheduledPrincipal += scheduled;
        row.extra = extra;
        totals.extra = finiteOrOverflow(totals.extra + extra);
        totals.principal = finiteOrOverflow(scheduled + totals.principal + extra);
        row.cumulativePrincipal = totals.principal;
        row.interest = interest;
        totals.interest = checkedAmount(totals.interest + interest);
        row.cumulativeInterest = totals.interest;
        balance = checkedAmount(roundToCents(balance - scheduled - extra));
        row.balance = balance;
        rows.push_back(row);
        if (balance <= 0)
            break;
    }
    return rows;
}

// Carries a failed solve out of a run.
struct SolveRefusal {
    SolveFailure failure;
};

// The run once the loan amount, the payment and the scheduled count are known.
// `baselinePayment`: none to let the baseline recompute its level payment.
ScheduleResult runWith(const LoanTerms& terms, const LoanRun& options, const detail::RunTerms& runTerms,
                       const detail::Amounts& amounts, std::optional<double> baselinePayment)
{
    ScheduleResult result;
    result.loanAmount = amounts.loan;
    result.payment = amounts.payment;
    result.periodicRate = runTerms.periodicRate;
    result.numberOfPayments = runTerms.payments;
    result.periodsPerYear = runTerms.periodsPerYear;
    result.annualRatePercent = terms.annualRatePercent;
    result.term = terms.term;
    result.rateChanges = options.rateChanges;

    detail::RateTrack track(options.rateChanges, runTerms.periodsPerYear);
    PendingExtraPayments pending(options.extraPayments, options.suppressFuture, options.today);
    Totals totals;
    result.rows = amortize(terms, runTerms, amounts.loan, amounts.payment, track, pending, totals);
    result.baseline = detail::runBaseline(terms, runTerms, amounts.loan, options.rateChanges, baselinePayment,
                                          result.baselineBalances);

    SummaryFigures& summary = result.summary;
    summary.principal = totals.scheduledPrincipal;
    summary.extraPayments = totals.extra;
    summary.lastPaymentRounding = totals.rounding;
    summary.interest = totals.interest;
    summary.totalPrincipal = finiteOrOverflow(totals.scheduledPrincipal + totals.extra);
    summary.totalPaid = checkedAmount(totals.scheduledPrincipal + totals.interest + totals.extra);

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

// Solving needs both amounts; the window's validation sees to it.
detail::Amounts bothAmounts(const LoanTerms& terms)
{
    if (!terms.loanAmount)
        throw EngineFailure(invalidUseOfNullError());
    return {checkedAmount(roundToCents(*terms.loanAmount)), checkedAmount(roundToCents(terms.paymentAmount))};
}

ScheduleResult run(const LoanTerms& terms, const LoanRun& options)
{
    switch (options.calculate) {
    case Unknown::InterestRate: {
        const detail::Amounts given = bothAmounts(terms);
        const detail::RunTerms counts = detail::readTerms(terms);
        auto solved = solveRate(given.loan, given.payment, counts.payments, counts.periodsPerYear);
        if (const auto* error = std::get_if<NumberedError>(&solved))
            throw EngineFailure(*error);
        if (const auto* failure = std::get_if<SolveFailure>(&solved))
            throw SolveRefusal{*failure};
        // As if the rate had been typed: the payment is derived from the loan amount.
        LoanTerms withRate = terms;
        withRate.annualRatePercent = std::get<RateSolution>(solved).annualPercent;
        const detail::RunTerms runTerms = detail::readTerms(withRate);
        ScheduleResult result = runWith(withRate, options, runTerms, detail::deriveAmounts(withRate, runTerms),
                                        std::nullopt);
        result.solvedRate = std::get<RateSolution>(solved);
        return result;
    }
    case Unknown::Term: {
        const detail::Amounts given = bothAmounts(terms);
        auto solved = solveTerm(terms, given.loan, given.payment);
        if (const auto* error = std::get_if<NumberedError>(&solved))
            throw EngineFailure(*error);
        if (const auto* failure = std::get_if<SolveFailure>(&solved))
            throw SolveRefusal{*failure};
        const TermSolution solution = std::get<TermSolution>(solved);
        LoanTerms withTerm = terms;
        withTerm.term = solution.term;
        // The typed payment over the solved count, which the whole term may exceed.
        detail::RunTerms runTerms = detail::readTerms(withTerm);
        runTerms.payments = solution.payments;
        ScheduleResult result = runWith(withTerm, options, runTerms, given, given.payment);
        result.solvedTerm = solution;
        return result;
    }
    case Unknown::PaymentOrLoanAmount:
        break;
    }
    const detail::RunTerms runTerms = detail::readTerms(terms);
    return runWith(terms, options, runTerms, detail::deriveAmounts(terms, runTerms), std::nullopt);
}

}  // namespace

RunOutcome runLoan(const LoanTerms& terms, const LoanRun& options)
{
    try {
        return run(terms, options);
    } catch (const EngineFailure& failure) {
        return failure.error();
    } catch (const detail::RateChangeRefusal& refusal) {
        return refusal.failure;
    } catch (const SolveRefusal& refusal) {
        return refusal.failure;
    }
}

double annualRatePercentAt(const ScheduleResult& result, const ScheduleRow& row)
{
    if (row.rateChange <= 0 || std::size_t(row.rateChange) > result.rateChanges.size())
        return result.annualRatePercent;
    return result.rateChanges[std::size_t(row.rateChange - 1)].annualPercent;
}

bool rateChangeTakesEffect(const ScheduleResult& result, std::size_t rowIndex)
{
    if (rowIndex >= result.rows.size())
        return false;
    const short before = rowIndex == 0 ? 0 : result.rows[rowIndex - 1].rateChange;
    return result.rows[rowIndex].rateChange != before;
}

std::variant<double, NumberedError> effectiveLoanAmount(const LoanTerms& terms)
{
    try {
        if (terms.loanAmount)
            return checkedAmount(roundToCents(*terms.loanAmount));
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
