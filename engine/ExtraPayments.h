#pragma once

#include "LoanTerms.h"

#include <optional>
#include <vector>

namespace engine {

enum class ExtraPaymentKind { LumpSum, Repeating, Ignored };

// One row of the extra payments table, converted from its cells.
struct ExtraPayment {
    ExtraPaymentKind kind = ExtraPaymentKind::Ignored;
    Date start{};
    std::optional<Date> stop;  // repeating only; without one it runs to the end of the loan
    double amount = 0.0;
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

private:
    struct LumpSum { Date date; double amount; };
    struct Repeating { Date start; Date stop; double amount; };
    std::vector<LumpSum> m_lumpSums;
    std::vector<Repeating> m_repeating;
};

}  // namespace engine
