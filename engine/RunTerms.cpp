#include "RunTerms.h"

#include "CalendarMath.h"
#include "Money.h"
#include "NumberedError.h"
#include "PaymentCalendar.h"
#include "Shapes.h"
#include "WholeNumbers.h"

#include <algorithm>
#include <utility>

namespace engine::detail {

namespace {

// Months of the term begun before `due`: the monthly due dates first + k
// months (k >= 0) that fall before it.
long long monthsBefore(Date first, Date due)
{
    const long long months = (int(due.year()) - int(first.year())) * 12LL +
                             (static_cast<long long>(unsigned(due.month())) - unsigned(first.month()));
    if (months < 0)
        return 0;
    return months + (calendar::addMonths(first, months) < due ? 1 : 0);
}

}  // namespace

PeriodRates ratesOf(double annualFraction, Compounding compounding, short periodsPerYear, int acceleration)
{
    PeriodRates rates;
    const double periodic = periodicRate(annualFraction, compounding, periodsPerYear);
    if (compoundingsPerYear(compounding, periodsPerYear) == periodsPerYear)
        rates.interest = roundRate(finiteOrOverflow(finiteOrOverflow(annualFraction * 100.0) / periodsPerYear) / 100.0);
    else
        rates.interest = roundRate(periodic);
    rates.level = acceleration ? periodicRate(annualFraction, compounding, 12) : periodic;
    return rates;
}

PeriodRates RunTerms::ratesAt(double fraction) const
{
    return ratesOf(fraction, compounding, periodsPerYear, acceleration);
}

int RunTerms::periodsLeft(int number, Date due) const
{
    // From the first payment: the whole term, so a term without payments
    // divides by zero. Later at least one, so a change past the end clears the
    // balance at once.
    if (acceleration)
        return number == 1 ? months : int(std::max(months - monthsBefore(firstPaymentDate, due), 1LL));
    return number == 1 ? payments : std::max(payments - (number - 1), 1);
}

double RunTerms::levelPayment(double balance, const PeriodRates& at, int number, Date due) const
{
    const double level = paymentForLoan(balance, at.level, periodsLeft(number, due));
    return roundToCents(acceleration ? level / acceleration : level);
}

double RunTerms::balanceFor(double payment, const PeriodRates& at, int number, Date due) const
{
    return loanForPayment(acceleration ? payment * acceleration : payment, at.level, periodsLeft(number, due));
}

Date RunTerms::levelStart() const
{
    return interestOnly == 0 ? firstPaymentDate : nextPaymentDate(frequency, interestOnly + 1, firstPaymentDate);
}

double RunTerms::paymentOf(double loan) const
{
    return levelPayment(loan, rates, interestOnly + 1, levelStart());
}

double RunTerms::loanOf(double payment) const
{
    return balanceFor(payment, rates, interestOnly + 1, levelStart());
}

RunTerms readTerms(const LoanTerms& terms)
{
    RunTerms run;
    run.annualFraction = finiteOrOverflow(terms.annualRatePercent / 100.0);
    run.payments = numberOfPayments(terms);
    run.periodsPerYear = periodsPerYear(terms.frequency);
    if (run.periodsPerYear == 0)
        throw EngineFailure(divisionByZeroError());
    run.frequency = *terms.frequency;
    run.firstPaymentDate = terms.firstPaymentDate;
    run.compounding = terms.compounding;
    run.months = termMonths(terms);
    run.acceleration = accelerationOf(terms.frequency);
    run.rates = run.ratesAt(run.annualFraction);
    run.interestOnly = terms.interestOnlyPayments;
    run.balloonAfter = terms.balloonAfter;
    if (run.interestOnly < 0 || run.balloonAfter < 0)
        throw EngineFailure(invalidPropertyValueError());
    for (const auto& [count, shape] : {std::pair{run.interestOnly, Shape::InterestOnly},
                                       std::pair{run.balloonAfter, Shape::Balloon}}) {
        if (count >= run.payments && count > 0) {
            ShapeFailure failure{ShapeFailure::Reason::NotBeforeTheEnd, shape};
            failure.payments = run.payments;
            throw ShapeRefusal{failure};
        }
    }
    return run;
}

Amounts deriveAmounts(const LoanTerms& terms, const RunTerms& run)
{
    Amounts amounts;
    if (terms.loanAmount) {
        amounts.loan = checkedAmount(roundToCents(*terms.loanAmount));
        amounts.payment = checkedAmount(run.paymentOf(amounts.loan));
    } else {
        amounts.payment = checkedAmount(roundToCents(terms.paymentAmount));
        amounts.loan = checkedAmount(roundToCents(run.loanOf(amounts.payment)));
    }
    return amounts;
}

}  // namespace engine::detail
