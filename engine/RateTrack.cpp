#include "RateTrack.h"

#include "Money.h"
#include "NumberedError.h"
#include "WholeNumbers.h"

#include <algorithm>
#include <cmath>

namespace engine::detail {

RateTrack::RateTrack(const std::vector<RateChange>& changes, const RunTerms& run)
{
    if (changes.empty())
        return;
    checkedShort(static_cast<long long>(changes.size()));
    m_entries.reserve(changes.size());
    for (std::size_t k = 0; k < changes.size(); ++k) {
        const RateChange& change = changes[k];
        if (!std::isfinite(change.annualPercent) || change.annualPercent < 0.0)
            throw EngineFailure(invalidPropertyValueError());
        Entry entry;
        entry.from = change.from;
        entry.rates = run.ratesAt(change.annualPercent / 100.0);
        entry.mode = change.mode;
        entry.position = static_cast<short>(k + 1);
        m_entries.push_back(entry);
    }
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return a.from < b.from; });
    for (std::size_t k = 1; k < m_entries.size(); ++k) {
        if (m_entries[k].from == m_entries[k - 1].from) {
            RateChangeFailure failure;
            failure.reason = RateChangeFailure::Reason::SameDate;
            failure.change = std::size_t(m_entries[k].position - 1);
            failure.otherChange = std::size_t(m_entries[k - 1].position - 1);
            throw RateChangeRefusal{failure};
        }
    }
}

const RateTrack::Entry& RateTrack::advance(Date due)
{
    while (m_next + 1 < m_entries.size() && m_entries[m_next + 1].from <= due)
        ++m_next;
    return m_entries[m_next++];
}

}  // namespace engine::detail
