#include "LoanComparison.h"

#include "LocaleText.h"
#include "RoundingNote.h"
#include "YearlyTotals.h"

#include <QLocale>

#include <algorithm>
#include <cstdint>
#include <functional>

namespace {

const char* const kHeadings[kCompareRows] = {
    "Loan Amount",    "Payment",        "Frequency",      "Annual Rate", "Term",
    "First Payment",  "Payments Made",  "Payoff Date",    "Total Interest",
    "Extra Payments", "Total Paid",     "Interest Saved", "Payments Saved",
};

QString frequencyText(const Loan& loan)
{
    if (!loan.frequency)
        return {};
    return QString::fromLatin1(engine::kFrequencyTexts[size_t(*loan.frequency)]);
}

QString termText(const Loan& loan)
{
    const QString number = QString::number(loan.term);
    if (!loan.termUnit)
        return number;
    return number + QLatin1Char(' ') + QString::fromLatin1(engine::kTermTypeTexts[size_t(*loan.termUnit)]);
}

std::array<QString, kCompareRows> texts(const LoanResult& result)
{
    const engine::ScheduleResult& run = result.schedule;
    const double interestSaved = run.baseline.interestPaid - run.summary.interest;
    std::array<QString, kCompareRows> t;
    t[int(CompareRow::LoanAmount)] = LocaleText::currencyText(run.loanAmount);
    t[int(CompareRow::Payment)] = LocaleText::currencyText(run.payment);
    t[int(CompareRow::Frequency)] = frequencyText(result.loan);
    t[int(CompareRow::AnnualRate)] = LocaleText::plainNumberText(result.loan.annualRatePercent) + QLocale().percent();
    t[int(CompareRow::Term)] = termText(result.loan);
    t[int(CompareRow::FirstPayment)] = LocaleText::shortDateText(result.loan.firstPaymentDate);
    t[int(CompareRow::PaymentsMade)] = QString::number(run.rows.size());
    t[int(CompareRow::PayoffDate)] = LocaleText::shortDateText(LocaleText::toQDate(run.adjustedPayoffDate));
    t[int(CompareRow::TotalInterest)] = LocaleText::currencyText(run.summary.interest);
    t[int(CompareRow::ExtraPayments)] = extraPaymentsText(run.summary);
    t[int(CompareRow::TotalPaid)] = LocaleText::currencyText(run.summary.totalPaid);
    t[int(CompareRow::InterestSaved)] = LocaleText::currencyText(interestSaved);
    t[int(CompareRow::PaymentsSaved)] = QString::number(run.paymentsSaved);
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
    markLowest(columns, loans, CompareRow::PayoffDate, [](const LoanResult& r) {
        return std::int64_t(std::chrono::sys_days(r.schedule.adjustedPayoffDate).time_since_epoch().count());
    });
    return columns;
}
