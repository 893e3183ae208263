#include "ResultsTable.h"

#include "LocaleText.h"

namespace {

const char* const kTopHeadings[kResultsColumns] = {"Payment", "Principal", "Principal", "Principal",
                                                   "Interest", "Interest", "Balance"};
const char* const kHeadings[kResultsColumns] = {"Date", "Current", "Extra", "Cummulitive",
                                                "Current", "Cummulitive", "Due"};

}  // namespace

QString resultsCellText(const engine::ScheduleRow& row, ResultsColumn column)
{
    switch (column) {
    case ResultsColumn::Payment:
        return LocaleText::paymentNumberText(row.number) + QStringLiteral(" - ") +
               LocaleText::tableDateText(LocaleText::toQDate(row.dueDate));
    case ResultsColumn::Principal: return LocaleText::groupedAmount(row.principal);
    case ResultsColumn::Extra: return LocaleText::groupedAmount(row.extra);
    case ResultsColumn::CumulativePrincipal: return LocaleText::groupedAmount(row.cumulativePrincipal);
    case ResultsColumn::Interest: return LocaleText::groupedAmount(row.interest);
    case ResultsColumn::CumulativeInterest: return LocaleText::groupedAmount(row.cumulativeInterest);
    case ResultsColumn::Balance: return LocaleText::groupedAmount(row.balance);
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
