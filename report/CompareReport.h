#pragma once

#include "LoanComparison.h"

#include <vector>

class QPagedPaintDevice;
class QPaintDevice;

// The comparison of the open loans on paper: the title "Compare Loans", the
// table with its row headings (as many loans side by side as fit a page's
// width, the rest in further blocks below), the best values in bold, then the
// chart with each loan's balance over time, and "Page n of m" at each foot.
class CompareReport {
public:
    // The loans' results must outlive the report.
    explicit CompareReport(std::vector<ComparedLoan> loans);

    int pageCount(QPaintDevice& device) const;
    // Paints every page; false when the device cannot be painted on.
    bool paint(QPagedPaintDevice& device) const;

    // Loans side by side in one block of the table.
    static constexpr int kLoansPerBlock = 4;

private:
    std::vector<ComparedLoan> m_loans;
    std::vector<ComparisonColumn> m_columns;
};
