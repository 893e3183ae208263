#include "Solve.h"

#include "Money.h"
#include "RunTerms.h"
#include "WholeNumbers.h"

#include <array>
#include <limits>
#include <cmath>

namespace engine {

namespace {

// The level payment per period at the periodic rate r, without overflow for
// long loans: L r / (1 - (1 + r)^-n). Used only to find the root; every
// candidate is then checked with paymentForLoan() itself.
struct Level {
    double value;
    double slope;
};

Level levelPayment(double loan, double r, int n)
{
    if (r == 0.0)
        return {loan / n, loan * (n + 1.0) / (2.0 * n)};
    const double shrink = std::exp(-n * std::log1p(r));  // (1 + r)^-n
    const double d = -std::expm1(-n * std::log1p(r));     // 1 - (1 + r)^-n
    const double dd = n * shrink / (1.0 + r);             // d'(r)
    return {loan * r / d, loan * (d - r * dd) / (d * d)};
}

bool paysToTheCent(double loan, double percent, int n, int periodsPerYear, Compounding compounding, double payment)
{
    try {
        return roundToCents(paymentForLoan(loan, periodicRate(percent / 100.0, compounding, periodsPerYear), n)) ==
               payment;
    } catch (const EngineFailure&) {
        return false;
    }
}

// The root of levelPayment(r) = payment in (lo, hi), where the payment is
// below at lo and above at hi. A Newton step is taken only when it lands
// inside the bracket, so the iteration cannot run away.
double bracketedRoot(double loan, double payment, int n, double lo, double hi)
{
    double r = 0.5 * (lo + hi);
    for (int iteration = 0; iteration < 200; ++iteration) {
        const Level f = levelPayment(loan, r, n);
        const double excess = f.value - payment;
        if (excess == 0.0)
            return r;
        if (excess < 0.0)
            lo = r;
        else
            hi = r;
        double next = f.slope > 0.0 ? r - excess / f.slope : lo;
        if (!(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        if (next == r || hi - lo <= 4 * std::numeric_limits<double>::epsilon() * hi)
            return next;
        r = next;
    }
    return r;
}

}  // namespace

std::variant<RateSolution, SolveFailure, NumberedError>
solveRate(double loan, double payment, int payments, int periodsPerYear, Compounding compounding)
{
    try {
        if (payments <= 0 || periodsPerYear <= 0)
            return divisionByZeroError();
        finiteOrOverflow(loan);
        finiteOrOverflow(payment);
        const double atZero = roundToCents(paymentForLoan(loan, 0.0, payments));
        if (atZero > payment)
            return SolveFailure::NoRate;
        RateSolution solution;
        if (atZero == payment)
            return solution;  // 0 %: nothing lower can give it

        // The unrounded payment is below the given one at 0 and above it at
        // payment / loan: no payment is ever below the interest alone.
        solution.periodicRate = bracketedRoot(loan, payment, payments, 0.0, payment / loan);
        const double root = finiteOrOverflow(annualRateOf(solution.periodicRate, compounding, periodsPerYear) * 100.0);
        for (int decimals = 0; decimals <= 8; ++decimals) {
            const double step = std::pow(10.0, -decimals);
            const double nearest = roundDecimal(root, decimals);
            // The nearest value first, then its neighbours: the rates giving the
            // payment to the cent form an interval around the root.
            const std::array<double, 3> candidates = {nearest, roundDecimal(nearest - step, decimals),
                                                      roundDecimal(nearest + step, decimals)};
            for (double candidate : candidates) {
                if (candidate < 0.0 || !paysToTheCent(loan, candidate, payments, periodsPerYear, compounding, payment))
                    continue;
                solution.annualPercent = candidate;
                solution.decimals = decimals;
                return solution;
            }
        }
        return SolveFailure::NoRateToTheCent;
    } catch (const EngineFailure& failure) {
        return failure.error();
    }
}

std::variant<TermSolution, SolveFailure, NumberedError>
solveTerm(const LoanTerms& terms, double loan, double payment)
{
    try {
        const short perYear = periodsPerYear(terms.frequency);
        if (perYear == 0)
            return divisionByZeroError();
        const double fraction = finiteOrOverflow(terms.annualRatePercent / 100.0);
        const detail::PeriodRates rates = detail::ratesOf(fraction, terms.compounding, perYear, 0);
        const double firstInterest = roundToCents(finiteOrOverflow(rates.interest * loan));
        if (payment <= firstInterest)
            return SolveFailure::PaymentNotAboveInterest;

        // The level payment falls as the count grows, so the smallest count
        // whose rounded payment is not above the given one is found by halving.
        auto fits = [&](int n) {
            double level;
            try {
                level = paymentForLoan(loan, rates.level, n);
            } catch (const EngineFailure&) {
                level = loan * rates.level;  // (1 + r)^n beyond doubles: the interest alone
            }
            return roundToCents(level) <= payment;
        };
        if (!fits(kSixteenBitMax))
            return overflowError();
        int lo = 0, hi = kSixteenBitMax;  // fits(hi) holds, fits(lo) does not
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            (fits(mid) ? hi : lo) = mid;
        }
        TermSolution solution;
        solution.payments = static_cast<short>(hi);

        // The smallest whole term whose count reaches it; a term whose count
        // overflows is longer than any that fits.
        LoanTerms probe = terms;
        auto covers = [&](int term) {
            probe.term = term;
            try {
                return numberOfPayments(probe) >= hi;
            } catch (const EngineFailure&) {
                return true;
            }
        };
        const int longest = terms.termUnit == TermUnit::Months ? kSixteenBitMax : kSixteenBitMax / 12;
        int below = 0, above = longest;
        if (!covers(above))
            return overflowError();
        while (above - below > 1) {
            const int mid = below + (above - below) / 2;
            (covers(mid) ? above : below) = mid;
        }
        probe.term = above;
        numberOfPayments(probe);  // throws "Overflow" when even that term's count does not fit
        solution.term = above;
        return solution;
    } catch (const EngineFailure& failure) {
        return failure.error();
    }
}

}  // namespace engine
