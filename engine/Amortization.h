#pragma once

#include "ExtraPayments.h"
#include "RateTrack.h"
#include "RunTerms.h"
#include "Schedule.h"
#include "Shapes.h"

#include <optional>
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

// A run of skipped payments by payment number, with what follows it.
struct SkipBlock {
    int first = 0;
    int last = 0;
    RateChangeMode mode = RateChangeMode::NewPayment;
    std::size_t position = 0;  // in the list as given, counted from 0
};

// The skips of a run in payment order. Throws ShapeRefusal when two share a
// payment, EngineFailure (380) for a count below 1.
std::vector<SkipBlock> skipBlocks(const std::vector<SkippedPayments>& skips, const RunTerms& run);

class Amortization {
public:
    // `extraPayments`: none for the baseline. `payment`: the level payment of
    // the first row, to cents (unused after interest-only payments, whose
    // level payment is computed when they end).
    Amortization(const RunTerms& run, double loanAmount, double payment, const std::vector<RateChange>& rateChanges,
                 const std::vector<SkipBlock>& skips, PendingExtraPayments* extraPayments);

    // The next row; false once the balance is cleared or the schedule ends.
    // Throws RateChangeRefusal or ShapeRefusal when what keeps the loan open
    // stalls the balance, and EngineFailure when a count or a figure overflows.
    bool next(ScheduleRow& row);

    const Totals& totals() const { return m_totals; }
    const std::vector<RateChangeEffect>& effects() const { return m_effects; }
    double balloon() const { return m_balloon; }
    std::optional<double> loweredPayment() const { return m_lowered; }

private:
    // What lifted the scheduled end (the n-th payment), so the walk goes on
    // until the balance is cleared.
    enum class OpenEnd { None, Accelerated, RateChange, Skip };
    struct Pending {
        RateChangeMode mode;
        std::size_t position;
    };

    [[noreturn]] void stalled(const ScheduleRow& row, double interest) const;
    const SkipBlock* skipAt(int number);
    void applyMode(const Pending& pending, OpenEnd samePayment, const ScheduleRow& row);
    double scheduledPayment(ScheduleRow& row, double interest);

    const RunTerms& m_run;
    RateTrack m_track;
    const std::vector<SkipBlock>& m_skips;
    std::size_t m_nextSkip = 0;
    PendingExtraPayments* m_extraPayments;
    std::vector<RateChangeEffect> m_effects;
    std::vector<std::size_t> m_effectsToFill;  // took effect, their payment not yet known
    Totals m_totals;
    double m_balance;
    double m_payment;
    PeriodRates m_rates;
    OpenEnd m_openEnd = OpenEnd::None;
    std::size_t m_openedBy = 0;  // the skip that keeps it open
    bool m_levelSet = false;     // the level payment is in force (after any interest-only payments)
    std::optional<Pending> m_afterSkip;    // a skip's mode, due at the next payment made
    std::optional<Pending> m_afterChange;  // a rate change's mode, due at the next payment made
    short m_changeInForce = 0;
    double m_balloon = 0.0;
    std::optional<double> m_lowered;
    int m_number = 0;
    bool m_done = false;
};

}  // namespace engine::detail
