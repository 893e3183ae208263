#include "Disclosure.h"

#include "CalendarMath.h"
#include "Money.h"
#include "WholeNumbers.h"

#include <cmath>
#include <limits>

namespace engine {

namespace {

// The unit-period: a number of days, half a month, or a number of months.
struct Unit {
    enum Kind { Days, HalfMonth, Months } kind = Months;
    int size = 1;
    int perYear = 12;
};

Unit unitOf(PaymentFrequency frequency)
{
    switch (frequency) {
    case PaymentFrequency::Weekly:
    case PaymentFrequency::AcceleratedWeekly: return {Unit::Days, 7, 52};
    case PaymentFrequency::BiWeekly:
    case PaymentFrequency::AcceleratedBiWeekly: return {Unit::Days, 14, 26};
    case PaymentFrequency::SemiMonthly: return {Unit::HalfMonth, 1, 24};
    case PaymentFrequency::Monthly: return {Unit::Months, 1, 12};
    case PaymentFrequency::BiMonthly: return {Unit::Months, 2, 6};
    case PaymentFrequency::Quarterly: return {Unit::Months, 3, 4};
    case PaymentFrequency::SemiAnnually: return {Unit::Months, 6, 2};
    case PaymentFrequency::Annually: return {Unit::Months, 12, 1};
    }
    return {};
}

long long daysFrom(Date from, Date to)
{
    return (std::chrono::sys_days(to) - std::chrono::sys_days(from)).count();
}

// A payment's time from the advance: whole unit-periods and the fraction of one left.
struct Time {
    int whole = 0;
    double fraction = 0.0;
};

Time timeOf(const Unit& unit, Date advance, Date due)
{
    long long span = 0;  // in the unit's own count: days, or months at 30 days plus days
    long long perUnit = 0;
    if (unit.kind == Unit::Days) {
        span = daysFrom(advance, due);
        perUnit = unit.size;
    } else {
        // Whole months back from the due date that stay on or after the advance.
        long long months = (int(due.year()) - int(advance.year())) * 12LL +
                           (static_cast<long long>(unsigned(due.month())) - unsigned(advance.month()));
        while (months > 0 && calendar::addMonths(due, -months) < advance)
            --months;
        span = 30 * months + daysFrom(advance, calendar::addMonths(due, -months));
        perUnit = unit.kind == Unit::HalfMonth ? 15 : 30LL * unit.size;
    }
    return {int(span / perUnit), double(span % perUnit) / double(perUnit)};
}

struct Stream {
    std::vector<Time> times;
    std::vector<double> amounts;
    double financed = 0.0;

    // The present value at the rate `i` a unit-period less the amount
    // financed, and its slope.
    std::pair<double, double> excess(double i) const
    {
        const double v = 1.0 / (1.0 + i);
        double value = -financed, slope = 0.0;
        double discount = 1.0;  // v^t, carried from one payment to the next
        int t = 0;
        for (std::size_t k = 0; k < amounts.size(); ++k) {
            const Time& time = times[k];
            if (time.whole == t + 1)
                discount *= v;
            else if (time.whole != t)
                discount = std::pow(v, time.whole);
            t = time.whole;
            const double simple = 1.0 + time.fraction * i;
            const double present = amounts[k] * discount / simple;
            value += present;
            slope -= present * (time.fraction / simple + time.whole * v);
        }
        return {value, slope};
    }
};

}  // namespace

std::variant<double, NumberedError> annualPercentageRate(double amountFinanced, Date advanceDate,
                                                         const std::vector<DatedPayment>& payments,
                                                         PaymentFrequency frequency)
{
    try {
        if (payments.empty())
            return divisionByZeroError();
        if (!(amountFinanced > 0.0))
            return invalidPropertyValueError();
        const Unit unit = unitOf(frequency);
        Stream stream;
        stream.financed = checkedAmount(amountFinanced);
        double total = 0.0;
        for (const DatedPayment& payment : payments) {
            if (payment.due < calendar::checkedDate(advanceDate))
                return invalidPropertyValueError();
            stream.times.push_back(timeOf(unit, advanceDate, calendar::checkedDate(payment.due)));
            stream.amounts.push_back(checkedAmount(payment.amount));
            total += payment.amount;
        }
        if (total < amountFinanced)
            return invalidPropertyValueError();

        // The present value falls as the rate rises: bracket the root, then
        // take Newton steps that stay inside the bracket.
        double lo = 0.0, hi = 0.01;
        while (stream.excess(hi).first > 0.0) {
            lo = hi;
            hi *= 2.0;
            if (hi > 1e6)
                return overflowError();
        }
        double i = 0.5 * (lo + hi);
        for (int iteration = 0; iteration < 200; ++iteration) {
            const auto [value, slope] = stream.excess(i);
            if (value == 0.0)
                break;
            (value > 0.0 ? lo : hi) = i;
            double next = slope < 0.0 ? i - value / slope : lo;
            if (!(next > lo && next < hi))
                next = 0.5 * (lo + hi);
            if (next == i || hi - lo <= 4 * std::numeric_limits<double>::epsilon() * hi) {
                i = next;
                break;
            }
            i = next;
        }
        return finiteOrOverflow(i * unit.perYear * 100.0);
    } catch (const EngineFailure& failure) {
        return failure.error();
    }
}

Date periodBefore(PaymentFrequency frequency, Date firstPaymentDate)
{
    const Unit unit = unitOf(frequency);
    switch (unit.kind) {
    case Unit::Days: return calendar::addDays(firstPaymentDate, -unit.size);
    case Unit::HalfMonth: return calendar::addDays(firstPaymentDate, -15);
    case Unit::Months: return calendar::addMonths(firstPaymentDate, -unit.size);
    }
    return firstPaymentDate;
}

std::variant<DisclosureFigures, NumberedError> disclosureFigures(const ScheduleResult& run,
                                                                 const LoanCharges& charges)
{
    try {
        if (run.baselineBalances.empty())
            return divisionByZeroError();
        if (!(charges.fees >= 0.0) || !(charges.pointsPercent >= 0.0))
            return invalidPropertyValueError();
        DisclosureFigures figures;
        const double points = checkedAmount(roundToCents(run.loanAmount * charges.pointsPercent / 100.0));
        figures.amountFinanced = roundToCents(run.loanAmount - checkedAmount(charges.fees) - points);
        std::vector<DatedPayment> payments;
        payments.reserve(run.baselineBalances.size());
        double total = 0.0;
        for (const BalancePoint& point : run.baselineBalances) {
            payments.push_back({point.dueDate, point.payment});
            total += point.payment;
        }
        figures.financeCharge = roundToCents(checkedAmount(total) - figures.amountFinanced);
        figures.loanDate = charges.loanDate.value_or(periodBefore(run.frequency, payments.front().due));
        const auto apr = annualPercentageRate(figures.amountFinanced, figures.loanDate, payments, run.frequency);
        if (const auto* error = std::get_if<NumberedError>(&apr))
            return *error;
        figures.annualPercentageRate = std::get<double>(apr);
        return figures;
    } catch (const EngineFailure& failure) {
        return failure.error();
    }
}

}  // namespace engine
