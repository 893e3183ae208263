#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QPaintDevice;
class QPainter;

// What a printed table shows: one or two heading rows (the upper one merged
// across neighbouring columns with the same text), the cells by row and
// column, and per column its side.
struct ReportTableContent {
    QStringList topHeadings;  // empty: one heading row
    QStringList headings;
    int rows = 0;
    std::function<QString(int row, int column)> cell;
    std::function<bool(int row, int column)> bold;  // optional: cells printed bold (a total, a best value)
    std::function<Qt::Alignment(int column)> side;
    // Optional: the number a cell shows (an amount, a payment's number). A
    // column's widest text is then that of its largest or its most negative
    // number, and only those two are measured; without it every cell is.
    std::function<double(int row, int column)> number;
};

// A table on a page: fonts, row heights and column widths measured once for
// the device, each column as wide as its widest text and the columns spread
// over the given width (in a smaller font when they would not fit it); light
// and dark bands.
class ReportTable {
public:
    ReportTable(QPaintDevice& device, ReportTableContent content, double width);

    int rows() const { return m_content.rows; }
    double rowHeight() const { return m_rowHeight; }
    double headingHeight() const { return m_headingRowHeight * double(headingRows()); }

    // Each returns the y below what it painted.
    double paintHeading(QPainter& painter, double y) const;
    double paintRow(QPainter& painter, double y, int row) const;

private:
    int headingRows() const { return m_content.topHeadings.isEmpty() ? 1 : 2; }
    int columns() const { return int(m_content.headings.size()); }
    // The cells each column must hold whole.
    std::vector<QList<int>> widestRows() const;
    // The fonts at that size; the columns' widths they need.
    std::vector<double> measure(QPaintDevice& device, double points, const std::vector<QList<int>>& widest);
    QRectF cellRect(int column, double y, double height) const;
    void paintHeadingCell(QPainter& painter, const QRectF& box, const QString& text) const;

    ReportTableContent m_content;
    double m_mm;
    QFont m_cell, m_boldCell, m_heading;
    std::optional<QFontMetricsF> m_cellMetrics, m_boldMetrics;
    double m_rowHeight = 0;
    double m_headingRowHeight = 0;
    std::vector<double> m_columnX;
};

// The fonts every printed report uses.
QFont reportFont(double points, bool bold = false);
