#include "ReportTable.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace {

const QColor kRule(0x90, 0x90, 0x90);
const QColor kHeadingGround(0xE4, 0xE4, 0xE4);
const QColor kBandGround(0xF2, 0xF2, 0xF2);
constexpr double kCellPoints = 8.5;
constexpr double kSmallestPoints = 3.0;
constexpr double kPaddingMm = 3.0;  // within a column, beside its text

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
    : m_content(std::move(content)), m_mm(device.logicalDpiY() / 25.4)
{
    const std::vector<QList<int>> widest = widestRows();
    // Texts that do not fit the width at the usual size are set smaller until
    // they do, rather than run into each other. Their width follows the size,
    // the padding stays: each step aims at the size that fits, a little less.
    double points = kCellPoints;
    std::vector<double> natural = measure(device, points, widest);
    const double padding = kPaddingMm * m_mm * double(columns());
    for (int step = 0; step < 20; ++step) {
        const double total = std::accumulate(natural.begin(), natural.end(), 0.0);
        if (total <= width || points <= kSmallestPoints)
            break;
        const double fit = (width - padding) / std::max(total - padding, 1.0);
        points = std::max(kSmallestPoints, points * std::min(fit, 0.98));
        natural = measure(device, points, widest);
    }
    const double total = std::accumulate(natural.begin(), natural.end(), 0.0);
    m_columnX.assign(size_t(columns()) + 1, 0.0);
    for (int column = 0; column < columns(); ++column)
        m_columnX[size_t(column) + 1] = m_columnX[size_t(column)] + natural[size_t(column)] * width / total;
}

std::vector<QList<int>> ReportTable::widestRows() const
{
    std::vector<QList<int>> widest(static_cast<size_t>(columns()));
    if (m_content.rows == 0)
        return widest;
    for (int column = 0; column < columns(); ++column) {
        QList<int>& rows = widest[size_t(column)];
        if (!m_content.number) {
            for (int row = 0; row < m_content.rows; ++row)
                rows << row;
            continue;
        }
        // Digits are as wide as each other: the most digits, and a minus sign, make the widest text.
        int high = 0, low = 0;
        double highest = m_content.number(0, column), lowest = highest;
        for (int row = 1; row < m_content.rows; ++row) {
            const double value = m_content.number(row, column);
            if (value > highest) {
                highest = value;
                high = row;
            } else if (value < lowest) {
                lowest = value;
                low = row;
            }
        }
        rows << high << low;
    }
    return widest;
}

std::vector<double> ReportTable::measure(QPaintDevice& device, double points, const std::vector<QList<int>>& widest)
{
    m_cell = reportFont(points);
    m_boldCell = reportFont(points, true);
    m_heading = reportFont(points, true);
    const QFontMetricsF bold(m_boldCell, &device);
    const QFontMetricsF heading(m_heading, &device);
    m_cellMetrics.emplace(m_cell, &device);
    m_boldMetrics.emplace(m_boldCell, &device);
    m_rowHeight = m_cellMetrics->height() * 1.4;
    m_headingRowHeight = heading.height() * 1.5;
    std::vector<double> natural(size_t(columns()), 0.0);
    for (int column = 0; column < columns(); ++column) {
        double& w = natural[size_t(column)];
        w = heading.horizontalAdvance(m_content.headings[column]);
        // Measured bold: a bold row (a total) may hold any of them.
        for (int row : widest[size_t(column)])
            w = std::max(w, bold.horizontalAdvance(m_content.cell(row, column)));
        w += kPaddingMm * m_mm;
    }
    return natural;
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
    const double pad = kPaddingMm / 2 * m_mm;
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
