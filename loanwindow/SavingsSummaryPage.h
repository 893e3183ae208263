#pragma once

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

struct LoanFigures;

// Tab "Savings Summary": the loan without extra payments, with them, and the difference.
struct SavingsSummaryPage {
    explicit SavingsSummaryPage(QWidget* parent);

    QWidget* page = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* txtOrigLoanAmount = nullptr;
    QLineEdit* txtOrigPayoffDate = nullptr;
    QLineEdit* txtOrigInterestPaid = nullptr;
    QLineEdit* txtOrigTotalPaid = nullptr;
    QGroupBox* Frame4 = nullptr;
    QLineEdit* txtAdjExtraPayments = nullptr;
    QLineEdit* txtAdjPayoffDate = nullptr;
    QLineEdit* txtAdjInterestPaid = nullptr;
    QLineEdit* txtAdjTotalPaid = nullptr;
    QLabel* lblAdjExtraPaymentsNote = nullptr;  // the last payment's rounding, when there is some
    QGroupBox* Frame5 = nullptr;
    QLineEdit* txtSavedPayments = nullptr;
    QLineEdit* txtSavedTotal = nullptr;
    QLabel* lblLoweredPayment = nullptr;  // shown after a recast only
    QLineEdit* txtLoweredPayment = nullptr;

    // Writes a run's figures into the boxes.
    void showFigures(const LoanFigures& figures);
};
