#include "CalendarMath.h"

#include "NumberedError.h"

namespace engine::calendar {

namespace {

using namespace std::chrono;

constexpr long long kFirstYear = 100;
constexpr long long kLastYear = 9999;

[[noreturn]] void outOfRange(const char* what)
{
    throw EngineFailure(NumberedError{ErrorNumber::DateOutOfRange, what});
}

// Month index counted from year 0, so month arithmetic never goes through chrono's
// narrow year type before the range is checked.
long long monthIndex(Date date)
{
    return static_cast<long long>(int(date.year())) * 12 + (unsigned(date.month()) - 1);
}

year_month yearMonthOf(long long index)
{
    long long y = index >= 0 ? index / 12 : -((-index + 11) / 12);
    const long long m = index - y * 12;
    if (y > kLastYear)
        outOfRange("Date is past the year 9999");
    if (y < kFirstYear)
        outOfRange("Date is before the year 100");
    return year(int(y)) / month(unsigned(m + 1));
}

Date requireValid(Date date)
{
    if (!date.ok())
        outOfRange("Invalid date");
    return date;
}

}  // namespace

Date checkedDate(Date date)
{
    requireValid(date);
    if (int(date.year()) > kLastYear)
        outOfRange("Date is past the year 9999");
    if (int(date.year()) < kFirstYear)
        outOfRange("Date is before the year 100");
    return date;
}

Date addMonths(Date date, long long months)
{
    requireValid(date);
    const year_month ym = yearMonthOf(monthIndex(date) + months);
    const day last = year_month_day_last(ym.year(), month_day_last(ym.month())).day();
    return ym / (date.day() < last ? date.day() : last);
}

Date lastDayOfMonthAfter(Date date, long long months)
{
    requireValid(date);
    const year_month ym = yearMonthOf(monthIndex(date) + months);
    return year_month_day(ym.year() / ym.month() / last);
}

Date dayOfMonthAfter(Date date, long long months, unsigned dayNumber)
{
    requireValid(date);
    const year_month ym = yearMonthOf(monthIndex(date) + months);
    return ym / day(dayNumber);
}

Date addDays(Date date, long long days)
{
    requireValid(date);
    // Years 100..9999 span about 3.6 million days; clamp before converting so an
    // absurd step cannot wrap chrono's day count.
    constexpr long long kSpan = 4'000'000;
    if (days > kSpan)
        outOfRange("Date is past the year 9999");
    if (days < -kSpan)
        outOfRange("Date is before the year 100");
    return checkedDate(year_month_day(sys_days(date) + std::chrono::days(days)));
}

long long sundaysAfterUpTo(Date from, Date to)
{
    // Days since the Sunday 4 January 1970, floored to whole weeks: the count of
    // Sundays up to and including a day.
    const auto weeksThrough = [](Date d) {
        const long long n = sys_days(requireValid(d)).time_since_epoch().count() - 3;
        return n >= 0 ? n / 7 : -((-n + 6) / 7);
    };
    return weeksThrough(to) - weeksThrough(from);
}

}  // namespace engine::calendar
