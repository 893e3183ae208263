#pragma once

#include "Schedule.h"

#include <QString>

#include <cstdint>
#include <vector>

// The amortization table summed per calendar year of the due dates. Amounts
// are whole cents of the table's rounded cells, so each year adds up exactly
// to what the payment view shows.
struct YearlyTotal {
    int year = 0;
    int payments = 0;
    std::int64_t principalCents = 0;
    std::int64_t extraCents = 0;
    std::int64_t interestCents = 0;
    std::int64_t balanceCents = 0;  // after the year's last payment
    bool allDue = false;            // every payment of the year is due by today

    std::int64_t totalPaidCents() const { return principalCents + extraCents + interestCents; }
};

struct YearlyTotals {
    std::vector<YearlyTotal> years;  // in date order
    YearlyTotal total;               // every column summed but the balance
};

YearlyTotals yearlyTotals(const std::vector<engine::ScheduleRow>& rows, engine::Date today);

// The yearly table's columns, in the order they are shown and exported.
enum class YearlyColumn { Year, Payments, Principal, Extra, Interest, TotalPaid, BalanceDue };
inline constexpr int kYearlyColumns = 7;

QString yearlyHeading(YearlyColumn column);
// A year's cell text, in the payment table's number style.
QString yearlyCellText(const YearlyTotal& year, YearlyColumn column);
// The "Total" row's cell text; its balance stays empty.
QString yearlyTotalCellText(const YearlyTotal& total, YearlyColumn column);

// Whole cents of an amount as the table's cell shows it.
std::int64_t tableCents(double amount);
// "1,234.56" from whole cents, as the payment table writes amounts.
QString centsText(std::int64_t cents);
