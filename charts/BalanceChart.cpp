#include "BalanceChart.h"

#include "AxisScale.h"
#include "LocaleText.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFontMetrics>
#include <QLocale>
#include <QGraphicsLineItem>
#include <QLineSeries>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr qint64 kMsecsPerDay = 86'400'000;

// The last point at or before `time`, or -1.
qsizetype lastPointBy(const QList<QPointF>& points, qreal time)
{
    const auto after = std::upper_bound(points.cbegin(), points.cend(), time,
                                        [](qreal t, const QPointF& p) { return t < p.x(); });
    return qsizetype(after - points.cbegin()) - 1;
}

QCategoryAxis* amountAxis(QChart* chart)
{
    const auto axes = chart->axes(Qt::Vertical);
    return axes.isEmpty() ? nullptr : qobject_cast<QCategoryAxis*>(axes.first());
}

QCategoryAxis* dateAxis(QChart* chart)
{
    const auto axes = chart->axes(Qt::Horizontal);
    return axes.isEmpty() ? nullptr : qobject_cast<QCategoryAxis*>(axes.first());
}

void clearCategories(QCategoryAxis* axis)
{
    for (const QString& label : axis->categoriesLabels())
        axis->remove(label);
}

}  // namespace

BalanceChart::BalanceChart(QWidget* parent) : QChartView(parent)
{
    auto* chart = new QChart;
    // Ticks of our own on whole months or years: an even split of the span
    // would fall mid-month and repeat a month's label.
    auto* dates = new QCategoryAxis(chart);
    dates->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    chart->addAxis(dates, Qt::AlignBottom);
    auto* amounts = new QCategoryAxis(chart);
    amounts->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    chart->addAxis(amounts, Qt::AlignLeft);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    // The view made a chart of its own; it is released, not deleted, when replaced.
    QChart* own = this->chart();
    setChart(chart);
    delete own;

    m_marker = new QGraphicsLineItem(chart);
    m_marker->setPen(QPen(Qt::gray, 1, Qt::DashLine));
    m_marker->setZValue(10);
    m_marker->hide();
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
}

qreal BalanceChart::axisTime(engine::Date date)
{
    const qint64 days = std::chrono::sys_days(date).time_since_epoch().count();
    return qreal(days * kMsecsPerDay + kMsecsPerDay / 2);
}

QDate BalanceChart::axisDate(qreal time)
{
    const auto days = qint64(std::floor(time / qreal(kMsecsPerDay)));
    return QDate(1970, 1, 1).addDays(days);
}

engine::Date BalanceChart::periodStart(const engine::ScheduleResult& schedule)
{
    if (schedule.rows.empty())
        return {};
    using namespace std::chrono;
    const engine::Date first = schedule.rows.front().dueDate;
    const int perYear = std::max<int>(schedule.periodsPerYear, 1);
    if (12 % perYear == 0 && perYear <= 12) {
        // Monthly and longer periods: whole months back, on the same day
        // where the month has it.
        const year_month earlier = year_month(first.year(), first.month()) - months(12 / perYear);
        const day last = year_month_day_last(earlier.year(), month_day_last(earlier.month())).day();
        return engine::Date(earlier.year(), earlier.month(), std::min(first.day(), last));
    }
    // Weekly and twice-monthly: as long as the second period, or a year's share.
    const auto length = schedule.rows.size() > 1
                            ? sys_days(schedule.rows[1].dueDate) - sys_days(first)
                            : days(std::lround(365.25 / perYear));
    return engine::Date(sys_days(first) - length);
}

QList<QPointF> BalanceChart::rowPoints(const engine::ScheduleResult& schedule)
{
    QList<QPointF> points = rowPoints(schedule.rows);
    if (!schedule.rows.empty())
        points.prepend(QPointF(axisTime(periodStart(schedule)), schedule.loanAmount));
    return points;
}

QList<QPointF> BalanceChart::baselinePoints(const engine::ScheduleResult& schedule)
{
    QList<QPointF> points = baselinePoints(schedule.baselineBalances);
    if (!schedule.rows.empty())
        points.prepend(QPointF(axisTime(periodStart(schedule)), schedule.baseline.loanAmount));
    return points;
}

QList<QPointF> BalanceChart::rowPoints(const std::vector<engine::ScheduleRow>& rows)
{
    QList<QPointF> points;
    points.reserve(qsizetype(rows.size()));
    for (const engine::ScheduleRow& row : rows)
        points.append(QPointF(axisTime(row.dueDate), row.balance));
    return points;
}

