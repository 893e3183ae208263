#pragma once

#include "LoanTerms.h"

// Internal date helpers of the engine: whole calendar days, month steps with
// month-end clamping, and the date range the program can show (years 100 to 9999).
namespace engine::calendar {

// Throws EngineFailure (number 5) for an invalid date or one outside the range.
Date checkedDate(Date date);

// Same day `months` later, or that month's last day when it is shorter.
Date addMonths(Date date, long long months);

// The last day of the month `months` after the month of `date`.
Date lastDayOfMonthAfter(Date date, long long months);

// The day `day` (1..28) of the month `months` after the month of `date`.
Date dayOfMonthAfter(Date date, long long months, unsigned day);

Date addDays(Date date, long long days);

// Sundays D with from < D <= to.
long long sundaysAfterUpTo(Date from, Date to);

}  // namespace engine::calendar
