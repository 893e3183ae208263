#pragma once

class BalanceChart;
class QWidget;

namespace engine {
struct ScheduleResult;
}

// Tab "Balance": the balance after each payment with and without the extra
// payments. It holds nothing the user types. The chart is built the first
// time the page is shown with a run to draw: most windows never show it.
struct BalancePage {
    explicit BalancePage(QWidget* parent);

    // Builds the chart when it is missing and draws the run.
    void showSchedule(const engine::ScheduleResult& schedule);

    QWidget* page = nullptr;
    BalanceChart* chart = nullptr;  // named chBalance; null until first shown
};
