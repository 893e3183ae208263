#include "LoanTerms.h"

#include "CalendarMath.h"
#include "EngineError.h"

#include <cmath>

namespace engine {

namespace {

// Nearest whole number, a half going to the even one, as a 16-bit count.
short roundedCount(double value)
{
    if (!std::isfinite(value))
        throw EngineFailure(overflowError());
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    if (rounded < -32768.0 || rounded > 32767.0)
        throw EngineFailure(overflowError());
    return static_cast<short>(rounded);
}

double finiteOrOverflow(double value)
{
    if (!std::isfinite(value))
        throw EngineFailure(overflowError());
    return value;
}

double divide(double numerator, double denominator)
{
    if (denominator == 0.0)
        throw EngineFailure(divisionByZeroError());
    return finiteOrOverflow(numerator / denominator);
}

short weeklyCount(const LoanTerms& terms, short months)
{
    const Date end = calendar::addMonths(terms.firstPaymentDate, months);
    return checkedShort(calendar::sundaysAfterUpTo(terms.firstPaymentDate, end));
}

}  // namespace

short periodsPerYear(int frequency)
{
    static constexpr short kPeriods[] = {52, 26, 12, 24, 6, 4, 2, 1};
    if (frequency < 0 || frequency > 7)
        return 0;
    return kPeriods[frequency];
}

short numberOfPayments(const LoanTerms& terms)
{
    const short term = checkedShort(terms.term);
    const short months = terms.termType == 0 ? term : checkedShort(term * 12LL);
    switch (terms.frequency) {
    case 0: return weeklyCount(terms, months);
    case 1: return roundedCount(weeklyCount(terms, months) / 2.0);
    case 2: return months;
    case 3: return checkedShort(months * 2LL);
    case 4: return roundedCount(months / 2.0);
    case 5: return roundedCount(months / 3.0);
    case 6: return roundedCount(months / 12.0 * 2.0);
    case 7: return roundedCount(months / 12.0);
    default: return 0;
    }
}

double paymentForLoan(double loan, double annualFraction, int payments, int periodsPerYear)
{
    const double n = payments;
    if (annualFraction > 0) {
        const double r = divide(annualFraction, periodsPerYear);
        const double g = finiteOrOverflow(std::pow(1.0 + r, n));
        const double numerator = finiteOrOverflow(loan * g);
        return divide(numerator, divide(g - 1.0, r));
    }
    return divide(loan, n);
}

double loanForPayment(double payment, double annualFraction, int payments, int periodsPerYear)
{
    const double n = payments;
    if (annualFraction > 0) {
        const double r = divide(annualFraction, periodsPerYear);
        const double g = finiteOrOverflow(std::pow(1.0 + r, n));
        const double grown = finiteOrOverflow((g - 1.0) * payment);
        return divide(divide(grown, r), g);
    }
    return finiteOrOverflow(n * payment);
}

}  // namespace engine
