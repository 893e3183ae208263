#pragma once

#include "Schedule.h"

#include <QString>

// The amortization table's columns, in the order the window, the report and
// the export show them.
enum class ResultsColumn {
    Payment,  // "001 - 01/15/24"
    Principal,
    Extra,
    CumulativePrincipal,
    Interest,
    CumulativeInterest,
    Balance,
};
inline constexpr int kResultsColumns = 7;

// A cell's text under the user's regional settings.
QString resultsCellText(const engine::ScheduleRow& row, ResultsColumn column);

// The lower heading row, and the upper one whose equal neighbours are drawn merged.
QString resultsHeading(ResultsColumn column);
QString resultsTopHeading(ResultsColumn column);
