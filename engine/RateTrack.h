#pragma once

#include "RateChange.h"
#include "RunTerms.h"

#include <cstddef>
#include <vector>

// Internal: the rate changes of one run in date order, followed payment by payment.
namespace engine::detail {

class RateTrack {
public:
    struct Entry {
        Date from{};
        PeriodRates rates;  // formed as the loan's own
        RateChangeMode mode = RateChangeMode::NewPayment;
        short position = 0;  // in the list as given, counted from 1
    };

    // Throws RateChangeRefusal for two changes from one date and EngineFailure
    // for a rate that is negative or not finite.
    RateTrack(const std::vector<RateChange>& changes, const RunTerms& run);

    // True when a change not yet in force applies from `due` on. One comparison,
    // so a loan without changes pays nothing for it.
    bool reaches(Date due) const { return m_next < m_entries.size() && m_entries[m_next].from <= due; }

    // The last change dated on or before `due` (changes skipped between two due
    // dates never take effect); call only when reaches(due).
    const Entry& advance(Date due);

private:
    std::vector<Entry> m_entries;
    std::size_t m_next = 0;
};

// Carries a RateChangeFailure out of a run.
struct RateChangeRefusal {
    RateChangeFailure failure;
};

}  // namespace engine::detail
