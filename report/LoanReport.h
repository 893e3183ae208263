#pragma once

#include "LoanFigures.h"

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPaintDevice;
struct LoanResult;

// A calculated loan as a printed report: the description, the inputs, the
// summary and savings figures, the summary chart and the balance over time on
// the first page, then the totals of each year and the whole amortization
// table, each table's headings repeated on every page it reaches, and
// "Page n of m" at the foot of each page.
class LoanReport {
public:
    // The figures come from the result; the description is the window's
    // current one, which may have been edited since the run.
    LoanReport(const LoanResult& result, QString description);

    // How many pages the report takes on this device.
    int pageCount(QPaintDevice& device) const;
    // Told after each page how many of how many are done; answers false to
    // stop (the user cancelled).
    using Progress = std::function<bool(int done, int pages)>;

    // Paints every page; false when the device cannot be painted on or the
    // progress asked to stop.
    bool paint(QPagedPaintDevice& device, const Progress& progress = {}) const;

private:
    const LoanResult& m_result;
    QString m_description;
    QList<FigureGroup> m_groups;
};