QList<QPointF> BalanceChart::baselinePoints(const std::vector<engine::BalancePoint>& balances)
{
    QList<QPointF> points;
    points.reserve(qsizetype(balances.size()));
    for (const engine::BalancePoint& point : balances)
        points.append(QPointF(axisTime(point.dueDate), point.balance));
    return points;
}

QList<QPointF> BalanceChart::thinned(const QList<QPointF>& points, int buckets)
{
    buckets = std::max(buckets, 1);
    const qsizetype size = points.size();
    if (size <= qsizetype(buckets) * 4)
        return points;
    QList<QPointF> kept;
    kept.reserve(qsizetype(buckets) * 4 + 1);
    const qsizetype perBucket = (size + buckets - 1) / buckets;
    for (qsizetype first = 0; first < size; first += perBucket) {
        const qsizetype last = std::min(first + perBucket, size) - 1;
        qsizetype low = first, high = first;
        for (qsizetype i = first + 1; i <= last; ++i) {
            if (points[i].y() < points[low].y()) low = i;
            if (points[i].y() > points[high].y()) high = i;
        }
        // In their own order, each once.
        qsizetype picks[4] = {first, std::min(low, high), std::max(low, high), last};
        for (int p = 0; p < 4; ++p)
            if (kept.isEmpty() || p == 0 || picks[p] != picks[p - 1])
                kept.append(points[picks[p]]);
    }
    return kept;
}

QColor BalanceChart::lineColour(int slot)
{
    // The chart theme's own first colours, then a few more that stay apart.
    static const QRgb palette[] = {0x209fdf, 0x99ca53, 0xf6a625, 0x6d5fd5, 0xbf593e, 0x17becf, 0x8c564b, 0xe377c2};
    constexpr int size = int(std::size(palette));
    return QColor(palette[((slot % size) + size) % size]);
}

void BalanceChart::setSchedule(const engine::ScheduleResult& schedule)
{
    setLines({{QStringLiteral("With extra payments"), rowPoints(schedule)},
              {QStringLiteral("Without extra payments"), baselinePoints(schedule)}});
}

void BalanceChart::setLines(QList<BalanceLine> lines)
{
    m_lines = std::move(lines);
    // What a screen reader says of the chart: where each line starts and ends.
    QStringList described;
    for (const BalanceLine& line : std::as_const(m_lines)) {
        if (line.points.isEmpty())
            continue;
        auto at = [](const QPointF& point) {
            return LocaleText::currencyText(point.y()) + QStringLiteral(" on ") +
                   LocaleText::shortDateText(axisDate(point.x()));
        };
        described << line.name + QStringLiteral(": ") + at(line.points.first()) + QStringLiteral(" to ") +
                         at(line.points.last());
    }
    setAccessibleDescription(described.join(QStringLiteral("; ")));
    m_marker->hide();
    rebuildSeries();
    fitAxes();
    drawPoints();
}

int BalanceChart::drawnPointCount(int index) const
{
    return index >= 0 && index < m_series.size() ? int(m_series[index]->count()) : 0;
}

QColor BalanceChart::drawnColour(int index) const
{
    return index >= 0 && index < m_series.size() ? m_series[index]->pen().color() : QColor();
}

void BalanceChart::rebuildSeries()
{
    QChart* chart = this->chart();
    for (QLineSeries* series : std::as_const(m_series)) {
        chart->removeSeries(series);
        delete series;
    }
    m_series.clear();
    for (const BalanceLine& line : std::as_const(m_lines)) {
        auto* series = new QLineSeries;
        series->setName(line.name);
        chart->addSeries(series);
        if (line.colourSlot >= 0) {
            QPen pen = series->pen();
            pen.setColor(lineColour(line.colourSlot));
            series->setPen(pen);
        }
        series->attachAxis(dateAxis(chart));
        series->attachAxis(amountAxis(chart));
        m_series.append(series);
    }
}

int BalanceChart::moneySteps() const
{
    // A label needs some 40 pixels of height to stay whole.
    return std::clamp((viewport()->height() - 90) / 40, 2, 5);
}

int BalanceChart::dateTickRoom() const
{
    // Each label whole with a gap of half its width, across the plot (the view
    // less the money axis's labels).
    const QFontMetrics metrics(dateAxis(chart())->labelsFont());
    const int label = metrics.horizontalAdvance(QLocale().toString(QDate(2000, 9, 1), QStringLiteral("MMM yyyy")));
    // The view's own width: a report's chart is sized but never shown, so its
    // viewport keeps a default size.
    const int plot = width() - metrics.horizontalAdvance(QStringLiteral("$999,999")) - 24;
    return std::max(2, plot / std::max(1, label * 3 / 2));
}

