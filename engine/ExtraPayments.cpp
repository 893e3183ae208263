#include "ExtraPayments.h"

#include <chrono>

namespace engine {

namespace {

// A repeating row without a stop date (the editor never writes one) keeps
// running to the end of the loan rather than being dropped unseen.
constexpr Date kOpenEnded{std::chrono::year(9999), std::chrono::December, std::chrono::day(31)};

}  // namespace

PendingExtraPayments::PendingExtraPayments(const std::vector<ExtraPayment>& rows,
                                           bool suppressFuture, Date today)
{
    for (const ExtraPayment& row : rows) {
        const bool lowers = row.then == ExtraPaymentThen::LowerThePayment;
        switch (row.kind) {
        case ExtraPaymentKind::LumpSum:
            if (!suppressFuture || row.start <= today)
                m_lumpSums.push_back({row.start, row.amount, lowers});
            break;
        case ExtraPaymentKind::Repeating: {
            const Date stop = row.stop.value_or(kOpenEnded);
            if (!suppressFuture)
                m_repeating.push_back({row.start, stop, row.amount, lowers});
            else if (row.start <= today)
                m_repeating.push_back({row.start, stop <= today ? stop : today, row.amount, lowers});
            break;
        }
        case ExtraPaymentKind::Ignored:
            break;
        }
    }
}

double PendingExtraPayments::applyLumpSums(Date due)
{
    double total = 0.0;
    // From the end, so counted entries can leave the list while scanning.
    for (auto k = m_lumpSums.size(); k-- > 0;) {
        if (m_lumpSums[k].date <= due) {
            total += m_lumpSums[k].amount;
            m_lowerThePayment = m_lowerThePayment || m_lumpSums[k].lowers;
            m_lumpSums.erase(m_lumpSums.begin() + static_cast<std::ptrdiff_t>(k));
        }
    }
    return total;
}

double PendingExtraPayments::applyRepeating(Date due)
{
    double total = 0.0;
    for (auto k = m_repeating.size(); k-- > 0;) {
        const Repeating& entry = m_repeating[k];
        if (entry.start <= due && due <= entry.stop) {
            total += entry.amount;
            m_lowerThePayment = m_lowerThePayment || entry.lowers;
        }
        if (due >= entry.stop)
            m_repeating.erase(m_repeating.begin() + static_cast<std::ptrdiff_t>(k));
    }
    return total;
}

}  // namespace engine
