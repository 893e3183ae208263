#include "SummaryChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCategoryAxis>

#include "AxisScale.h"
#include "LocaleText.h"

SummaryChart::SummaryChart(QWidget* parent) : QChartView(parent)
{
    auto* chart = new QChart;
    auto* series = new QBarSeries(chart);
    const char* const names[3] = {"Interest", "Extra Payments", "Principal"};
    for (int i = 0; i < 3; ++i) {
        m_sets[size_t(i)] = new QBarSet(QString::fromLatin1(names[i]), series);
        *m_sets[size_t(i)] << 0.0;
        series->append(m_sets[size_t(i)]);
    }
    chart->addSeries(series);

    auto* categories = new QBarCategoryAxis(chart);
    categories->append(QStringLiteral("Loan"));
    categories->setVisible(false);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    // Round steps labelled as the boxes write money ("$250,000"), not "250000".
    auto* amounts = new QCategoryAxis(chart);
    amounts->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    chart->addAxis(amounts, Qt::AlignLeft);
    series->attachAxis(amounts);

    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    // The view made a chart of its own; it is released, not deleted, when replaced.
    QChart* own = this->chart();
    setChart(chart);
    delete own;
    setRenderHint(QPainter::Antialiasing);
}

void SummaryChart::setValues(double interest, double extraPayments, double principal)
{
    m_sets[0]->replace(0, interest);
    m_sets[1]->replace(0, extraPayments);
    m_sets[2]->replace(0, principal);
    // What a screen reader says of the chart: its three figures.
    QStringList described;
    for (const QBarSet* set : m_sets)
        described << set->label() + QStringLiteral(": ") + LocaleText::currencyText(set->at(0));
    setAccessibleDescription(described.join(QStringLiteral(", ")));
    // Keep the axis fitted to the tallest bar.
    const double top = std::max({interest, extraPayments, principal, 1.0});
    const auto axes = chart()->axes(Qt::Vertical);
    if (auto* amounts = axes.isEmpty() ? nullptr : qobject_cast<QCategoryAxis*>(axes.first())) {
        const AxisScale scale = roundAxisScale(top, 5);
        for (const QString& label : amounts->categoriesLabels())
            amounts->remove(label);
        amounts->setStartValue(-scale.step / 1000.0);
        for (int tick = 0; tick < scale.ticks(); ++tick)
            amounts->append(axisCurrencyText(tick * scale.step), tick * scale.step);
        amounts->setRange(0.0, scale.top);
    }
}

QStringList SummaryChart::axisLabels() const
{
    const auto axes = chart()->axes(Qt::Vertical);
    auto* amounts = axes.isEmpty() ? nullptr : qobject_cast<QCategoryAxis*>(axes.first());
    return amounts ? amounts->categoriesLabels() : QStringList();
}

QStringList SummaryChart::seriesNames() const
{
    return {m_sets[0]->label(), m_sets[1]->label(), m_sets[2]->label()};
}

std::array<double, 3> SummaryChart::values() const
{
    return {m_sets[0]->at(0), m_sets[1]->at(0), m_sets[2]->at(0)};
}
