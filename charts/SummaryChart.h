#pragma once

#include <QChartView>

#include <array>

class QBarSet;

// The summary chart: one category, three series "Interest", "Extra Payments"
// and "Principal", in that order.
class SummaryChart : public QChartView {
    Q_OBJECT
public:
    explicit SummaryChart(QWidget* parent = nullptr);

    void setValues(double interest, double extraPayments, double principal);
    // Series labels and values in series order.
    QStringList seriesNames() const;
    std::array<double, 3> values() const;
    // The money axis's labels, bottom to top.
    QStringList axisLabels() const;

private:
    std::array<QBarSet*, 3> m_sets{};
};
