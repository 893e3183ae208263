#include "ResultsTableText.h"

#include "LocaleText.h"

namespace {

const char* const kTopHeadings[kResultsColumnCount] = {"Payment", "Principal", "Principal", "Principal",
                                                       "Interest", "Interest", "Balance"};
const char* const kHeadings[kResultsColumnCount] = {"Date", "Current", "Extra", "Cummulitive",
                                                    "Current", "Cummulitive", "Due"};

}  // namespace

QString resultsCellText(const engine::ScheduleRow& row, ResultsColumn column)
{
    switch (column) {
    case ResultsColumn::PaymentDate:
        return LocaleText::paymentNumberText(row.number) + QStringLiteral(" - ") +
               LocaleText::tableDateText(LocaleText::toQDate(row.dueDate));
    case ResultsColumn::PrincipalCurrent: return LocaleText::groupedAmount(row.principal);
    case ResultsColumn::PrincipalExtra: return LocaleText::groupedAmount(row.extra);
    case ResultsColumn::PrincipalCumulative: return LocaleText::groupedAmount(row.cumulativePrincipal);
    case ResultsColumn::InterestCurrent: return LocaleText::groupedAmount(row.interest);
    case ResultsColumn::InterestCumulative: return LocaleText::groupedAmount(row.cumulativeInterest);
    case ResultsColumn::BalanceDue: return LocaleText::groupedAmount(row.balance);
    }
    return {};
}

QString resultsHeading(ResultsColumn column)
{
    return QString::fromLatin1(kHeadings[int(column)]);
}

QString resultsTopHeading(ResultsColumn column)
{
    return QString::fromLatin1(kTopHeadings[int(column)]);
}
