#pragma once

#include "BalanceChart.h"

#include <array>

class QPainter;
class QRectF;

// The windows' own charts drawn onto a page: laid out at screen size and
// scaled into the target rectangle.
namespace ReportCharts {

// The summary chart's bars: interest, extra payments, principal.
void paintSummary(QPainter& painter, const QRectF& target, const std::array<double, 3>& values);
// The balance over time: the loan's two lines, or one line per loan.
void paintBalance(QPainter& painter, const QRectF& target, const engine::ScheduleResult& schedule);
void paintBalance(QPainter& painter, const QRectF& target, const QList<BalanceLine>& lines);

}  // namespace ReportCharts
