#pragma once

class Clock;
class DateBox;
class ExtraPaymentsModel;
class Messages;
class OptionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QWidget;
class RowEditor;

// Tab "Extra Payments": the payments table and the fields that edit its rows.
struct ExtraPaymentsPage {
    ExtraPaymentsPage(QWidget* parent, const Clock& clock, Messages& messages, QWidget* window);

    QWidget* page = nullptr;
    QCheckBox* chkSuppressFuture = nullptr;
    QTableView* flxPayments = nullptr;
    ExtraPaymentsModel* payments = nullptr;
    OptionGroup* fraType = nullptr;
    QRadioButton* optType0 = nullptr;
    QRadioButton* optType1 = nullptr;
    DateBox* dtBeginDate = nullptr;
    DateBox* dtEndDate = nullptr;
    QLabel* lblEndDate = nullptr;
    QLineEdit* txtXPaymentAmount = nullptr;
    QComboBox* cboThen = nullptr;  // "Shorten the loan", "Lower the payment"
    QPushButton* cmdAddPayment = nullptr;
    QPushButton* cmdDeletePayment = nullptr;
    QPushButton* cmdRecalculate = nullptr;
    RowEditor* editor = nullptr;

    // Every input of the page as one group (the page shown or not).
    void setInputsEnabled(bool enabled);
};
