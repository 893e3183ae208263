#pragma once

#include "LoanInputs.h"
#include "LoanTerms.h"
#include "NumberedError.h"

#include <QDate>
#include <QString>

#include <optional>
#include <variant>

// The window's "Calculate:" list; the position is what the store keeps. The
// payment and the loan amount both run as PaymentOrLoanAmount: "Loan amount"
// leaves the loan amount box out of the run, so it is derived from the payment.
enum class CalculateChoice { Payment = 0, LoanAmount = 1, InterestRate = 2, Term = 3 };
inline constexpr int kCalculateChoices = 4;

// A loan as typed values: what a run reads and what is saved.
struct Loan {
    QString description;
    QDate firstPaymentDate;
    std::optional<double> loanAmount;  // none: a run derives it from the payment
    double paymentAmount = 0.0;        // read only when loanAmount is none
    double annualRatePercent = 0.0;    // 6.5 means 6.5 % a year
    int term = 0;                      // whole term
    std::optional<engine::TermUnit> termUnit;           // none: no selection
    std::optional<engine::PaymentFrequency> frequency;  // none: no selection
    engine::Unknown calculate = engine::Unknown::PaymentOrLoanAmount;
    CalculateChoice choice = CalculateChoice::Payment;  // as the window shows it, stored with the loan
};

// A list position of the term unit: none below 0, 0 months, any other years.
std::optional<engine::TermUnit> termUnitAtPosition(int position);
// The list position a term unit or frequency is shown and stored at; -1 for none.
int listPosition(std::optional<engine::TermUnit> unit);
int listPosition(std::optional<engine::PaymentFrequency> frequency);

// Validated inputs as the loan a run reads (a blank loan amount stays empty,
// the term is rounded half-even).
Loan loanForRun(const LoanInputs& inputs);

// The loan as the engine's terms.
engine::LoanTerms engineTerms(const Loan& loan);

// The window's inputs as the loan to save, whether or not they pass
// validation: a text that does not convert is "13 - Type mismatch" naming the
// value; a blank loan amount becomes the amount a run derives from the
// payment, so the loan reopens with the same figures; the term is rounded
// half-even, and one beyond the whole numbers the store keeps is "6 - Overflow".
std::variant<Loan, engine::NumberedError> loanForSaving(const LoanInputs& inputs);
