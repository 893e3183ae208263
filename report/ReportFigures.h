#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <array>

struct LoanResult;

// The figures printed above the table, as the loan window's boxes show them
// after the same run: each group titled like the window's frame, each line a
// caption and the value's text.
struct ReportGroup {
    QString title;
    QList<QPair<QString, QString>> fields;  // caption, value
};

// The loan's inputs, the summary, and the original loan, adjusted totals and
// savings, in the window's order.
QList<ReportGroup> reportGroups(const LoanResult& result);

// The summary chart's bars: interest, extra payments, principal.
std::array<double, 3> reportChartValues(const LoanResult& result);
