#pragma once

#include "ExtraPayments.h"
#include "RateTrack.h"
#include "RunTerms.h"
#include "Schedule.h"
#include "Shapes.h"

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
    Amortization(const RunTerms& run, double loanAmount, double payment,
                 const std::vector<RateChange>& rateChanges, PendingExtraPayments* extraPayments);

    // The next row; false once the balance is cleared or the schedule ends.
    // Throws RateChangeRefusal or ShapeRefusal when what keeps the loan open
    // stalls the balance, and EngineFailure when a count or a figure overflows.
    bool next(ScheduleRow& row);

    const Totals& totals() const { return m_totals; }
    const std::vector<RateChangeEffect>& effects() const { return m_effects; }

private:
    [[noreturn]] void stalled(const ScheduleRow& row, double interest) const;

    const RunTerms& m_run;
    RateTrack m_track;
    PendingExtraPayments* m_extraPayments;
    std::vector<RateChangeEffect> m_effects;
    Totals m_totals;
    double m_balance;
    double m_payment;
    PeriodRates m_rates;
    // What lifted the scheduled end (the n-th payment), so the walk goes on
    // until the balance is cleared: an accelerated payment or a "Same
    // payment" change in force.
    enum class OpenEnd { None, Accelerated, RateChange };
    OpenEnd m_openEnd = OpenEnd::None;
    short m_changeInForce = 0;
    int m_number = 0;
    bool m_done = false;
};

// Carries a ShapeFailure out of a run.
struct ShapeRefusal {
    ShapeFailure failure;
};

}  // namespace engine::detail
