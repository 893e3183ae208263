#include "BalancePage.h"

#include "BalanceChart.h"
#include "Schedule.h"

#include <QFontMetrics>
#include <QVBoxLayout>

BalancePage::BalancePage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
}

void BalancePage::showSchedule(const engine::ScheduleResult& schedule)
{
    if (!chart) {
        chart = new BalanceChart(page);
        chart->setObjectName(QStringLiteral("chBalance"));
        chart->setAccessibleName(QStringLiteral("Balance"));
        // Room for the date and amount labels and the legend; a smaller window scrolls.
        const QFontMetrics metrics(chart->font());
        chart->setMinimumSize(40 * metrics.averageCharWidth(), 12 * metrics.height());
        page->layout()->addWidget(chart);
    }
    chart->setSchedule(schedule);
}
