#include "Schedule.h"

#include "Amortization.h"
#include "Money.h"
#include "WholeNumbers.h"
#include "PaymentCalendar.h"
#include "RateTrack.h"
#include "RunTerms.h"

#include <algorithm>

namespace engine {

namespace {

// Carries a failed solve out of a run.
struct SolveRefusal {
    SolveFailure failure;
};

// One row of the loan without extra payments; its only extra is the last
// payment's rounding remainder, counted in the payment.
BalancePoint pointOf(const ScheduleRow& row)
{
    return {row.dueDate, row.balance, row.extra == 0 ? row.payment : roundToCents(row.payment + row.extra)};
}

// The same loan without extra payments, following the same rate changes and
// skips, paying `level` from the first row (or after the interest-only ones).
BaselineFigures baselineOf(const detail::RunTerms& run, double loanAmount, double level,
                           const std::vector<RateChange>& rateChanges, const std::vector<detail::SkipBlock>& skips,
                           std::vector<BalancePoint>& points)
{
    detail::Amortization walk(run, loanAmount, level, rateChanges, skips, nullptr);
    points.clear();
    points.reserve(static_cast<std::size_t>(std::max<short>(run.payments, 0)));
    for (ScheduleRow row; walk.next(row);)
        points.push_back(pointOf(row));
    return {loanAmount, {}, walk.totals().interest, 0.0, 0};
}

// The run once the loan amount, the payment and the scheduled count are known.
// `baselinePayment`: none to let the baseline recompute its level payment.
ScheduleResult runWith(const LoanTerms& terms, const LoanRun& options, const detail::RunTerms& runTerms,
                       const detail::Amounts& amounts, std::optional<double> baselinePayment)
{
    ScheduleResult result;
    result.loanAmount = amounts.loan;
    result.payment = amounts.payment;
    result.periodicRate = runTerms.rates.interest;
    result.frequency = runTerms.frequency;
    result.numberOfPayments = runTerms.payments;
    result.periodsPerYear = runTerms.periodsPerYear;
    result.annualRatePercent = terms.annualRatePercent;
    result.term = terms.term;
    result.rateChanges = options.rateChanges;

    const std::vector<detail::SkipBlock> skips = detail::skipBlocks(options.skippedPayments, runTerms);
    PendingExtraPayments pending(options.extraPayments, options.suppressFuture, options.today);
    // The baseline pays the typed payment when the term was solved from it,
    // otherwise the level payment of the loan amount, recomputed as the run's
    // own first step does. Paying what the run pays and nothing extra, it is
    // the run itself.
    const double level = baselinePayment ? *baselinePayment : runTerms.paymentOf(amounts.loan);
    const bool baselineIsTheRun = pending.empty() && level == amounts.payment;
    detail::Amortization withExtras(runTerms, amounts.loan, amounts.payment, options.rateChanges, skips, &pending);
    result.rows.reserve(static_cast<std::size_t>(std::max<short>(runTerms.payments, 0)));
    for (ScheduleRow row; withExtras.next(row);)
        result.rows.push_back(row);
    result.rateChangeEffects = withExtras.effects();
    result.balloon = withExtras.balloon();
    result.loweredPayment = withExtras.loweredPayment();
    const detail::Totals& totals = withExtras.totals();
    if (baselineIsTheRun) {
        result.baselineBalances.reserve(result.rows.size());
        for (const ScheduleRow& row : result.rows)
            result.baselineBalances.push_back(pointOf(row));
        result.baseline = {amounts.loan, {}, totals.interest, 0.0, 0};
    } else {
        result.baseline = baselineOf(runTerms, amounts.loan, level, options.rateChanges, skips,
                                     result.baselineBalances);
    }
    BaselineFigures& baseline = result.baseline;
    if (!result.baselineBalances.empty())
        baseline.payoffDate = result.baselineBalances.back().dueDate;
    baseline.payments = checkedShort(static_cast<long long>(result.baselineBalances.size()));
    baseline.totalPaid = checkedAmount(baseline.interestPaid + amounts.loan);

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

// The first shape of the loan that leaves its payment other than the level
// payment of the term, if any.
std::optional<Shape> shapeOf(const LoanTerms& terms, const LoanRun& options)
{
    if (accelerationOf(terms.frequency))
        return Shape::AcceleratedPayments;
    if (terms.interestOnlyPayments != 0)
        return Shape::InterestOnly;
    if (terms.balloonAfter != 0)
        return Shape::Balloon;
    if (!options.skippedPayments.empty())
        return Shape::SkippedPayments;
    for (const ExtraPayment& extra : options.extraPayments) {
        if (extra.kind != ExtraPaymentKind::Ignored && extra.then == ExtraPaymentThen::LowerThePayment)
            return Shape::LowerThePayment;
    }
    return std::nullopt;
}

ScheduleResult run(const LoanTerms& terms, const LoanRun& options)
{
    if (options.calculate != Unknown::PaymentOrLoanAmount) {
        if (const auto shape = shapeOf(terms, options))
            throw detail::ShapeRefusal{{ShapeFailure::Reason::CannotSolve, *shape}};
    }
    switch (options.calculate) {
    case Unknown::InterestRate: {
        const detail::Amounts given = bothAmounts(terms);
        const detail::RunTerms counts = detail::readTerms(terms);
        auto solved = solveRate(given.loan, given.payment, counts.payments, counts.periodsPerYear, terms.compounding);
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
    } catch (const detail::ShapeRefusal& refusal) {
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
