#pragma once

#include "frmLoan.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QWidget;

class ChangeTracker;
class DescriptionBox;
class ExtraPaymentsEditor;
class ResultsModel;
class SummaryChart;

// Every control of the loan window, by its own name. The pages fill it in as
// they build themselves; frmLoan and its helpers only read it.
struct frmLoan::Ui {
    QTabWidget* tabLoan = nullptr;

    // Tab 0 "Loan Information"
    DescriptionBox* txtLoan = nullptr;
    QGroupBox* fraLoan = nullptr;
    QDateEdit* dtStartDate = nullptr;
    QComboBox* cboppt = nullptr;
    QLineEdit* txtInterestRate = nullptr;
    QComboBox* cboTerm = nullptr;
    QLineEdit* txtTerm = nullptr;
    QLineEdit* txtLoanAmount = nullptr;
    QLineEdit* txtPaymentAmount = nullptr;
    QPushButton* cmdCalculate = nullptr;

    // Tab 1 "Extra Payments"
    QCheckBox* chkSuppressFuture = nullptr;
    QTableWidget* flxPayments = nullptr;
    QGroupBox* fraType = nullptr;
    QRadioButton* optType0 = nullptr;
    QRadioButton* optType1 = nullptr;
    QDateEdit* dtBeginDate = nullptr;
    QDateEdit* dtEndDate = nullptr;
    QLabel* lblEndDate = nullptr;
    QLineEdit* txtXPaymentAmount = nullptr;
    QPushButton* cmdAddPayment = nullptr;
    QPushButton* cmdDeletePayment = nullptr;
    QPushButton* cmdRecalculate = nullptr;

    // Tab 2 "Amortization Table"
    QTableView* flxResults = nullptr;
    ResultsModel* resultsModel = nullptr;

    // Tab 3 "Summary Graph"
    QGroupBox* Frame1 = nullptr;
    SummaryChart* chart = nullptr;
    QWidget* chSummary = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtPrincipal = nullptr;
    QLineEdit* txtExtraPayments = nullptr;
    QLineEdit* txtInterest = nullptr;
    QLineEdit* txtTotalPrincipal = nullptr;
    QLineEdit* txtTotalPaid = nullptr;

    // Tab 4 "Savings Summary"
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
    QGroupBox* Frame5 = nullptr;
    QLineEdit* txtSavedPayments = nullptr;
    QLineEdit* txtSavedTotal = nullptr;

    // Tab 5 "Formulas"
    QLabel* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
    QLabel* Picture3 = nullptr;

    ChangeTracker* tracker = nullptr;
    ExtraPaymentsEditor* editor = nullptr;
};
