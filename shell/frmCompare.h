#pragma once

#include "LoanComparison.h"

#include <QWidget>

#include <vector>

class BalanceChart;
class CompareModel;
class QTableView;

// "Compare Loans": the open loan windows side by side, one column each in
// window order, and below the table one chart with each loan's balance over
// time. It holds no loan of its own: the main window hands it every loan
// window's caption and last successful run after each change.
class frmCompare : public QWidget {
    Q_OBJECT
public:
    explicit frmCompare(QWidget* parent = nullptr);

    // Every open loan window, in window order; a null result is a window
    // without a successful run ("Not calculated"). The results are read here
    // and not kept.
    void refresh(const std::vector<ComparedLoan>& loans);

    QTableView* table() const { return m_flxCompare; }
    CompareModel* model() const { return m_model; }
    BalanceChart* chart() const { return m_chart; }

private:
    QTableView* m_flxCompare = nullptr;
    CompareModel* m_model = nullptr;
    BalanceChart* m_chart = nullptr;
};
