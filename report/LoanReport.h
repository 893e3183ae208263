#pragma once

#include "ReportFigures.h"

#include <QString>

class QPagedPaintDevice;
class QPaintDevice;
struct LoanResult;

// A calculated loan as a printed report: the description, the inputs, the
// summary and savings figures and the chart on the first page, then the whole
// amortization table, its two heading rows repeated on every page, and
// "Page n of m" at the foot of each page.
class LoanReport {
public:
    struct Pages {
        int firstPageRows = 0;  // table rows under the figures on page 1
        int rowsPerPage = 0;    // table rows on each later page
        int count = 0;
    };

    // The figures come from the result; the description is the window's
    // current one, which may have been edited since the run.
    LoanReport(const LoanResult& result, QString description);

    // How the table falls onto the pages of this device.
    Pages pages(QPaintDevice& device) const;
    // Paints every page; false when the device cannot be painted on.
    bool paint(QPagedPaintDevice& device) const;

private:
    const LoanResult& m_result;
    QString m_description;
    QList<ReportGroup> m_groups;
};
