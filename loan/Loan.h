#pragma once

#include "LoanTerms.h"
#include "NumberEntry.h"
#include "NumberedError.h"
#include "Solve.h"

#include <QDate>
#include <QString>

#include <optional>
#include <variant>

// The window's "Calculate:" list; the position is what the store keeps. The
// payment and the loan amount both run as PaymentOrLoanAmount: "Loan amount"
// leaves the loan amount out of the run, so it is derived from the payment.
enum class CalculateChoice { Payment = 0, LoanAmount = 1, InterestRate = 2, Term = 3 };
inline constexpr int kCalculateChoices = 4;

engine::Unknown unknownOf(CalculateChoice choice);

// A loan as typed values: what a run reads and what is saved.
struct Loan {
    QString description;
    QDate firstPaymentDate;
    std::optional<double> loanAmount;  // none: a run derives it from the payment
    double paymentAmount = 0.0;        // read only when loanAmount is none or solving
    double annualRatePercent = 0.0;    // 6.5 means 6.5 % a year
    int term = 0;                      // whole term
    std::optional<engine::TermUnit> termUnit;           // none: no selection
    std::optional<engine::PaymentFrequency> frequency;  // none: no selection
    CalculateChoice choice = CalculateChoice::Payment;
    engine::Compounding compounding = engine::Compounding::AsPayments;
    // What the lender charges beside the interest; no schedule figure changes.
    double fees = 0.0;                 // paid at the start, a finance charge
    double pointsPercent = 0.0;        // of the loan amount
    std::optional<QDate> loanDate;     // none: one payment period before the first payment
    // The loan's shape: payments at the start that pay the interest only, and
    // the payment at which the rest of the balance falls due (0: none).
    int interestOnlyPayments = 0;
    int balloonAfter = 0;
};

// The loan's inputs as the window holds them, each box read once into its
// value (or why its text is none); validateLoan() makes the Loan of them.
struct LoanDraft {
    QString description;
    QDate firstPaymentDate;
    int frequency = -1;  // list position, -1 none
    NumberEntry interestRate;
    int termType = 0;    // list position, -1 none
    NumberEntry term;
    NumberEntry loanAmount;
    NumberEntry paymentAmount;
    CalculateChoice choice = CalculateChoice::Payment;
    int compounding = 0;  // list position
    NumberEntry fees;
    NumberEntry points;
    QDate loanDate;       // invalid: blank
    NumberEntry interestOnly;
    NumberEntry balloonAfter;
};

// The input to move the focus to.
enum class LoanField {
    Description,
    Frequency,
    InterestRate,
    TermType,
    Term,
    LoanAmount,
    PaymentAmount,
    Calculate,
    Compounding,
    Fees,
    Points,
    LoanDate,
    InterestOnly,
    BalloonAfter,
};

// A list position of the term unit: none below 0, 0 months, any other years.
std::optional<engine::TermUnit> termUnitAtPosition(int position);
// The list position a term unit or frequency is shown and stored at; -1 for none.
int listPosition(std::optional<engine::TermUnit> unit);
int listPosition(std::optional<engine::PaymentFrequency> frequency);

// The loan as the engine's terms.
engine::LoanTerms engineTerms(const Loan& loan);

// The loan as it is stored: a blank loan amount becomes the amount a run
// derives from the payment, so the loan reopens with the same figures.
std::variant<Loan, engine::NumberedError> loanForSaving(const Loan& loan);
