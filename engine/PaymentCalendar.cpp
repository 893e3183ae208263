#include "PaymentCalendar.h"

#include "CalendarMath.h"
#include "NumberedError.h"
#include "WholeNumbers.h"

namespace engine {

namespace {

// The 15th/month-end alternation; `number` >= 2.
Date semiMonthlyDate(int number, Date first)
{
    const bool even = number % 2 == 0;
    if (unsigned(first.day()) == 15) {
        if (!even)
            return calendar::addMonths(first, (number - 1) / 2);
        // Last day of the month before S + n/2 months.
        return calendar::lastDayOfMonthAfter(first, number / 2 - 1);
    }
    if (even)
        return calendar::dayOfMonthAfter(first, number / 2, 15);
    return calendar::lastDayOfMonthAfter(first, (number - 1) / 2);
}

}  // namespace

Date nextPaymentDate(PaymentFrequency frequency, int number, Date firstPaymentDate)
{
    const short k = checkedShort(static_cast<long long>(number) - 1);
    switch (frequency) {
    case PaymentFrequency::Weekly:
    case PaymentFrequency::AcceleratedWeekly: return calendar::addDays(firstPaymentDate, 7LL * k);
    case PaymentFrequency::BiWeekly:
    case PaymentFrequency::AcceleratedBiWeekly: return calendar::addDays(firstPaymentDate, 7LL * checkedShort(2LL * k));
    case PaymentFrequency::Monthly: return calendar::addMonths(firstPaymentDate, k);
    case PaymentFrequency::SemiMonthly:
        if (number == 1)
            return calendar::checkedDate(firstPaymentDate);
        return semiMonthlyDate(number, firstPaymentDate);
    case PaymentFrequency::BiMonthly: return calendar::addMonths(firstPaymentDate, checkedShort(2LL * k));
    case PaymentFrequency::Quarterly: return calendar::addMonths(firstPaymentDate, 3LL * k);
    case PaymentFrequency::SemiAnnually: return calendar::addMonths(firstPaymentDate, 3LL * checkedShort(2LL * k));
    case PaymentFrequency::Annually: return calendar::addMonths(firstPaymentDate, 12LL * k);
    }
    return Date{};
}

}  // namespace engine
