#pragma once

#include "ExtraPayments.h"
#include "RateTrack.h"
#include "RunTerms.h"
#include "Schedule.h"

#include <vector>

// Internal: the rows of one run, one payment at a time. The run with the
// user's extra payments and the baseline without them are the same walk.
namespace engine::detail {

struct Totals {
    double scheduledPrincipal = 0.0;
    double extra = 0.0;
    double principal = 0.0;
    double interest = 0.0;
    double rounding = 0.0;  // the remainder the last scheduled payment adds to its extra
};

class Amortization {
public:
    // `extraPayments`: none for the baseline. `payment`: the level payment of
    // the first row, to cents.
    Amortization(const LoanTerms& terms, const RunTerms& run, double loanAmount, double payment,
                 const std::vector<RateChange>& rateChanges, PendingExtraPayments* extraPayments);

    // The next row; false once the balance is cleared or the schedule ends.
    // Throws RateChangeRefusal when a "Same payment" change stalls the balance
    // and EngineFailure when a count or a figure overflows.
    bool next(ScheduleRow& row);

    const Totals& totals() const { return m_totals; }
    const std::vector<RateChangeEffect>& effects() const { return m_effects; }

private:
    const LoanTerms& m_terms;
    const RunTerms& m_run;
    RateTrack m_track;
    PendingExtraPayments* m_extraPayments;
    std::vector<RateChangeEffect> m_effects;
    Totals m_totals;
    double m_balance;
    double m_payment;
    double m_periodicRate;
    // The scheduled end is the n-th payment; a "Same payment" change in force
    // lifts it, and the walk goes on until the balance is cleared.
    bool m_scheduledEnd = true;
    short m_changeInForce = 0;
    int m_number = 0;
    bool m_done = false;
};

}  // namespace engine::detail
