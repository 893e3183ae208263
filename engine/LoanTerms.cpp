#include "LoanTerms.h"

#include "CalendarMath.h"
#include "Money.h"
#include "NumberedError.h"
#include "WholeNumbers.h"

#include <cmath>

namespace engine {

namespace {

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

// A periodic rate that rounds to 0 at 8 decimals charges no interest in any
// row, so the loan is a 0 % loan; (1 + r)^n - 1 would also come out as 0.
bool chargesInterest(double periodicRate)
{
    return roundRate(periodicRate) > 0;
}

}  // namespace

std::optional<PaymentFrequency> frequencyAt(int position)
{
    if (position < int(PaymentFrequency::Weekly) || position > int(PaymentFrequency::AcceleratedWeekly))
        return std::nullopt;
    return PaymentFrequency(position);
}

std::optional<Compounding> compoundingAt(int position)
{
    if (position < int(Compounding::AsPayments) || position > int(Compounding::Continuously))
        return std::nullopt;
    return Compounding(position);
}

TermUnit termUnitAt(int position)
{
    return position == int(TermUnit::Months) ? TermUnit::Months : TermUnit::Years;
}

short periodsPerYear(std::optional<PaymentFrequency> frequency)
{
    if (!frequency)
        return 0;
    switch (*frequency) {
    case PaymentFrequency::Weekly: return 52;
    case PaymentFrequency::BiWeekly: return 26;
    case PaymentFrequency::Monthly: return 12;
    case PaymentFrequency::SemiMonthly: return 24;
    case PaymentFrequency::BiMonthly: return 6;
    case PaymentFrequency::Quarterly: return 4;
    case PaymentFrequency::SemiAnnually: return 2;
    case PaymentFrequency::Annually: return 1;
    case PaymentFrequency::AcceleratedBiWeekly: return 26;
    case PaymentFrequency::AcceleratedWeekly: return 52;
    }
    return 0;
}

int accelerationOf(std::optional<PaymentFrequency> frequency)
{
    if (frequency == PaymentFrequency::AcceleratedBiWeekly)
        return 2;
    if (frequency == PaymentFrequency::AcceleratedWeekly)
        return 4;
    return 0;
}

short termMonths(const LoanTerms& terms)
{
    const short term = checkedShort(terms.term);
    return terms.termUnit == TermUnit::Months ? term : checkedShort(term * 12LL);
}

short numberOfPayments(const LoanTerms& terms)
{
    const short months = termMonths(terms);
    if (!terms.frequency)
        return 0;
    switch (*terms.frequency) {
    case PaymentFrequency::Weekly:
    case PaymentFrequency::AcceleratedWeekly: return weeklyCount(terms, months);
    case PaymentFrequency::BiWeekly:
    case PaymentFrequency::AcceleratedBiWeekly: return roundedCount(weeklyCount(terms, months) / 2.0);
    case PaymentFrequency::Monthly: return months;
    case PaymentFrequency::SemiMonthly: return checkedShort(months * 2LL);
    case PaymentFrequency::BiMonthly: return roundedCount(months / 2.0);
    case PaymentFrequency::Quarterly: return roundedCount(months / 3.0);
    case PaymentFrequency::SemiAnnually: return roundedCount(months / 12.0 * 2.0);
    case PaymentFrequency::Annually: return roundedCount(months / 12.0);
    }
    return 0;
}

int compoundingsPerYear(Compounding compounding, int periodsPerYear)
{
    switch (compounding) {
    case Compounding::AsPayments: return periodsPerYear;
    case Compounding::Annually: return 1;
    case Compounding::SemiAnnually: return 2;
    case Compounding::Quarterly: return 4;
    case Compounding::BiMonthly: return 6;
    case Compounding::Monthly: return 12;
    case Compounding::SemiMonthly: return 24;
    case Compounding::BiWeekly: return 26;
    case Compounding::Weekly: return 52;
    case Compounding::Daily: return 365;
    case Compounding::Continuously: return 0;
    }
    return periodsPerYear;
}

double periodicRate(double annualFraction, Compounding compounding, int periodsPerYear)
{
    const int m = compoundingsPerYear(compounding, periodsPerYear);
    if (m == periodsPerYear)
        return divide(annualFraction, periodsPerYear);
    if (periodsPerYear == 0)
        throw EngineFailure(divisionByZeroError());
    if (m == 0)
        return finiteOrOverflow(std::expm1(annualFraction / periodsPerYear));
    return finiteOrOverflow(std::expm1(std::log1p(annualFraction / m) * m / periodsPerYear));
}

double annualRateOf(double rate, Compounding compounding, int periodsPerYear)
{
    const int m = compoundingsPerYear(compounding, periodsPerYear);
    if (m == periodsPerYear)
        return finiteOrOverflow(rate * periodsPerYear);
    if (m == 0)
        return finiteOrOverflow(periodsPerYear * std::log1p(rate));
    return finiteOrOverflow(m * std::expm1(std::log1p(rate) * periodsPerYear / m));
}

double paymentForLoan(double loan, double r, int payments)
{
    const double n = payments;
    if (chargesInterest(r)) {
        const double g = finiteOrOverflow(std::pow(1.0 + r, n));
        const double numerator = finiteOrOverflow(loan * g);
        return divide(numerator, divide(g - 1.0, r));
    }
    return divide(loan, n);
}

double loanForPayment(double payment, double r, int payments)
{
    const double n = payments;
    if (chargesInterest(r)) {
        const double g = finiteOrOverflow(std::pow(1.0 + r, n));
        const double grown = finiteOrOverflow((g - 1.0) * payment);
        return divide(divide(grown, r), g);
    }
    return finiteOrOverflow(n * payment);
}

}  // namespace engine
