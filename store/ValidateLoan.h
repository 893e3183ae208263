#pragma once

#include "LoanTerms.h"

#include <QDate>
#include <QString>

#include <optional>

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

struct ValidationResult {
    bool ok = false;
    QString message;            // the check's message, or "6 - Overflow"
    bool isError = false;       // shown as "number - description" rather than a check message
    LoanField field = LoanField::Description;
    int wholeTerm = 0;          // once the term check passed: the term to write back into the term box
};

// The fourteen checks in order; the first failure wins.
ValidationResult validateLoan(const LoanInputs& inputs);

// Validated inputs as engine terms (a blank loan amount stays empty).
engine::LoanTerms toLoanTerms(const LoanInputs& inputs);
