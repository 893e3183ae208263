#pragma once

#include "AxisScale.h"
#include "Schedule.h"

#include <QChartView>
#include <QDate>
#include <QList>
#include <QPointF>

class QGraphicsLineItem;
class QLineSeries;

// One line of the chart: its legend text and the balance after each payment
// (x: the due date as axis time, y: the balance), in date order.
struct BalanceLine {
    QString name;
    QList<QPointF> points;
    int colourSlot = -1;  // BalanceChart::lineColour(slot); -1: the chart's colour for its position
};

// The balance after each payment by due date: the loan window's two lines
// "With extra payments" and "Without extra payments", or one line per loan in
// the comparison. A date axis, a money axis on round numbers, and a marker
// with the date and every line's balance under the mouse. However many
// payments, each line hands the chart about four points per pixel column, so
// 32,767 payments draw as fast as 360.
class BalanceChart : public QChartView {
    Q_OBJECT
public:
    explicit BalanceChart(QWidget* parent = nullptr);

    // The loan window's pair, from one run's rows and its baseline's rows.
    void setSchedule(const engine::ScheduleResult& schedule);
    // Any number of lines; no lines empties the chart.
    void setLines(QList<BalanceLine> lines);

    int lineCount() const { return int(m_lines.size()); }
    const BalanceLine& line(int index) const { return m_lines[index]; }
    // Points the chart draws for a line, after thinning to the plot width.
    int drawnPointCount(int index) const;
    // The colour a line is drawn in.
    QColor drawnColour(int index) const;

    // The marker's text at a date: the date, then each line's balance after
    // its last payment due by then ("With extra payments: $669.98"); a line
    // whose first payment is later is left out.
    QString markerText(const QDate& date) const;
    // The due date nearest to a point of the view, or an invalid date.
    QDate dateAtPosition(const QPointF& viewPosition) const;

    // Axis time of a due date (noon, so any time zone shows the same day) and back.
    static qreal axisTime(engine::Date date);
    static QDate axisDate(qreal time);
    static QList<QPointF> rowPoints(const std::vector<engine::ScheduleRow>& rows);
    static QList<QPointF> baselinePoints(const std::vector<engine::BalancePoint>& balances);
    // A run's lines as drawn: the loan amount at the start of the first
    // period, then the balance after each payment.
    static QList<QPointF> rowPoints(const engine::ScheduleResult& schedule);
    static QList<QPointF> baselinePoints(const engine::ScheduleResult& schedule);
    // The first period's start: the first due date less the period's length.
    static engine::Date periodStart(const engine::ScheduleResult& schedule);
    // The date axis's ticks as last fitted.
    const QList<DateTick>& dateTicks() const { return m_dateTicks; }
    // At most about four points per bucket (first, lowest, highest, last), in order.
    static QList<QPointF> thinned(const QList<QPointF>& points, int buckets);
    // The colour of a line's slot; the slots repeat after the palette's end.
    static QColor lineColour(int slot);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void rebuildSeries();
    void drawPoints();
    void fitAxes();
    int bucketCount() const;
    int moneySteps() const;
    int dateTickRoom() const;

    QList<BalanceLine> m_lines;
    QList<QLineSeries*> m_series;
    QGraphicsLineItem* m_marker = nullptr;
    int m_drawnBuckets = 0;
    int m_fittedSteps = 0;
    int m_fittedDateTicks = 0;
    QList<DateTick> m_dateTicks;
};