int BalanceChart::bucketCount() const
{
    return std::max(viewport()->width(), 100);
}

void BalanceChart::drawPoints()
{
    m_drawnBuckets = bucketCount();
    for (qsizetype i = 0; i < m_series.size(); ++i)
        m_series[i]->replace(thinned(m_lines[i].points, m_drawnBuckets));
}

void BalanceChart::fitAxes()
{
    QChart* chart = this->chart();
    qreal first = 0, last = 0, highest = 0;
    bool any = false;
    for (const BalanceLine& line : std::as_const(m_lines)) {
        if (line.points.isEmpty())
            continue;
        first = any ? std::min(first, line.points.first().x()) : line.points.first().x();
        last = any ? std::max(last, line.points.last().x()) : line.points.last().x();
        for (const QPointF& point : line.points)
            highest = std::max(highest, point.y());
        any = true;
    }
    if (!any) {
        const QDate today = QDate::currentDate();
        first = axisTime(LocaleText::toYmd(today));
        last = first + kMsecsPerDay;
    } else if (last <= first) {
        last = first + kMsecsPerDay;
    }

    QCategoryAxis* dates = dateAxis(chart);
    clearCategories(dates);
    m_fittedDateTicks = dateTickRoom();
    m_dateTicks = dateAxisTicks(axisDate(first), axisDate(last), m_fittedDateTicks);
    dates->setStartValue(first - kMsecsPerDay);
    for (const DateTick& tick : std::as_const(m_dateTicks))
        dates->append(tick.label, axisTime(LocaleText::toYmd(tick.date)));
    dates->setRange(first, last);

    QCategoryAxis* amounts = amountAxis(chart);
    m_fittedSteps = moneySteps();
    const AxisScale scale = roundAxisScale(highest, m_fittedSteps);
    clearCategories(amounts);
    amounts->setStartValue(-scale.step / 1000.0);
    for (int tick = 0; tick < scale.ticks(); ++tick)
        amounts->append(axisCurrencyText(tick * scale.step), tick * scale.step);
    amounts->setRange(0.0, scale.top);
}

QString BalanceChart::markerText(const QDate& date) const
{
    QStringList lines{LocaleText::shortDateText(date)};
    const qreal time = axisTime(LocaleText::toYmd(date));
    for (const BalanceLine& line : m_lines) {
        const qsizetype at = lastPointBy(line.points, time);
        if (at >= 0)
            lines << line.name + QStringLiteral(": ") + LocaleText::currencyText(line.points[at].y());
    }
    return lines.join(QLatin1Char('\n'));
}

QDate BalanceChart::dateAtPosition(const QPointF& viewPosition) const
{
    if (m_series.isEmpty())
        return {};
    QChart* chart = this->chart();
    const QPointF inChart = chart->mapFromScene(mapToScene(viewPosition.toPoint()));
    if (!chart->plotArea().contains(inChart))
        return {};
    const qreal time = chart->mapToValue(inChart, m_series.first()).x();
    // The nearest due date of any line.
    qreal best = 0;
    bool found = false;
    for (const BalanceLine& line : m_lines) {
        const qsizetype at = lastPointBy(line.points, time);
        for (const qsizetype i : {at, at + 1}) {
            if (i < 0 || i >= line.points.size())
                continue;
            const qreal x = line.points[i].x();
            if (!found || std::abs(x - time) < std::abs(best - time)) {
                best = x;
                found = true;
            }
        }
    }
    return found ? axisDate(best) : QDate();
}

void BalanceChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    if (moneySteps() != m_fittedSteps || dateTickRoom() != m_fittedDateTicks)
        fitAxes();
    if (!m_lines.isEmpty() && bucketCount() != m_drawnBuckets)
        drawPoints();
}

void BalanceChart::mouseMoveEvent(QMouseEvent* event)
{
    QChartView::mouseMoveEvent(event);
    const QDate date = dateAtPosition(event->position());
    if (!date.isValid()) {
        m_marker->hide();
        QToolTip::hideText();
        return;
    }
    QChart* chart = this->chart();
    const qreal x = chart->mapToPosition(QPointF(axisTime(LocaleText::toYmd(date)), 0), m_series.first()).x();
    const QRectF plot = chart->plotArea();
    m_marker->setLine(x, plot.top(), x, plot.bottom());
    m_marker->show();
    QToolTip::showText(event->globalPosition().toPoint(), markerText(date), this);
}

void BalanceChart::leaveEvent(QEvent* event)
{
    m_marker->hide();
    QToolTip::hideText();
    QChartView::leaveEvent(event);
}
