#include "LoanReport.h"

#include "LoanResult.h"
#include "LocaleText.h"
#include "ReportCharts.h"
#include "ReportTable.h"
#include "ResultsTable.h"
#include "YearlyTotals.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <vector>

#include <malloc.h>

namespace {

constexpr int kTitleLines = 3;
constexpr qsizetype kTitleCharacters = 2000;  // more than three lines ever show
const QColor kRule(0x90, 0x90, 0x90);

ReportTableContent paymentTable(const std::vector<engine::ScheduleRow>& rows)
{
    ReportTableContent content;
    for (int column = 0; column < kResultsColumns; ++column) {
        content.topHeadings << resultsTopHeading(ResultsColumn(column));
        content.headings << resultsHeading(ResultsColumn(column));
    }
    content.rows = int(rows.size());
    content.cell = [&rows](int row, int column) { return resultsCellText(rows[size_t(row)], ResultsColumn(column)); };
    content.side = [](int column) {
        return ResultsColumn(column) == ResultsColumn::Payment ? Qt::AlignLeft : Qt::AlignRight;
    };
    content.number = [&rows](int row, int column) {
        const engine::ScheduleRow& r = rows[size_t(row)];
        switch (ResultsColumn(column)) {
        case ResultsColumn::Payment: return double(r.number);
        case ResultsColumn::Principal: return r.principal;
        case ResultsColumn::Extra: return r.extra;
        case ResultsColumn::CumulativePrincipal: return r.cumulativePrincipal;
        case ResultsColumn::Interest: return r.interest;
        case ResultsColumn::CumulativeInterest: return r.cumulativeInterest;
        case ResultsColumn::Balance: return r.balance;
        }
        return 0.0;
    };
    return content;
}

ReportTableContent yearlyTable(const YearlyTotals& totals)
{
    ReportTableContent content;
    for (int column = 0; column < kYearlyColumns; ++column)
        content.headings << yearlyHeading(YearlyColumn(column));
    const int years = int(totals.years.size());
    content.rows = years == 0 ? 0 : years + 1;
    content.cell = [&totals, years](int row, int column) {
        return row == years ? yearlyTotalCellText(totals.total, YearlyColumn(column))
                            : yearlyCellText(totals.years[size_t(row)], YearlyColumn(column));
    };
    content.bold = [years](int row, int) { return row == years; };
    content.side = [](int column) { return YearlyColumn(column) == YearlyColumn::Year ? Qt::AlignLeft : Qt::AlignRight; };
    return content;
}

// Qt's PDF writer compresses each finished page through buffers of several
// megabytes. With glibc's defaults that memory goes back to the system and is
// taken again, zeroed, for every page: a third of the time of a report of
// 32,767 payments. Kept for reuse once a report is painted.
void keepPageBuffers()
{
    static const bool kept = [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
        return true;
    }();
    (void)kept;
}

// One run of a table's rows on one page.
struct Slice {
    const ReportTable* table;
    int first;
    int count;
};

// Everything measured once per device: the title, the figures, the two
// tables, and which rows of which table land on which page.
class Layout {
public:
    Layout(QPaintDevice& device, const LoanResult& result, const QString& description,
           const QList<FigureGroup>& groups)
        : m_device(device),
          m_result(result),
          m_description(description),
          m_groups(groups),
          m_yearly(yearlyTotals(result.schedule.rows, LocaleText::toYmd(result.today))),
          m_mm(device.logicalDpiY() / 25.4),
          m_width(device.width()),
          m_height(device.height()),
          m_title(reportFont(14, true)),
          m_groupTitle(reportFont(9.5, true)),
          m_text(reportFont(9)),
          m_footer(reportFont(8)),
          m_yearlyTable(device, yearlyTable(m_yearly), m_width),
          m_paymentTable(device, paymentTable(result.schedule.rows), m_width)
    {
        m_footerHeight = metrics(m_footer).height() + 4 * m_mm;
        m_titleLines = titleLines();
        planPages(paintFigures(nullptr));
    }

    int pageCount() const { return int(m_pages.size()); }

