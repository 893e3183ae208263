#include "CompareReport.h"

#include "ReportCharts.h"
#include "ReportTable.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace {

const QColor kRule(0x90, 0x90, 0x90);

ReportTableContent block(const std::vector<ComparisonColumn>& columns, size_t first, size_t count)
{
    ReportTableContent content;
    content.headings << QString();
    for (size_t i = first; i < first + count; ++i)
        content.headings << columns[i].caption;
    content.rows = kCompareRows;
    content.cell = [&columns, first](int row, int column) {
        return column == 0 ? compareRowHeading(CompareRow(row)) : columns[first + size_t(column - 1)].texts[size_t(row)];
    };
    content.bold = [&columns, first](int row, int column) {
        return column == 0 || columns[first + size_t(column - 1)].best[size_t(row)];
    };
    content.side = [](int column) { return column == 0 ? Qt::AlignLeft : Qt::AlignRight; };
    return content;
}

// What goes where: blocks of the table, then the chart, each moved to a new
// page when it does not fit under what came before.
class Layout {
public:
    Layout(QPaintDevice& device, const std::vector<ComparedLoan>& loans, const std::vector<ComparisonColumn>& columns)
        : m_loans(loans),
          m_mm(device.logicalDpiY() / 25.4),
          m_width(device.width()),
          m_height(device.height()),
          m_title(reportFont(14, true)),
          m_footer(reportFont(8))
    {
        m_titleHeight = QFontMetricsF(m_title, &device).height() + 3 * m_mm;
        m_footerHeight = QFontMetricsF(m_footer, &device).height() + 4 * m_mm;
        for (size_t first = 0; first < columns.size(); first += CompareReport::kLoansPerBlock) {
            const size_t count = std::min<size_t>(CompareReport::kLoansPerBlock, columns.size() - first);
            // Narrow blocks keep the width one loan's column has in a full one.
            const double width = m_width * double(count + 1) / double(CompareReport::kLoansPerBlock + 1);
            m_blocks.push_back(std::make_unique<ReportTable>(device, block(columns, first, count), width));
        }
        double y = m_titleHeight;
        m_page.assign(m_blocks.size() + 1, 0);
        for (size_t i = 0; i <= m_blocks.size(); ++i) {
            const double height = i < m_blocks.size() ? blockHeight(i) : chartHeight();
            if (y > 0 && y + height > m_height - m_footerHeight) {
                ++m_pages;
                y = 0;
            }
            m_page[i] = m_pages - 1;
            y += height + 5 * m_mm;
        }
    }

    int pageCount() const { return m_pages; }

    bool paint(QPagedPaintDevice& device) const
    {
        QPainter painter;
        if (!painter.begin(&device))
            return false;
        painter.setFont(m_title);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, m_width, m_titleHeight), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("Compare Loans"));
        double y = m_titleHeight;
        int page = 0;
        for (size_t i = 0; i <= m_blocks.size(); ++i) {
            if (m_page[i] != page) {
                paintFooter(painter, page + 1);
                if (!device.newPage()) {
                    painter.end();
                    return false;
                }
                page = m_page[i];
                y = 0;
            }
            if (i < m_blocks.size()) {
                y = m_blocks[i]->paintHeading(painter, y);
                for (int row = 0; row < m_blocks[i]->rows(); ++row)
                    y = m_blocks[i]->paintRow(painter, y, row);
            } else {
                QList<BalanceLine> lines;
                for (const ComparedLoan& loan : m_loans)
                    if (loan.result)
                        lines.append({loan.caption, BalanceChart::rowPoints(loan.result->schedule),
                                      loan.colourSlot});
                ReportCharts::paintBalance(painter, QRectF(0, y, m_width, chartHeight()), lines);
                y += chartHeight();
            }
            y += 5 * m_mm;
        }
        paintFooter(painter, page + 1);
        return painter.end();
    }

private:
    double blockHeight(size_t i) const
    {
        return m_blocks[i]->headingHeight() + m_blocks[i]->rows() * m_blocks[i]->rowHeight();
    }
    double chartHeight() const { return 90 * m_mm; }

    void paintFooter(QPainter& painter, int page) const
    {
        const double height = m_footerHeight - 4 * m_mm;
        const QRectF line(0, m_height - height, m_width, height);
        painter.setPen(QPen(kRule, 0));
        painter.drawLine(QPointF(0, line.top() - 1.5 * m_mm), QPointF(m_width, line.top() - 1.5 * m_mm));
        painter.setPen(Qt::black);
        painter.setFont(m_footer);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Compare Loans"));
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(page).arg(m_pages));
    }

    const std::vector<ComparedLoan>& m_loans;
    double m_mm, m_width, m_height;
    QFont m_title, m_footer;
    double m_titleHeight = 0, m_footerHeight = 0;
    std::vector<std::unique_ptr<ReportTable>> m_blocks;
    std::vector<int> m_page;  // the page of each block, the chart last
    int m_pages = 1;
};

}  // namespace

CompareReport::CompareReport(std::vector<ComparedLoan> loans)
    : m_loans(std::move(loans)), m_columns(compareLoans(m_loans))
{
}

int CompareReport::pageCount(QPaintDevice& device) const
{
    return Layout(device, m_loans, m_columns).pageCount();
}

bool CompareReport::paint(QPagedPaintDevice& device) const
{
    return Layout(device, m_loans, m_columns).paint(device);
}
