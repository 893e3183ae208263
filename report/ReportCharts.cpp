#include "ReportCharts.h"

#include "SummaryChart.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>

#include <algorithm>

namespace ReportCharts {

namespace {

// Laid out some 240 pixels high, the texts keep their screen proportion to the plot.
QSizeF screenSize(const QRectF& target)
{
    constexpr double kHeight = 240;
    return QSizeF(kHeight * target.width() / std::max(target.height(), 1.0), kHeight);
}

void render(QChartView& view, QPainter& painter, const QRectF& target)
{
    const QSizeF size = screenSize(target);
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

}  // namespace

void paintSummary(QPainter& painter, const QRectF& target, const std::array<double, 3>& values)
{
    SummaryChart view;
    view.setValues(values[0], values[1], values[2]);
    render(view, painter, target);
}

void paintBalance(QPainter& painter, const QRectF& target, const QList<BalanceLine>& lines)
{
    BalanceChart view;
    // Sized first: the money axis and the thinning follow the chart's size.
    view.resize(screenSize(target).toSize());
    view.setLines(lines);
    render(view, painter, target);
}

void paintBalance(QPainter& painter, const QRectF& target, const engine::ScheduleResult& schedule)
{
    BalanceChart view;
    view.resize(screenSize(target).toSize());
    view.setSchedule(schedule);
    render(view, painter, target);
}

}  // namespace ReportCharts
