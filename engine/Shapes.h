#pragma once

#include "LoanTerms.h"
#include "RateChange.h"

#include <cstddef>
#include <cstdint>

namespace engine {

// Payments not made: the `count` payments due on or after `from`. Each adds
// its period's interest to the balance. After them "New payment" recomputes
// the level payment over the scheduled payments left, so the loan ends as
// scheduled; "Same payment" keeps the payment, so the loan runs on until the
// balance is cleared.
struct SkippedPayments {
    Date from{};
    int count = 0;
    RateChangeMode mode = RateChangeMode::NewPayment;  // the same two modes as a rate change
    bool operator==(const SkippedPayments&) const = default;
};

// The shapes of a loan whose payment is not one level payment over the term.
enum class Shape {
    AcceleratedPayments,  // the frequency names which
    InterestOnly,
    Balloon,
    SkippedPayments,
    LowerThePayment,  // an extra payment that recasts the loan
};

// What a row of the table shows took effect there, as bits of ScheduleRow::marks.
enum RowMark : std::uint8_t {
    RateChangeMark = 1,    // a rate change took effect
    InterestOnlyMark = 2,  // the payment is the period's interest only
    BalloonMark = 4,       // the rest of the balance fell due
    SkippedMark = 8,       // nothing paid, the interest added to the balance
    LoweredMark = 16,      // an extra payment lowered the payments after it
};

// A run refused for its shape.
struct ShapeFailure {
    enum class Reason {
        // Solving for the rate or the term: the payment is not the level
        // payment of the term, so neither follows from it.
        CannotSolve,
        // The interest-only payments or the balloon's payment number are not
        // fewer than the scheduled payments (`payments`).
        NotBeforeTheEnd,
        // Two skips share a payment: `skip` and `otherSkip`, the earlier one.
        SkipsOverlap,
        // The payment does not exceed the period's interest while nothing
        // ends the loan (an accelerated payment, or the payment a "Same
        // payment" skip `skip` kept), so the balance would never fall.
        PaymentNotAboveInterest,
    };
    Reason reason = Reason::CannotSolve;
    Shape shape = Shape::AcceleratedPayments;
    std::size_t skip = 0;  // positions in the list as given, counted from 0
    std::size_t otherSkip = 0;
    short payments = 0;
    // PaymentNotAboveInterest: the payment it happened at and its figures.
    short paymentNumber = 0;
    Date dueDate{};
    double payment = 0.0;
    double interest = 0.0;
    bool withoutExtraPayments = false;  // found by the baseline, not by the run itself
    bool operator==(const ShapeFailure&) const = default;
};

}  // namespace engine
