#include "LoanComparison.h"

#include "LocaleText.h"
#include "LoanFigures.h"
#include "YearlyTotals.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace {

const char* const kHeadings[kCompareRows] = {
    "Loan Amount",    "Payment",        "Frequency",      "Annual Rate", "Term",
    "First Payment",  "Payments Made",  "Payoff Date",    "Total Interest",
    "Extra Payments", "Total Paid",     "Interest Saved", "Payments Saved",
    "Amount Financed", "Finance Charge", "APR",
};

std::array<QString, kCompareRows> texts(const LoanResult& result)
{
    const LoanFigures f = loanFigures(result);
    const Figure shown[kCompareRows] = {Figure::LoanAmount,    Figure::Payment,       Figure::Frequency,
                                        Figure::InterestRate,  Figure::Term,          Figure::FirstPayment,
                                        Figure::PaymentsMade,  Figure::AdjustedPayoffDate, Figure::Interest,
                                        Figure::ExtraPayments, Figure::TotalPaid,     Figure::InterestSaved,
                                        Figure::PaymentsSaved, Figure::AmountFinanced, Figure::FinanceCharge,
                                        Figure::AnnualPercentageRate};
    std::array<QString, kCompareRows> t;
    for (int row = 0; row < kCompareRows; ++row)
        t[std::size_t(row)] = f[shown[row]];
    t[std::size_t(CompareRow::ExtraPayments)] = f.extraPaymentsCell;
    t[std::size_t(CompareRow::Payment)] = f.paymentsCell;
    return t;
}

// Marks every calculated column whose key is the lowest; keys compare as
// shown (cents, days), so loans that look equal tie.
void markLowest(std::vector<ComparisonColumn>& columns, const std::vector<ComparedLoan>& loans, CompareRow row,
                const std::function<std::int64_t(const LoanResult&)>& key)
{
    std::int64_t lowest = 0;
    int calculated = 0;
    for (const ComparedLoan& loan : loans) {
        if (!loan.result)
            continue;
        const std::int64_t value = key(*loan.result);
        lowest = calculated++ == 0 ? value : std::min(lowest, value);
    }
    if (calculated < 2)
        return;
    for (std::size_t i = 0; i < loans.size(); ++i)
        if (loans[i].result && key(*loans[i].result) == lowest)
            columns[i].best[size_t(row)] = true;
}

}  // namespace

QString compareRowHeading(CompareRow row)
{
    return QString::fromLatin1(kHeadings[int(row)]);
}

std::vector<ComparisonColumn> compareLoans(const std::vector<ComparedLoan>& loans)
{
    std::vector<ComparisonColumn> columns;
    columns.reserve(loans.size());
    for (const ComparedLoan& loan : loans) {
        ComparisonColumn column;
        column.caption = loan.caption;
        column.calculated = loan.result != nullptr;
        if (loan.result)
            column.texts = texts(*loan.result);
        else
            column.texts[0] = QStringLiteral("Not calculated");
        columns.push_back(std::move(column));
    }
    markLowest(columns, loans, CompareRow::TotalInterest,
               [](const LoanResult& r) { return tableCents(r.schedule.summary.interest); });
    markLowest(columns, loans, CompareRow::TotalPaid,
               [](const LoanResult& r) { return tableCents(r.schedule.summary.totalPaid); });
    markLowest(columns, loans, CompareRow::AnnualPercentageRate,
               [](const LoanResult& r) { return std::llround(r.disclosure.annualPercentageRate * 1000.0); });
    markLowest(columns, loans, CompareRow::PayoffDate, [](const LoanResult& r) {
        return std::int64_t(std::chrono::sys_days(r.schedule.adjustedPayoffDate).time_since_epoch().count());
    });
    return columns;
}
