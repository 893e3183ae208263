#include "LoanReport.h"

#include "LoanResult.h"
#include "ResultsTable.h"
#include "SummaryChart.h"

#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kTitleLines = 3;
constexpr qsizetype kTitleCharacters = 2000;  // more than three lines ever show
const QColor kRule(0x90, 0x90, 0x90);
const QColor kHeadingGround(0xE4, 0xE4, 0xE4);
const QColor kBandGround(0xF2, 0xF2, 0xF2);

QFont reportFont(double points, bool bold = false)
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Everything measured once per device: fonts, line heights, column widths and
// the height of the first page's figures.
class Layout {
public:
    Layout(QPaintDevice& device, const LoanResult& result, const QString& description,
           const QList<ReportGroup>& groups)
        : m_device(device),
          m_rows(result.schedule.rows),
          m_description(description),
          m_groups(groups),
          m_chartValues(reportChartValues(result)),
          m_mm(device.logicalDpiY() / 25.4),
          m_width(device.width()),
          m_height(device.height()),
          m_title(reportFont(14, true)),
          m_groupTitle(reportFont(9.5, true)),
          m_text(reportFont(9)),
          m_table(reportFont(8.5)),
          m_tableHeading(reportFont(8.5, true)),
          m_footer(reportFont(8))
    {
        m_rowHeight = metrics(m_table).height() * 1.4;
        m_headingRowHeight = metrics(m_tableHeading).height() * 1.5;
        m_footerHeight = metrics(m_footer).height() + 4 * m_mm;
        m_titleLines = titleLines();
        m_figuresHeight = paintFigures(nullptr);
        measureColumns();
    }

    LoanReport::Pages pages() const
    {
        const double tableHeight = m_height - m_footerHeight - 2 * m_headingRowHeight;
        LoanReport::Pages pages;
        pages.firstPageRows = std::max(0, int(std::floor((tableHeight - m_figuresHeight) / m_rowHeight)));
        pages.rowsPerPage = std::max(1, int(std::floor(tableHeight / m_rowHeight)));
        const int rows = rowCount();
        const int rest = std::max(0, rows - pages.firstPageRows);
        pages.count = 1 + (rest + pages.rowsPerPage - 1) / pages.rowsPerPage;
        return pages;
    }

