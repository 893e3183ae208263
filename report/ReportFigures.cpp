#include "ReportFigures.h"

#include "LoanResult.h"
#include "LocaleText.h"
#include "RoundingNote.h"

#include <string_view>

namespace {

// A list's entry at a position, as the window's combo box shows it; empty for none.
template <size_t N>
QString listText(const std::array<std::string_view, N>& texts, int position)
{
    if (position < 0 || size_t(position) >= N)
        return {};
    const std::string_view text = texts[size_t(position)];
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString money(double value)
{
    return LocaleText::currencyText(value);
}

QString date(engine::Date value)
{
    return LocaleText::shortDateText(LocaleText::toQDate(value));
}

}  // namespace

QList<ReportGroup> reportGroups(const LoanResult& result)
{
    const LoanInputs& inputs = result.inputs;
    const engine::ScheduleResult& run = result.schedule;
    const engine::SummaryFigures& summary = run.summary;
    const engine::BaselineFigures& baseline = run.baseline;
    QList<ReportGroup> groups = {
        {QStringLiteral("Loan Data"),
         {{QStringLiteral("Date of First Payment"), LocaleText::shortDateText(inputs.startDate)},
          {QStringLiteral("Frequency"), listText(engine::kFrequencyTexts, inputs.frequency)},
          {QStringLiteral("Interest Rate"), inputs.interestRate + QStringLiteral(" %")},
          {QStringLiteral("Term"), inputs.term + QLatin1Char(' ') + listText(engine::kTermTypeTexts, inputs.termType)},
          {QStringLiteral("Loan Amount"), inputs.loanAmount},
          {QStringLiteral("Payment Amount"), inputs.paymentAmount}}},
        {QStringLiteral("Summary"),
         {{QStringLiteral("Principal"), money(summary.principal)},
          {QStringLiteral("Extra Payments"), money(summary.extraPayments)},
          {QStringLiteral("Interest"), money(summary.interest)},
          {QStringLiteral("Total Principal Paid"), money(summary.totalPrincipal)},
          {QStringLiteral("Total All Payments"), money(summary.totalPaid)}}},
        {QStringLiteral("Original Loan"),
         {{QStringLiteral("Loan Amount"), money(baseline.loanAmount)},
          {QStringLiteral("Payoff Date"), date(baseline.payoffDate)},
          {QStringLiteral("Interest Paid"), money(baseline.interestPaid)},
          {QStringLiteral("Total All Payments"), money(baseline.totalPaid)}}},
        {QStringLiteral("Adjusted Totals Due to Extra Payments"),
         {{QStringLiteral("Principal Amount Paid Early"), money(summary.extraPayments)},
          {QStringLiteral("Adjusted Payoff Date"), date(run.adjustedPayoffDate)},
          {QStringLiteral("Adjusted Interest Paid"), money(summary.interest)},
          {QStringLiteral("Adjusted Total Payments"), money(summary.totalPaid)}}},
        {QStringLiteral("Total Savings Due to Extra Payments"),
         {{QStringLiteral("Number of Payments Saved"), QString::number(run.paymentsSaved)},
          {QStringLiteral("Total Saved"), money(run.totalSaved)}}},
    };
    // The last payment's rounding, named on a line of its own under each
    // extra payments figure, as the window shows it under the box.
    if (const QString note = lastPaymentRoundingNote(summary); !note.isEmpty()) {
        for (ReportGroup& group : groups)
            for (qsizetype i = 0; i < group.fields.size(); ++i)
                if (group.fields[i].first == QLatin1String("Extra Payments") ||
                    group.fields[i].first == QLatin1String("Principal Amount Paid Early"))
                    group.fields.insert(++i, {note, QString()});
    }
    return groups;
}

std::array<double, 3> reportChartValues(const LoanResult& result)
{
    const engine::SummaryFigures& summary = result.schedule.summary;
    return {summary.interest, summary.extraPayments, summary.principal};
}
