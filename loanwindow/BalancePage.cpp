#include "BalancePage.h"

#include "BalanceChart.h"

#include <QFontMetrics>
#include <QVBoxLayout>

BalancePage::BalancePage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    chart = new BalanceChart(page);
    chart->setObjectName(QStringLiteral("chBalance"));
    // Room for the date and amount labels and the legend; a smaller window scrolls.
    const QFontMetrics metrics(chart->font());
    chart->setMinimumSize(40 * metrics.averageCharWidth(), 12 * metrics.height());
    layout->addWidget(chart);
}