    bool paint(QPagedPaintDevice& device) const
    {
        QPainter painter;
        if (!painter.begin(&device))
            return false;
        const LoanReport::Pages plan = pages();
        const int rows = rowCount();
        int row = 0;
        for (int page = 1; page <= plan.count; ++page) {
            if (page > 1 && !device.newPage()) {
                painter.end();
                return false;
            }
            double y = 0;
            if (page == 1)
                y = paintFigures(&painter);
            const int pageRows = std::min(rows - row, page == 1 ? plan.firstPageRows : plan.rowsPerPage);
            if (pageRows > 0 || page > 1)
                y = paintTableHeading(painter, y);
            for (int i = 0; i < pageRows; ++i, ++row)
                y = paintTableRow(painter, y, row);
            paintFooter(painter, page, plan.count);
        }
        return painter.end();
    }

private:
    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return kResultsColumns; }

    QFontMetricsF metrics(const QFont& font) const { return QFontMetricsF(font, &m_device); }

    // The description wrapped onto at most three lines, the last one elided.
    QStringList titleLines() const
    {
        QString text = m_description.left(kTitleCharacters);
        text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        text.replace(QLatin1Char('\r'), QChar::LineSeparator);
        if (text.trimmed().isEmpty())
            return {};
        QTextLayout layout(text, m_title, &m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        QStringList lines;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(m_width);
            if (lines.size() == kTitleLines - 1) {
                const QString rest = text.mid(line.textStart());
                QString last = rest.section(QChar::LineSeparator, 0, 0);
                if (last.size() != rest.size())
                    last += QStringLiteral(" …");
                lines << metrics(m_title).elidedText(last, Qt::ElideRight, m_width);
                break;
            }
            lines << text.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator);
        }
        layout.endLayout();
        return lines;
    }

    // One group of figures: its title over a rule, then caption and value per
    // line. Returns the height used; paints only with a painter.
    double paintGroup(QPainter* painter, const ReportGroup& group, double x, double y,
                      double width) const
    {
        const QFontMetricsF titleMetrics = metrics(m_groupTitle);
        const QFontMetricsF textMetrics = metrics(m_text);
        const double titleHeight = titleMetrics.height() * 1.2;
        const double lineHeight = textMetrics.height() * 1.25;
        if (painter) {
            painter->setFont(m_groupTitle);
            painter->setPen(Qt::black);
            painter->drawText(QRectF(x, y, width, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                              titleMetrics.elidedText(group.title, Qt::ElideRight, width));
            painter->setPen(QPen(kRule, 0));
            painter->drawLine(QPointF(x, y + titleHeight), QPointF(x + width, y + titleHeight));
            painter->setPen(Qt::black);
            painter->setFont(m_text);
            double lineY = y + titleHeight + 0.5 * m_mm;
            for (const auto& [caption, value] : group.fields) {
                const QRectF line(x + 1 * m_mm, lineY, width - 2 * m_mm, lineHeight);
                const double valueWidth = std::min(textMetrics.horizontalAdvance(value), line.width() / 2);
                painter->drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                                  textMetrics.elidedText(caption, Qt::ElideRight, line.width() - valueWidth - m_mm));
                painter->drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                                  textMetrics.elidedText(value, Qt::ElideRight, line.width() / 2));
                lineY += lineHeight;
            }
        }
        return titleHeight + 0.5 * m_mm + lineHeight * double(group.fields.size());
    }

    // Title, the figures in two columns and the chart; returns where the
    // table starts. Measures only without a painter.
    double paintFigures(QPainter* painter) const
    {
        double y = 0;
        const double titleLineHeight = metrics(m_title).height();
        if (painter) {
            painter->setFont(m_title);
            painter->setPen(Qt::black);
            for (int i = 0; i < m_titleLines.size(); ++i)
                painter->drawText(QRectF(0, y + i * titleLineHeight, m_width, titleLineHeight),
                                  Qt::AlignLeft | Qt::AlignVCenter, m_titleLines[i]);
        }
        y += titleLineHeight * double(m_titleLines.size()) + (m_titleLines.isEmpty() ? 0 : 3 * m_mm);

        // Inputs and summary on the left, the savings on the right.
        const double gap = 8 * m_mm;
        const double columnWidth = (m_width - gap) / 2;
        double left = y, right = y;
        for (qsizetype i = 0; i < m_groups.size(); ++i) {
            const bool onLeft = i < 2;
            double& columnY = onLeft ? left : right;
            columnY += paintGroup(painter, m_groups[i], onLeft ? 0 : columnWidth + gap, columnY,
                                  columnWidth) + 3 * m_mm;
        }
        y = std::max(left, right);

        const double chartHeight = 55 * m_mm;
        if (painter)
            paintChart(*painter, QRectF(0, y, m_width, chartHeight));
        return y + chartHeight + 4 * m_mm;
    }

    void paintChart(QPainter& painter, const QRectF& target) const
    {
        // The window's own chart, laid out at screen size and scaled onto the page.
        SummaryChart view;
        view.setValues(m_chartValues[0], m_chartValues[1], m_chartValues[2]);
        const QSizeF size(640, 640 * target.height() / target.width());
        QChart* chart = view.chart();
        chart->setGeometry(QRectF(QPointF(0, 0), size));
        if (chart->layout())
            chart->layout()->activate();
        view.scene()->setSceneRect(QRectF(QPointF(0, 0), size));
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        view.scene()->render(&painter, target, QRectF(QPointF(0, 0), size));
        painter.restore();
    }

    // Column widths from the widest texts the table can hold (its headings,
    // its first and last rows), spread over the page's width.
    void measureColumns()
    {
        const int columns = columnCount();
        std::vector<double> natural(size_t(columns), 0.0);
        const QFontMetricsF cell = metrics(m_table);
        const QFontMetricsF heading = metrics(m_tableHeading);
        for (int column = 0; column < columns; ++column) {
            double& width = natural[size_t(column)];
            width = heading.horizontalAdvance(resultsHeading(ResultsColumn(column)));
            for (int row : {0, rowCount() - 1})
                if (row >= 0)
                    width = std::max(width, cell.horizontalAdvance(resultsCellText(m_rows[size_t(row)],
                                                                                   ResultsColumn(column))));
            width += 3 * m_mm;
        }
        double total = 0;
        for (double w : natural)
            total += w;
        m_columnX.assign(size_t(columns) + 1, 0.0);
        for (int column = 0; column < columns; ++column)
            m_columnX[size_t(column) + 1] = m_columnX[size_t(column)] + natural[size_t(column)] * m_width / total;
    }

    QRectF cellRect(int column, double y, double height) const
    {
        return QRectF(m_columnX[size_t(column)], y, m_columnX[size_t(column) + 1] - m_columnX[size_t(column)], height);
    }

    // The two heading rows: the upper merged across columns with the same text.
    double paintTableHeading(QPainter& painter, double y) const
    {
        const int columns = columnCount();
        painter.setFont(m_tableHeading);
        for (int first = 0; first < columns;) {
            const QString text = resultsTopHeading(ResultsColumn(first));
            int last = first;
            while (last + 1 < columns && resultsTopHeading(ResultsColumn(last + 1)) == text)
                ++last;
            const QRectF box = cellRect(first, y, m_headingRowHeight).united(cellRect(last, y, m_headingRowHeight));
            paintHeadingCell(painter, box, text);
            first = last + 1;
        }
        y += m_headingRowHeight;
        for (int column = 0; column < columns; ++column)
            paintHeadingCell(painter, cellRect(column, y, m_headingRowHeight),
                             resultsHeading(ResultsColumn(column)));
        return y + m_headingRowHeight;
    }

    void paintHeadingCell(QPainter& painter, const QRectF& box, const QString& text) const
    {
        painter.setPen(QPen(kRule, 0));
        painter.setBrush(kHeadingGround);
        painter.drawRect(box);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, text);
    }

    double paintTableRow(QPainter& painter, double y, int row) const
    {
        const engine::ScheduleRow& payment = m_rows[size_t(row)];
        if (row % 2 == 1)
            painter.fillRect(QRectF(0, y, m_columnX.back(), m_rowHeight), kBandGround);
        painter.setFont(m_table);
        painter.setPen(Qt::black);
        const double pad = 1.5 * m_mm;
        for (int column = 0; column < columnCount(); ++column) {
            const QRectF box = cellRect(column, y, m_rowHeight).adjusted(pad, 0, -pad, 0);
            const auto which = ResultsColumn(column);
            const Qt::Alignment side = which == ResultsColumn::Payment ? Qt::AlignLeft : Qt::AlignRight;
            painter.drawText(box, side | Qt::AlignVCenter, resultsCellText(payment, which));
        }
        return y + m_rowHeight;
    }

    void paintFooter(QPainter& painter, int page, int pages) const
    {
        const QFontMetricsF footer = metrics(m_footer);
        const QRectF line(0, m_height - footer.height(), m_width, footer.height());
        painter.setPen(QPen(kRule, 0));
        painter.drawLine(QPointF(0, line.top() - 1.5 * m_mm), QPointF(m_width, line.top() - 1.5 * m_mm));
        painter.setPen(Qt::black);
        painter.setFont(m_footer);
        const QString number = QStringLiteral("Page %1 of %2").arg(page).arg(pages);
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, number);
        QString description = m_description.left(kTitleCharacters).simplified();
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         footer.elidedText(description, Qt::ElideRight,
                                           m_width - footer.horizontalAdvance(number) - 8 * m_mm));
    }

    QPaintDevice& m_device;
    const std::vector<engine::ScheduleRow>& m_rows;
    const QString& m_description;
    const QList<ReportGroup>& m_groups;
    std::array<double, 3> m_chartValues;
    double m_mm;
    double m_width;
    double m_height;
    QFont m_title, m_groupTitle, m_text, m_table, m_tableHeading, m_footer;
    double m_rowHeight = 0;
    double m_headingRowHeight = 0;
    double m_footerHeight = 0;
    QStringList m_titleLines;
    double m_figuresHeight = 0;
    std::vector<double> m_columnX;
};

}  // namespace

LoanReport::LoanReport(const LoanResult& result, QString description)
    : m_result(result), m_description(std::move(description)), m_groups(reportGroups(result))
{
}

LoanReport::Pages LoanReport::pages(QPaintDevice& device) const
{
    return Layout(device, m_result, m_description, m_groups).pages();
}

bool LoanReport::paint(QPagedPaintDevice& device) const
{
    return Layout(device, m_result, m_description, m_groups).paint(device);
}
