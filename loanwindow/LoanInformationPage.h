#pragma once

#include "Loan.h"

class QComboBox;
class DateBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Tab "Loan Information": the description and the loan's inputs.
struct LoanInformationPage {
    explicit LoanInformationPage(QWidget* parent);

    QWidget* page = nullptr;
    QLineEdit* txtLoan = nullptr;
    QGroupBox* fraLoan = nullptr;
    DateBox* dtStartDate = nullptr;
    QComboBox* cboppt = nullptr;
    QLineEdit* txtInterestRate = nullptr;
    QComboBox* cboTerm = nullptr;
    QLineEdit* txtTerm = nullptr;
    QLineEdit* txtLoanAmount = nullptr;
    QLineEdit* txtPaymentAmount = nullptr;
    // What Calculate derives: "Payment" (the payment, or with a blank loan
    // amount the loan amount, as before the list), "Loan amount", "Interest
    // rate", "Term"; the position is a CalculateChoice.
    QComboBox* cboCalculate = nullptr;
    QLabel* lblTermFound = nullptr;  // a solved term's payments and last date
    QPushButton* cmdCalculate = nullptr;
    QComboBox* cboCompounding = nullptr;
    // What the lender charges beside the interest, and the loan's shape; each optional.
    QGroupBox* fraCharges = nullptr;
    DateBox* dtLoanDate = nullptr;  // blank: one payment period before the first payment
    QLineEdit* txtFees = nullptr;
    QLineEdit* txtPoints = nullptr;
    QLineEdit* txtInterestOnly = nullptr;
    QLineEdit* txtBalloonAfter = nullptr;

    QWidget* field(LoanField field) const;
    // The description and everything in its frames as one group.
    void setInputsEnabled(bool enabled);
};
