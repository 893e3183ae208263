#pragma once

class BalanceChart;
class QWidget;

// Tab "Balance": the balance after each payment with and without the extra
// payments, filled by every run. It holds nothing the user types.
struct BalancePage {
    explicit BalancePage(QWidget* parent);

    QWidget* page = nullptr;
    BalanceChart* chart = nullptr;  // named chBalance
};
