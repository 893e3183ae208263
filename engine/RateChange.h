#pragma once

#include "LoanTerms.h"

#include <cstddef>
#include <vector>

namespace engine {

// What a rate change does to the payment; the value is what is stored.
enum class RateChangeMode {
    NewPayment = 0,   // recomputed so the loan still ends at its scheduled last payment
    SamePayment = 1,  // kept: the loan ends earlier or later than scheduled
};

// A new annual rate for every payment due on or after `from`, until a later
// change. A change dated before the first payment applies from payment 1 (the
// payment box still shows the payment of the loan's own rate); one dated after
// the payoff changes nothing; of several changes between two due dates only the
// latest takes effect. Its periodic rate is formed as the loan's own, under
// the loan's compounding, to 8 decimals. "New payment": the level payment on
// the balance before the payment over the scheduled payments left (at least
// 1), to cents; the last scheduled payment keeps its rounding correction. An
// accelerated loan pays its part of the monthly payment over the months of the
// term not yet begun, and still runs until the balance is cleared. "Same
// payment": the payment stays and the loan has no scheduled end while the
// change is in force, so the last payment is what is left plus its interest.
// Among interest-only payments a change sets only the rate; a change taking
// effect on a skipped payment has its mode applied at the first payment made
// after the skip, after the skip's own.
struct RateChange {
    Date from{};
    double annualPercent = 0.0;  // 6.5 means 6.5 % a year
    RateChangeMode mode = RateChangeMode::NewPayment;
    bool operator==(const RateChange&) const = default;
};

// A rate change list the run cannot follow. `change` is the position in the
// list as given, counted from 0.
struct RateChangeFailure {
    enum class Reason {
        // Two changes from the same date: which one the user meant is unknown,
        // so neither is chosen silently. `otherChange` is the earlier of the two.
        SameDate,
        // Under a "Same payment" change the payment does not exceed the period's
        // interest, so the balance would never fall.
        PaymentNotAboveInterest,
    };
    Reason reason = Reason::SameDate;
    std::size_t change = 0;
    std::size_t otherChange = 0;
    // PaymentNotAboveInterest: the payment it happened at and its figures.
    short paymentNumber = 0;
    Date dueDate{};
    double payment = 0.0;
    double interest = 0.0;
    bool withoutExtraPayments = false;  // found by the baseline, not by the run itself
    bool operator==(const RateChangeFailure&) const = default;
};

}  // namespace engine
