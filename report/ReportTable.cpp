#include "ReportTable.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {

const QColor kRule(0x90, 0x90, 0x90);
const QColor kHeadingGround(0xE4, 0xE4, 0xE4);
const QColor kBandGround(0xF2, 0xF2, 0xF2);

}  // namespace

QFont reportFont(double points, bool bold)
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

ReportTable::ReportTable(QPaintDevice& device, ReportTableContent content, double width)
    : m_content(std::move(content)),
      m_mm(device.logicalDpiY() / 25.4),
      m_cell(reportFont(8.5)),
      m_boldCell(reportFont(8.5, true)),
      m_heading(reportFont(8.5, true))
{
    const QFontMetricsF cell(m_boldCell, &device);
    const QFontMetricsF heading(m_heading, &device);
    m_cellMetrics.emplace(m_cell, &device);
    m_boldMetrics.emplace(m_boldCell, &device);
    m_rowHeight = m_cellMetrics->height() * 1.4;
    m_headingRowHeight = heading.height() * 1.5;

    // Column widths from the widest texts the table can hold, spread over the width.
    std::vector<double> natural(size_t(columns()), 0.0);
    for (int column = 0; column < columns(); ++column) {
        double& w = natural[size_t(column)];
        w = heading.horizontalAdvance(m_content.headings[column]);
        for (int row : std::as_const(m_content.widestRows))
            if (row >= 0 && row < m_content.rows)
                w = std::max(w, cell.horizontalAdvance(m_content.cell(row, column)));
        w += 3 * m_mm;
    }
    double total = 0;
    for (double w : natural)
        total += w;
    m_columnX.assign(size_t(columns()) + 1, 0.0);
    for (int column = 0; column < columns(); ++column)
        m_columnX[size_t(column) + 1] = m_columnX[size_t(column)] + natural[size_t(column)] * width / total;
}

QRectF ReportTable::cellRect(int column, double y, double height) const
{
    return QRectF(m_columnX[size_t(column)], y, m_columnX[size_t(column) + 1] - m_columnX[size_t(column)], height);
}

double ReportTable::paintHeading(QPainter& painter, double y) const
{
    painter.setFont(m_heading);
    if (!m_content.topHeadings.isEmpty()) {
        for (int first = 0; first < columns();) {
            const QString& text = m_content.topHeadings[first];
            int last = first;
            while (last + 1 < columns() && m_content.topHeadings[last + 1] == text)
                ++last;
            const QRectF box = cellRect(first, y, m_headingRowHeight).united(cellRect(last, y, m_headingRowHeight));
            paintHeadingCell(painter, box, text);
            first = last + 1;
        }
        y += m_headingRowHeight;
    }
    for (int column = 0; column < columns(); ++column)
        paintHeadingCell(painter, cellRect(column, y, m_headingRowHeight), m_content.headings[column]);
    return y + m_headingRowHeight;
}

void ReportTable::paintHeadingCell(QPainter& painter, const QRectF& box, const QString& text) const
{
    painter.setPen(QPen(kRule, 0));
    painter.setBrush(kHeadingGround);
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, text);
}

double ReportTable::paintRow(QPainter& painter, double y, int row) const
{
    if (row % 2 == 1)
        painter.fillRect(QRectF(0, y, m_columnX.back(), m_rowHeight), kBandGround);
    painter.setPen(Qt::black);
    const double pad = 1.5 * m_mm;
    // Cells are single lines: placed by their measured width and the font's
    // ascent rather than laid out in a box, which costs a third of a long report.
    const QFont* current = nullptr;
    const QFontMetricsF* metrics = nullptr;
    for (int column = 0; column < columns(); ++column) {
        const bool bold = m_content.bold && m_content.bold(row, column);
        const QFont& font = bold ? m_boldCell : m_cell;
        if (&font != current) {
            painter.setFont(font);
            current = &font;
            metrics = bold ? &*m_boldMetrics : &*m_cellMetrics;
        }
        const QString text = m_content.cell(row, column);
        const QRectF box = cellRect(column, y, m_rowHeight).adjusted(pad, 0, -pad, 0);
        const double width = metrics->horizontalAdvance(text);
        const Qt::Alignment side = m_content.side(column);
        double x = box.left();
        if (side & Qt::AlignRight)
            x = box.right() - width;
        else if (side & Qt::AlignHCenter)
            x = box.center().x() - width / 2;
        const double baseline = y + (m_rowHeight - metrics->height()) / 2 + metrics->ascent();
        painter.drawText(QPointF(x, baseline), text);
    }
    return y + m_rowHeight;
}
