#include "BalancePage.h"

#include "BalanceChart.h"

#include <QVBoxLayout>

BalancePage::BalancePage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    chart = new BalanceChart(page);
    chart->setObjectName(QStringLiteral("chBalance"));
    layout->addWidget(chart);
}
