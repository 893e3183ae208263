#pragma once

#include "Schedule.h"

#include <QString>

// The results table's columns and texts, shared by the window's table, the
// printed report and anything else that shows a run's rows.
enum class ResultsColumn {
    PaymentDate,
    PrincipalCurrent,
    PrincipalExtra,
    PrincipalCumulative,
    InterestCurrent,
    InterestCumulative,
    BalanceDue,
};
inline constexpr int kResultsColumnCount = int(ResultsColumn::BalanceDue) + 1;

// A cell as shown: "12 - 01/15/24" in the first column, grouped amounts after.
QString resultsCellText(const engine::ScheduleRow& row, ResultsColumn column);
// The lower heading row ("Date", "Current", ...).
QString resultsHeading(ResultsColumn column);
// The upper heading row; neighbours with the same text are drawn as one cell.
QString resultsTopHeading(ResultsColumn column);
