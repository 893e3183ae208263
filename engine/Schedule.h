#pragma once

#include "NumberedError.h"
#include "ExtraPayments.h"
#include "LoanTerms.h"
#include "RateChange.h"
#include "Shapes.h"
#include "Solve.h"

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace engine {

struct ScheduleRow {
    short number = 0;
    Date dueDate{};
    short rateChange = 0;              // the rate in force: 0 the loan's own, k the k-th rate change as given
    double principal = 0.0;            // P - I
    double extra = 0.0;                // E
    double cumulativePrincipal = 0.0;  // sum of P - I + E
    double interest = 0.0;             // I
    double cumulativeInterest = 0.0;
    double balance = 0.0;              // after the payment
    // The scheduled payment as paid: principal + interest. The last scheduled
    // row's rounding remainder stays in `extra`.
    double payment = 0.0;
    std::uint8_t marks = 0;  // RowMark bits: what took effect at this row
    bool operator==(const ScheduleRow&) const = default;
};

// One payment of the loan without extra payments, by its due date.
struct BalancePoint {
    Date dueDate{};
    double balance = 0.0;  // after the payment, rounded to cents
    double payment = 0.0;  // principal and interest, the last payment's rounding remainder included
    bool operator==(const BalancePoint&) const = default;
};

// What became of one rate change as given.
struct RateChangeEffect {
    bool tookEffect = false;  // false: another change between the same two due dates, or after the payoff
    short row = 0;            // the payment number it took effect at
    // The payment in force from that row: the level payment a "New payment"
    // change computes, or the payment a "Same payment" change keeps.
    double payment = 0.0;
    bool operator==(const RateChangeEffect&) const = default;
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
    // The part of extraPayments that is no extra payment of the user's: the
    // rounding remainder the last scheduled payment clears.
    double lastPaymentRounding = 0.0;
    double interest = 0.0;        // chart "Interest"
    double totalPrincipal = 0.0;  // principal + extra
    double totalPaid = 0.0;       // AdjustedTotalPaid
};

// Everything one successful run produces; the window applies it at once.
struct ScheduleResult {
    double loanAmount = 0.0;  // rounded to cents, as written back to the loan amount box
    double payment = 0.0;     // rounded to cents, as written back to the payment box
    double periodicRate = 0.0;
    // Scheduled: from the term, or the solved count. An accelerated loan is
    // counted at its rhythm over the term and is repaid well before.
    short numberOfPayments = 0;
    short periodsPerYear = 0;
    PaymentFrequency frequency{};
    double annualRatePercent = 0.0;  // the loan's own rate as the run used it: typed or solved
    int term = 0;                    // whole term in the loan's unit: typed or solved
    std::vector<RateChange> rateChanges;  // as given; ScheduleRow::rateChange counts from 1 into it
    std::vector<RateChangeEffect> rateChangeEffects;  // one for each of rateChanges, in the same order
    std::optional<RateSolution> solvedRate;
    std::optional<TermSolution> solvedTerm;
    std::vector<ScheduleRow> rows;
    BaselineFigures baseline;
    // The baseline's own rows: its payment and the balance after it.
    std::vector<BalancePoint> baselineBalances;
    SummaryFigures summary;
    double balloon = 0.0;  // the part of the balloon payment above the payment in force; 0 for none
    // The payment the last "Lower the payment" extra payment set, none without one.
    std::optional<double> loweredPayment;
    Date adjustedPayoffDate{};  // due date of the last row
    short paymentsSaved = 0;    // payments the baseline made minus the rows of this run
    double totalSaved = 0.0;    // baseline total paid minus adjusted total paid, to cents
};

// Everything a run reads besides the loan's own terms.
struct LoanRun {
    std::vector<ExtraPayment> extraPayments{};
    std::vector<RateChange> rateChanges{};  // any order; the baseline follows them too
    std::vector<SkippedPayments> skippedPayments{};  // any order; the baseline skips them too
    Unknown calculate = Unknown::PaymentOrLoanAmount;
    bool suppressFuture = false;
    Date today{};
};

// A run refused for a reason the user can fix in the inputs is handed back as
// that reason, so the window can name the field, the rate change or the shape.
using RunOutcome = std::variant<ScheduleResult, NumberedError, SolveFailure, RateChangeFailure, ShapeFailure>;

// The one way into a run: the derived amount, every row, the baseline and the
// savings, with rate changes and the chosen unknown. Solving for the rate or
// the term needs both amounts; the run then proceeds as with the solved rate
// typed, or over the solved number of payments of the given payment.
RunOutcome runLoan(const LoanTerms& terms, const LoanRun& run);

// The annual rate in force at a row of `result`, in percent.
double annualRatePercentAt(const ScheduleResult& result, const ScheduleRow& row);

// True for the row at which a rate change took effect (a change dated before
// the first payment takes effect at the first row).
bool rateChangeTakesEffect(const ScheduleResult& result, std::size_t rowIndex);

// The loan amount as a run would use it: the rounded loan amount when given,
// otherwise the one derived from the rounded payment.
std::variant<double, NumberedError> effectiveLoanAmount(const LoanTerms& terms);

}  // namespace engine
