#pragma once

class ExtraPaymentsModel;
class QCheckBox;
class DateBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QWidget;

// Tab "Extra Payments": the payments table and the fields that edit its rows.
struct ExtraPaymentsPage {
    explicit ExtraPaymentsPage(QWidget* parent);

    QWidget* page = nullptr;
    QCheckBox* chkSuppressFuture = nullptr;
    QTableView* flxPayments = nullptr;
    ExtraPaymentsModel* payments = nullptr;
    QGroupBox* fraType = nullptr;
    QRadioButton* optType0 = nullptr;
    QRadioButton* optType1 = nullptr;
    DateBox* dtBeginDate = nullptr;
    DateBox* dtEndDate = nullptr;
    QLabel* lblEndDate = nullptr;
    QLineEdit* txtXPaymentAmount = nullptr;
    QPushButton* cmdAddPayment = nullptr;
    QPushButton* cmdDeletePayment = nullptr;
    QPushButton* cmdRecalculate = nullptr;
};
