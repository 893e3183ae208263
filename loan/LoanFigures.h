#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <array>

struct LoanResult;

// A run's figures as texts: one function for the window's summary boxes, the
// Savings Summary, the report and the comparison, so all four show the same.
enum class Figure {
    // The loan as it ran.
    FirstPayment,
    Frequency,
    InterestRate,
    Term,
    LoanAmount,
    Payment,
    // "Summary"
    Principal,
    ExtraPayments,
    Interest,
    TotalPrincipal,
    TotalPaid,
    // "Original Loan": the same loan without the extra payments
    OriginalLoanAmount,
    OriginalPayoffDate,
    OriginalInterestPaid,
    OriginalTotalPaid,
    // "Adjusted Totals Due to Extra Payments"
    PaidEarly,
    AdjustedPayoffDate,
    AdjustedInterestPaid,
    AdjustedTotalPaid,
    // "Total Savings Due to Extra Payments"
    PaymentsSaved,
    TotalSaved,
    // The comparison's own
    PaymentsMade,
    InterestSaved,
    // What the lender states: the compounding and the charges, and what
    // they come to (the APR by the actuarial method, three decimals).
    Compounding,
    Fees,
    Points,
    LoanDate,
    AmountFinanced,
    FinanceCharge,
    AnnualPercentageRate,
    // The loan's shape, each empty when the loan does not have it: the
    // interest-only payments, the balloon's payment number, the payments
    // skipped, the balloon's part above the payment, the payment an extra
    // payment lowered the loan's to.
    InterestOnlyPayments,
    BalloonAfter,
    SkippedPayments,
    BalloonPayment,
    LoweredPayment,
};
inline constexpr int kFigures = int(Figure::LoweredPayment) + 1;

struct LoanFigures {
    std::array<QString, kFigures> texts;
    // The last payment clears the cents rounding has left, and the run counts
    // them with the extra payments: wherever that total is shown, the part
    // that is rounding is named, so a loan without extra payments does not
    // seem to have had some. "includes $.08 rounding on the last payment", or empty.
    QString roundingNote;
    // The extra payments' total short enough for a table cell, naming the
    // rounding: "$.08 (last payment rounding)", "$1,000.08 (incl. $.08 rounding)".
    QString extraPaymentsCell;
    // The payment each rate change brings, in the order they take effect:
    // "Payment from 1/15/2029" and "$687.66".
    QList<QPair<QString, QString>> paymentChanges;
    // The payment and those it changes to, short enough for a table cell:
    // "$599.55, then $687.66".
    QString paymentsCell;

    const QString& operator[](Figure figure) const { return texts[std::size_t(figure)]; }
};

LoanFigures loanFigures(const LoanResult& result);

// The figures under their frames' titles, in the window's order, each with
// its caption, as the report prints them; the rounding note on a line of its
// own under each extra payments figure.
struct FigureGroup {
    QString title;
    QList<QPair<QString, QString>> lines;  // caption, text
};
QList<FigureGroup> figureGroups(const LoanResult& result);
