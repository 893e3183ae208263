#pragma once

#include <QDate>
#include <QString>

// A loan window's inputs, as texts and list positions.
struct LoanInputs {
    QString description;
    int frequency = -1;  // cboppt position, -1 none
    QString interestRate;
    int termType = 0;    // cboTerm position, -1 none
    QString term;
    QString loanAmount;
    QString paymentAmount;
    QDate startDate;
};

// The input to move the focus to.
enum class LoanField { Description, Frequency, InterestRate, TermType, Term, LoanAmount, PaymentAmount };
