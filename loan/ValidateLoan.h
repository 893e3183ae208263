#pragma once

#include "LoanInputs.h"

#include <QString>

struct ValidationResult {
    bool ok = false;
    QString message;            // the check's message, or "6 - Overflow"
    bool isError = false;       // shown as "number - description" rather than a check message
    LoanField field = LoanField::Description;
    int wholeTerm = 0;          // once the term check passed: the term to write back into the term box
};

// A check that failed, as calculateLoan() hands it back.
struct ValidationFailure {
    QString message;
    LoanField field = LoanField::Description;
    int wholeTerm = 0;  // once the term check passed: the term to write back into the term box
    // A rate change the message is about, counted from 0 (-1: none); `field`
    // is then the loan input nearest to it.
    int rateChange = -1;
};

// The fourteen checks in order; the first failure wins. Solving for the rate
// skips the rate's checks, solving for the term the term's (the box is
// written, not read); both need the loan amount and the payment.
ValidationResult validateLoan(const LoanInputs& inputs);

// The term text as a whole number, rounded half-even; 0 when it is not a
// number or does not fit 16 bits (validation refuses both).
int wholeTerm(const QString& term);
