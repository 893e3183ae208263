#pragma once

#include "Solve.h"

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
    // What Calculate derives; by default the payment or the loan amount, as
    // the loan amount box decides. The rate or the term needs both amounts.
    engine::Unknown calculate = engine::Unknown::PaymentOrLoanAmount;
};

// The input to move the focus to.
enum class LoanField { Description, Frequency, InterestRate, TermType, Term, LoanAmount, PaymentAmount };
