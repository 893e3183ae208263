#pragma once

#include "LoanTerms.h"

#include <cstddef>

namespace engine {

// The shapes of a loan whose payment is not one level payment over the term.
enum class Shape {
    AcceleratedPayments,  // the frequency names which
};

// A run refused for its shape.
struct ShapeFailure {
    enum class Reason {
        // Solving for the rate or the term: the payment is not the level
        // payment of the term, so neither follows from it.
        CannotSolve,
        // The payment does not exceed the period's interest while nothing
        // ends the loan, so the balance would never fall.
        PaymentNotAboveInterest,
    };
    Reason reason = Reason::CannotSolve;
    Shape shape = Shape::AcceleratedPayments;
    // PaymentNotAboveInterest: the payment it happened at and its figures.
    short paymentNumber = 0;
    Date dueDate{};
    double payment = 0.0;
    double interest = 0.0;
    bool withoutExtraPayments = false;  // found by the baseline, not by the run itself
    bool operator==(const ShapeFailure&) const = default;
};

}  // namespace engine
