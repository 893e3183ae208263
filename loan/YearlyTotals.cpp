#include "YearlyTotals.h"

#include "Money.h"

#include <QLocale>

#include <cmath>

namespace {

const char* const kHeadings[kYearlyColumns] = {"Year", "Payments", "Principal", "Extra",
                                               "Interest", "Total Paid", "Balance Due"};

QString commonCellText(const YearlyTotal& year, YearlyColumn column)
{
    switch (column) {
    case YearlyColumn::Payments: return QLocale().toString(year.payments);
    case YearlyColumn::Principal: return centsText(year.principalCents);
    case YearlyColumn::Extra: return centsText(year.extraCents);
    case YearlyColumn::Interest: return centsText(year.interestCents);
    case YearlyColumn::TotalPaid: return centsText(year.totalPaidCents());
    case YearlyColumn::Year:
    case YearlyColumn::BalanceDue: break;
    }
    return {};
}

}  // namespace

std::int64_t tableCents(double amount)
{
    // The same rounding the cell's text went through, then exact in cents.
    return std::llround(engine::roundToCents(amount) * 100.0);
}

QString centsText(std::int64_t cents)
{
    const QLocale loc;
    const std::int64_t magnitude = cents < 0 ? -cents : cents;
    QString text = loc.toString(qlonglong(magnitude / 100)) + loc.decimalPoint() +
                   QStringLiteral("%1").arg(int(magnitude % 100), 2, 10, QLatin1Char('0'));
    return cents < 0 ? loc.negativeSign() + text : text;
}

YearlyTotals yearlyTotals(const std::vector<engine::ScheduleRow>& rows, engine::Date today)
{
    YearlyTotals totals;
    for (const engine::ScheduleRow& row : rows) {
        const int year = int(row.dueDate.year());
        if (totals.years.empty() || totals.years.back().year != year)
            totals.years.push_back({.year = year, .allDue = true});
        YearlyTotal& current = totals.years.back();
        const std::int64_t principal = tableCents(row.principal);
        const std::int64_t extra = tableCents(row.extra);
        const std::int64_t interest = tableCents(row.interest);
        ++current.payments;
        current.principalCents += principal;
        current.extraCents += extra;
        current.interestCents += interest;
        current.balanceCents = tableCents(row.balance);
        current.allDue = current.allDue && row.dueDate <= today;
        ++totals.total.payments;
        totals.total.principalCents += principal;
        totals.total.extraCents += extra;
        totals.total.interestCents += interest;
    }
    totals.total.allDue = !totals.years.empty() && totals.years.back().allDue;
    return totals;
}

QString yearlyHeading(YearlyColumn column)
{
    return QString::fromLatin1(kHeadings[int(column)]);
}

QString yearlyCellText(const YearlyTotal& year, YearlyColumn column)
{
    if (column == YearlyColumn::Year)
        return QString::number(year.year);
    if (column == YearlyColumn::BalanceDue)
        return centsText(year.balanceCents);
    return commonCellText(year, column);
}

QString yearlyTotalCellText(const YearlyTotal& total, YearlyColumn column)
{
    if (column == YearlyColumn::Year)
        return QStringLiteral("Total");
    if (column == YearlyColumn::BalanceDue)
        return {};
    return commonCellText(total, column);
}
