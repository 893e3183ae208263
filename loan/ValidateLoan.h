#pragma once

#include "Loan.h"

#include <QString>

#include <variant>

// A check that failed: its message and the input to put the focus on.
struct ValidationFailure {
    QString message;
    LoanField field = LoanField::Description;
    bool isError = false;  // shown as "number - description" rather than a check message
    int wholeTerm = 0;     // once the term check passed: the term to write back into the term box
    // A rate change the message is about, counted from 0 (-1: none).
    int rateChange = -1;
    // A skip the message is about, counted from 0 (-1: none).
    int skip = -1;
};

// The checks in order, the first failure wins; otherwise the typed loan. A
// choice of "Loan amount" leaves the loan amount out (it is derived from the
// payment); solving for the rate skips the rate's checks, solving for the
// term the term's; both need the loan amount and the payment.
std::variant<Loan, ValidationFailure> validateLoan(const LoanDraft& draft);
