#pragma once

#include "LoanTerms.h"

#include <optional>
#include <utility>
#include <vector>

namespace engine {

enum class ExtraPaymentKind { LumpSum, Repeating, Ignored };

// What an extra payment does after it is applied; the value is what is stored.
enum class ExtraPaymentThen {
    ShortenTheLoan = 0,  // the payment stays, the loan ends earlier
    // The payment becomes the level payment of the balance over the scheduled
    // payments left, so the loan ends as scheduled.
    LowerThePayment = 1,
};

// One row of the extra payments table, converted from its cells.
struct ExtraPayment {
    ExtraPaymentKind kind = ExtraPaymentKind::Ignored;
    Date start{};
    std::optional<Date> stop;  // repeating only; without one it runs to the end of the loan
    double amount = 0.0;
    ExtraPaymentThen then = ExtraPaymentThen::ShortenTheLoan;
};

// The two pending lists of one run, built once from the rows; asked once per
// period, lump sums first, with the same due date.
class PendingExtraPayments {
public:
    PendingExtraPayments(const std::vector<ExtraPayment>& rows, bool suppressFuture, Date today);

    // Sum of the lump sums dated on or before `due` not yet counted.
    double applyLumpSums(Date due);
    // Sum of the repeating amounts whose range holds `due`.
    double applyRepeating(Date due);
    // True before a run when no amount will ever be applied.
    bool empty() const { return m_lumpSums.empty() && m_repeating.empty(); }
    // True when one of the amounts applied since the last call lowers the payment.
    bool takeLowerThePayment() { return std::exchange(m_lowerThePayment, false); }

private:
    struct LumpSum { Date date; double amount; bool lowers; };
    struct Repeating { Date start; Date stop; double amount; bool lowers; };
    std::vector<LumpSum> m_lumpSums;
    std::vector<Repeating> m_repeating;
    bool m_lowerThePayment = false;
};

}  // namespace engine
