#include "Amortization.h"

#include "Money.h"
#include "PaymentCalendar.h"
#include "WholeNumbers.h"

#include <algorithm>

namespace engine::detail {

Amortization::Amortization(const RunTerms& run, double loanAmount, double payment,
                           const std::vector<RateChange>& rateChanges, PendingExtraPayments* extraPayments)
    : m_run(run), m_track(rateChanges, run), m_extraPayments(extraPayments),
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
    failure.shape = Shape::AcceleratedPayments;
    failure.paymentNumber = row.number;
    failure.dueDate = row.dueDate;
    failure.payment = m_payment;
    failure.interest = interest;
    failure.withoutExtraPayments = m_extraPayments == nullptr;
    throw ShapeRefusal{failure};
}

bool Amortization::next(ScheduleRow& row)
{
    const int i = m_number + 1;
    if (m_done || (m_openEnd == OpenEnd::None && i > m_run.payments))
        return false;
    m_number = i;
    row = ScheduleRow{};
    row.number = checkedShort(i);
    row.dueDate = nextPaymentDate(m_run.frequency, i, m_run.firstPaymentDate);
    if (m_track.reaches(row.dueDate)) {
        const RateTrack::Entry& change = m_track.advance(row.dueDate);
        m_rates = change.rates;
        m_changeInForce = change.position;
        if (change.mode == RateChangeMode::NewPayment) {
            m_payment = m_run.levelPayment(m_balance, m_rates, i, row.dueDate);
            m_openEnd = m_run.acceleration ? OpenEnd::Accelerated : OpenEnd::None;
        } else {
            m_openEnd = OpenEnd::RateChange;
        }
        m_effects[std::size_t(change.position - 1)] = {true, row.number, m_payment};
    }
    row.rateChange = m_changeInForce;
    double interest = roundToCents(finiteOrOverflow(m_rates.interest * m_balance));
    double extra = 0.0;
    if (m_extraPayments) {
        const double lumpSums = m_extraPayments->applyLumpSums(row.dueDate);
        const double repeating = m_extraPayments->applyRepeating(row.dueDate);
        extra = roundToCents(finiteOrOverflow(repeating + lumpSums));
    }

    if (m_openEnd != OpenEnd::None && m_payment <= interest)
        stalled(row, interest);
    const bool scheduledEnd = m_openEnd == OpenEnd::None;
    double payment = m_payment;
    if (scheduledEnd && interest > m_balance) {
        // Above 100 % a period: the payment is cut to the balance, which then
        // never falls, and stays so.
        interest = m_balance;
        payment = m_payment = m_balance;
        extra = 0.0;
    } else if (payment - interest > m_balance) {
        payment = interest + m_balance;
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

    const double scheduled = payment - interest;
    row.payment = roundToCents(payment);
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
    return true;
}

}  // namespace engine::detail