    bool paint(QPagedPaintDevice& device, const LoanReport::Progress& progress) const
    {
        keepPageBuffers();
        QPainter painter;
        if (!painter.begin(&device))
            return false;
        for (int page = 0; page < pageCount(); ++page) {
            if (page > 0 && !device.newPage()) {
                painter.end();
                return false;
            }
            double y = page == 0 ? paintFigures(&painter) : 0;
            for (const Slice& slice : m_pages[size_t(page)]) {
                y = slice.table->paintHeading(painter, y);
                for (int row = slice.first; row < slice.first + slice.count; ++row)
                    y = slice.table->paintRow(painter, y, row);
                y += tableGap();
            }
            paintFooter(painter, page + 1, pageCount());
            if (progress && !progress(page + 1, pageCount())) {
                painter.end();
                return false;
            }
        }
        return painter.end();
    }

private:
    QFontMetricsF metrics(const QFont& font) const { return QFontMetricsF(font, &m_device); }
    double tableGap() const { return 5 * m_mm; }

    // The yearly table after the figures, then the payment table; each
    // fills a page before going on to the next, its heading repeated there.
    void planPages(double figuresHeight)
    {
        const double bottom = m_height - m_footerHeight;
        m_pages.assign(1, {});
        double y = figuresHeight;
        for (const ReportTable* table : {&m_yearlyTable, &m_paymentTable}) {
            int row = 0;
            while (row < table->rows()) {
                const int fit = int(std::floor((bottom - y - table->headingHeight()) / table->rowHeight()));
                // A table starts on a page only with two rows there (or all it has).
                if (fit < std::min(2, table->rows() - row)) {
                    m_pages.emplace_back();
                    y = 0;
                    continue;
                }
                const int count = std::min(fit, table->rows() - row);
                m_pages.back().push_back({table, row, count});
                row += count;
                y += table->headingHeight() + count * table->rowHeight() + tableGap();
            }
        }
    }

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
    double paintGroup(QPainter* painter, const FigureGroup& group, double x, double y,
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
            for (const auto& [caption, value] : group.lines) {
                const QRectF line(x + 1 * m_mm, lineY, width - 2 * m_mm, lineHeight);
                const double valueWidth = std::min(textMetrics.horizontalAdvance(value), line.width() / 2);
                painter->drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                                  textMetrics.elidedText(caption, Qt::ElideRight, line.width() - valueWidth - m_mm));
                painter->drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                                  textMetrics.elidedText(value, Qt::ElideRight, line.width() / 2));
                lineY += lineHeight;
            }
        }
        return titleHeight + 0.5 * m_mm + lineHeight * double(group.lines.size());
    }

    // Title, the figures in two columns and the charts; returns where the
    // tables start. Measures only without a painter.
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

        // The summary chart and the balance over time side by side.
        const double chartHeight = 55 * m_mm;
        if (painter) {
            const double chartWidth = (m_width - 4 * m_mm) / 2;
            const engine::SummaryFigures& summary = m_result.schedule.summary;
            ReportCharts::paintSummary(*painter, QRectF(0, y, chartWidth, chartHeight),
                                       {summary.interest, summary.extraPayments, summary.principal});
            ReportCharts::paintBalance(*painter, QRectF(m_width - chartWidth, y, chartWidth, chartHeight),
                                       m_result.schedule);
        }
        return y + chartHeight + 4 * m_mm;
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
    const LoanResult& m_result;
    const QString& m_description;
    const QList<FigureGroup>& m_groups;
    YearlyTotals m_yearly;
    double m_mm;
    double m_width;
    double m_height;
    QFont m_title, m_groupTitle, m_text, m_footer;
    ReportTable m_yearlyTable;
    ReportTable m_paymentTable;
    double m_footerHeight = 0;
    QStringList m_titleLines;
    std::vector<std::vector<Slice>> m_pages;
};

}  // namespace

LoanReport::LoanReport(const LoanResult& result, QString description)
    : m_result(result), m_description(std::move(description)), m_groups(figureGroups(result))
{
}

int LoanReport::pageCount(QPaintDevice& device) const
{
    return Layout(device, m_result, m_description, m_groups).pageCount();
}

bool LoanReport::paint(QPagedPaintDevice& device, const Progress& progress) const
{
    return Layout(device, m_result, m_description, m_groups).paint(device, progress);
}
