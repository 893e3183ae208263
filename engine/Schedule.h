#pragma once

#include "NumberedError.h"
#include "ExtraPayments.h"
#include "LoanTerms.h"

#include <variant>
#include <vector>

namespace engine {

struct ScheduleRow {
    short number = 0;
    Date dueDate{};
    double principal = 0.0;            // P - I
    double extra = 0.0;                // E
    double cumulativePrincipal = 0.0;  // sum of P - I + E
    double interest = 0.0;             // I
    double cumulativeInterest = 0.0;
    double balance = 0.0;              // after the payment
};

// The balance after one payment, by its due date.
struct BalancePoint {
    Date dueDate{};
    double balance = 0.0;  // rounded to cents
};

// The same loan without extra payments.
struct BaselineFigures {
    double loanAmount = 0.0;
    Date payoffDate{};
    double interestPaid = 0.0;
    double totalPaid = 0.0;  // BaselineTotalPaid
    short payments = 0;      // payments actually made
};

struct SummaryFigures {
    double principal = 0.0;       // scheduled principal (chart "Principal")
    double extraPayments = 0.0;   // chart "Extra Payments"
    double interest = 0.0;        // chart "Interest"
    double totalPrincipal = 0.0;  // principal + extra
    double totalPaid = 0.0;       // AdjustedTotalPaid
};

// Everything one successful run produces; the window applies it at once.
struct ScheduleResult {
    double loanAmount = 0.0;  // rounded to cents, as written back to the loan amount box
    double payment = 0.0;     // rounded to cents, as written back to the payment box
    double periodicRate = 0.0;
    short numberOfPayments = 0;
    short periodsPerYear = 0;
    std::vector<ScheduleRow> rows;
    BaselineFigures baseline;
    // The baseline's own rows: its balance after each of its payments.
    std::vector<BalancePoint> baselineBalances;
    SummaryFigures summary;
    Date adjustedPayoffDate{};  // due date of the last row
    short paymentsSaved = 0;    // payments the baseline made minus the rows of this run
    double totalSaved = 0.0;    // baseline total paid minus adjusted total paid, to cents
};

using ScheduleOutcome = std::variant<ScheduleResult, NumberedError>;

// The whole run: derived amount, every row, the baseline and the savings.
ScheduleOutcome calculateSchedule(const LoanTerms& terms,
                                  const std::vector<ExtraPayment>& extraPayments,
                                  bool suppressFuture, Date today);

// The loan amount as a run would use it: the rounded loan amount when given,
// otherwise the one derived from the rounded payment.
std::variant<double, NumberedError> effectiveLoanAmount(const LoanTerms& terms);

}  // namespace engine
