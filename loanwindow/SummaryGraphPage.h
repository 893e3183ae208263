#pragma once

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;
class SummaryChart;

struct LoanFigures;
namespace engine {
struct SummaryFigures;
}

// Tab "Summary Graph": the chart and the run's totals.
struct SummaryGraphPage {
    explicit SummaryGraphPage(QWidget* parent);

    QWidget* page = nullptr;
    QGroupBox* Frame1 = nullptr;
    SummaryChart* chart = nullptr;  // named chSummary; null until first shown
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtPrincipal = nullptr;
    QLineEdit* txtExtraPayments = nullptr;
    QLineEdit* txtInterest = nullptr;
    QLineEdit* txtTotalPrincipal = nullptr;
    QLineEdit* txtTotalPaid = nullptr;
    QLabel* lblExtraPaymentsNote = nullptr;  // the last payment's rounding, when there is some
    QLabel* lblBalloon = nullptr;            // shown with a balloon only
    QLineEdit* txtBalloon = nullptr;
    // What the loan costs as lenders state it.
    QGroupBox* fraAPR = nullptr;
    QLineEdit* txtAmountFinanced = nullptr;
    QLineEdit* txtFinanceCharge = nullptr;
    QLineEdit* txtAPR = nullptr;

    // Writes a run's totals into the boxes.
    void showFigures(const LoanFigures& figures);
    // The chart is built the first time the page is shown with a run to draw.
    void showChart(const engine::SummaryFigures& summary);
};
