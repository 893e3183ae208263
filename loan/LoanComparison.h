#pragma once

#include "LoanResult.h"

#include <QString>

#include <array>
#include <vector>

// One loan window as the comparison sees it: its caption and its last
// successful run, or none before the first one.
struct ComparedLoan {
    QString caption;
    const LoanResult* result = nullptr;
    // The loan's line colour in the comparison chart, kept while its window is
    // open so closing another loan does not repaint it; -1: by position.
    int colourSlot = -1;
};

// The comparison's rows, top to bottom.
enum class CompareRow {
    LoanAmount,
    Payment,
    Frequency,
    AnnualRate,
    Term,
    FirstPayment,
    PaymentsMade,
    PayoffDate,
    TotalInterest,
    ExtraPayments,
    TotalPaid,
    InterestSaved,
    PaymentsSaved,
    AmountFinanced,
    FinanceCharge,
    AnnualPercentageRate,
};
inline constexpr int kCompareRows = 16;

QString compareRowHeading(CompareRow row);

// One loan's column: its texts and which of them is the best of all loans.
struct ComparisonColumn {
    QString caption;
    bool calculated = false;
    std::array<QString, kCompareRows> texts;
    std::array<bool, kCompareRows> best{};
};

// The columns in the order given. Among two or more calculated loans the
// lowest total interest, the lowest total paid, the earliest payoff date and
// the lowest APR are marked (every loan that ties for it, as shown); a loan
// without a run shows "Not calculated".
std::vector<ComparisonColumn> compareLoans(const std::vector<ComparedLoan>& loans);
