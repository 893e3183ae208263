#include "Amortization.h"

#include "Money.h"
#include "PaymentCalendar.h"
#include "WholeNumbers.h"

#include <algorithm>
#include <utility>

namespace engine::detail {

std::vector<SkipBlock> skipBlocks(const std::vector<SkippedPayments>& skips, const RunTerms& run)
{
    std::vector<SkipBlock> blocks;
    if (skips.empty())
        return blocks;
    checkedShort(static_cast<long long>(skips.size()));
    // Due dates only grow with the payment number; one past the year 9999 is
    // later than any date.
    auto dueOnOrAfter = [&](int number, Date from) {
        try {
            return nextPaymentDate(run.frequency, number, run.firstPaymentDate) >= from;
        } catch (const EngineFailure&) {
            return true;
        }
    };
    for (std::size_t k = 0; k < skips.size(); ++k) {
        const SkippedPayments& skip = skips[k];
        if (skip.count < 1)
            throw EngineFailure(invalidPropertyValueError());
        // The first payment due on or after `from`; one past the last number when none is.
        int before = 0, first = kSixteenBitMax + 1;
        while (first - before > 1) {
            const int mid = before + (first - before) / 2;
            (dueOnOrAfter(mid, skip.from) ? first : before) = mid;
        }
        blocks.push_back({first, first + std::min(skip.count, kSixteenBitMax + 1) - 1, skip.mode, k});
    }
    std::stable_sort(blocks.begin(), blocks.end(), [](const SkipBlock& a, const SkipBlock& b) {
        return a.first < b.first;
    });
    const SkipBlock* reach = &blocks.front();  // of the blocks so far, the one reaching furthest
    for (std::size_t k = 1; k < blocks.size(); ++k) {
        if (blocks[k].first <= reach->last) {
            ShapeFailure failure{ShapeFailure::Reason::SkipsOverlap, Shape::SkippedPayments};
            failure.skip = blocks[k].position;
            failure.otherSkip = reach->position;
            throw ShapeRefusal{failure};
        }
        if (blocks[k].last > reach->last)
            reach = &blocks[k];
    }
    return blocks;
}

Amortization::Amortization(const RunTerms& run, double loanAmount, double payment,
                           const std::vector<RateChange>& rateChanges, const std::vector<SkipBlock>& skips,
                           PendingExtraPayments* extraPayments)
    : m_run(run), m_track(rateChanges, run), m_skips(skips), m_extraPayments(extraPayments),
      m_effects(rateChanges.size()), m_balance(loanAmount), m_payment(payment), m_rates(run.rates)
{
    if (run.acceleration)
        m_openEnd = OpenEnd::Accelerated;
}

void Amortization::stalled(const ScheduleRow& row, double interest) const
{
    if (m_openEnd == OpenEnd::RateChange) {
        RateChangeFailure failure;
        failure.reason = RateChangeFailure::Reason::PaymentNotAboveInterest;
        failure.change = std::size_t(m_changeInForce - 1);
        failure.paymentNumber = row.number;
        failure.dueDate = row.dueDate;
        failure.payment = m_payment;
        failure.interest = interest;
        failure.withoutExtraPayments = m_extraPayments == nullptr;
        throw RateChangeRefusal{failure};
    }
    ShapeFailure failure;
    failure.reason = ShapeFailure::Reason::PaymentNotAboveInterest;
    failure.shape = m_openEnd == OpenEnd::Skip ? Shape::SkippedPayments : Shape::AcceleratedPayments;
    failure.skip = m_openedBy;
    failure.paymentNumber = row.number;
    failure.dueDate = row.dueDate;
    failure.payment = m_payment;
    failure.interest = interest;
    failure.withoutExtraPayments = !m_extraPayments;
    throw ShapeRefusal{failure};
}

const SkipBlock* Amortization::skipAt(int number)
{
    while (m_nextSkip < m_skips.size() && m_skips[m_nextSkip].last < number)
        ++m_nextSkip;
    if (m_nextSkip < m_skips.size() && m_skips[m_nextSkip].first <= number)
        return &m_skips[m_nextSkip];
    return nullptr;
}

void Amortization::applyMode(const Pending& pending, OpenEnd samePayment, const ScheduleRow& row)
{
    if (pending.mode == RateChangeMode::NewPayment) {
        // Level over the scheduled payments still to come, this one included.
        m_payment = m_run.levelPayment(m_balance, m_rates, row.number, row.dueDate);
        m_openEnd = m_run.acceleration ? OpenEnd::Accelerated : OpenEnd::None;
    } else {
        m_openEnd = samePayment;
        m_openedBy = pending.position;
    }
}

double Amortization::scheduledPayment(ScheduleRow& row, double interest)
{
    double payment = interest;
    if (row.number <= m_run.interestOnly) {
        row.marks |= InterestOnlyMark;
    } else {
        if (!m_levelSet) {
            m_levelSet = true;
            if (m_run.interestOnly > 0) {
                // The payment after the interest-only ones is the level payment
                // at the rate then in force, and the loan ends as scheduled,
                // whatever a change or a skip among them asked for.
                m_payment = m_run.levelPayment(m_balance, m_rates, row.number, row.dueDate);
                m_openEnd = m_run.acceleration ? OpenEnd::Accelerated : OpenEnd::None;
                m_afterSkip.reset();
                m_afterChange.reset();
            }
        }
        // A skip's mode first, then a change's: the change took effect later
        // (during the skip or at this payment), so its mode stands.
        if (m_afterSkip)
            applyMode(*std::exchange(m_afterSkip, std::nullopt), OpenEnd::Skip, row);
        if (m_afterChange)
            applyMode(*std::exchange(m_afterChange, std::nullopt), OpenEnd::RateChange, row);
        payment = m_payment;
    }
    for (std::size_t k : m_effectsToFill)
        m_effects[k].payment = payment;
    m_effectsToFill.clear();
    return payment;
}

bool Amortization::next(ScheduleRow& row)
{
    const int i = m_number + 1;
    if (m_done)
        return false;
    const SkipBlock* skip = skipAt(i);
    // The scheduled end is the n-th payment, unless skips still run past it.
    if (m_openEnd == OpenEnd::None && i > m_run.payments && !skip && !m_afterSkip)
        return false;
    m_number = i;
    row = ScheduleRow{};
    row.number = checkedShort(i);
    row.dueDate = nextPaymentDate(m_run.frequency, i, m_run.firstPaymentDate);
    if (m_track.reaches(row.dueDate)) {
        const RateTrack::Entry& change = m_track.advance(row.dueDate);
        const auto position = std::size_t(change.position - 1);
        m_rates = change.rates;
        m_changeInForce = change.position;
        m_afterChange = Pending{change.mode, position};
        m_effects[position] = {true, row.number, 0.0};
        m_effectsToFill.push_back(position);
        row.marks |= RateChangeMark;
    }
    row.rateChange = m_changeInForce;
    double interest = roundToCents(finiteOrOverflow(m_rates.interest * m_balance));
    double extra = 0.0;
    bool lowers = false;
    if (m_extraPayments) {
        const double lumpSums = m_extraPayments->applyLumpSums(row.dueDate);
        const double repeating = m_extraPayments->applyRepeating(row.dueDate);
        extra = roundToCents(finiteOrOverflow(repeating + lumpSums));
        lowers = m_extraPayments->takeLowerThePayment();
    }

    double payment = 0.0;
    bool inCents = true;  // every payment is a sum of cents but the last one cut to the balance
    const bool balloon = i == m_run.balloonAfter;
    if (skip && !balloon) {
        // Nothing paid: the interest joins the balance, shown as a negative principal.
        row.marks |= SkippedMark;
        if (i == skip->last)
            m_afterSkip = Pending{skip->mode, skip->position};
        if (extra > interest + m_balance)
            extra = interest + m_balance;
    } else {
        payment = scheduledPayment(row, interest);
        if (balloon) {
            // The whole balance falls due, the extra payments of the day counted first.
            extra = std::min(extra, m_balance);
            const double due = roundToCents(interest + m_balance - extra);
            m_balloon = std::max(0.0, roundToCents(due - payment));
            if (m_balloon > 0)
                row.marks |= BalloonMark;
            payment = due;
        } else if (i <= m_run.interestOnly) {
            extra = std::min(extra, m_balance);
        } else {
            if (m_openEnd != OpenEnd::None && m_payment <= interest)
                stalled(row, interest);
            const bool scheduledEnd = m_openEnd == OpenEnd::None;
            if (scheduledEnd && interest > m_balance) {
                // Above 100 % a period: the payment is cut to the balance, which then
                // never falls, and stays so.
                interest = m_balance;
                payment = m_payment = m_balance;
                extra = 0.0;
            } else if (payment - interest > m_balance) {
                payment = interest + m_balance;
                inCents = false;
                extra = 0.0;
            } else if (payment - interest + extra > m_balance) {
                extra = interest + m_balance - payment;
            } else if (scheduledEnd && i >= m_run.payments) {
                // The rounding remainder is added to the extra already counted, so the
                // last scheduled row always clears the balance.
                const double paid = roundToCents(payment - interest + extra);
                if (paid < m_balance) {
                    const double withRemainder = roundToCents(extra + (m_balance - paid));
                    m_totals.rounding = roundToCents(withRemainder - extra);
                    extra = withRemainder;
                }
            }
        }
    }

    const double scheduled = payment - interest;
    row.payment = inCents ? payment : roundToCents(payment);
    row.principal = scheduled;
    m_totals.scheduledPrincipal += scheduled;
    row.extra = extra;
    m_totals.extra = finiteOrOverflow(m_totals.extra + extra);
    m_totals.principal = finiteOrOverflow(scheduled + m_totals.principal + extra);
    row.cumulativePrincipal = m_totals.principal;
    row.interest = interest;
    m_totals.interest = checkedAmount(m_totals.interest + interest);
    row.cumulativeInterest = m_totals.interest;
    m_balance = checkedAmount(roundToCents(m_balance - scheduled - extra));
    row.balance = m_balance;
    m_done = m_balance <= 0;

    // An extra payment that lowers the payment: the level payment of what is
    // left over the scheduled payments left, none when none are. Among the
    // interest-only payments it waits for their end, which does the same.
    if (lowers && !m_done && i >= m_run.interestOnly && i < m_run.payments) {
        const int from = i + 1;
        m_payment = m_run.levelPayment(m_balance, m_rates, from,
                                       nextPaymentDate(m_run.frequency, from, m_run.firstPaymentDate));
        m_openEnd = m_run.acceleration ? OpenEnd::Accelerated : OpenEnd::None;
        m_lowered = m_payment;
        row.marks |= LoweredMark;
    }
    return true;
}

}  // namespace engine::detail
