#pragma once

#include "LoanTerms.h"
#include "NumberedError.h"
#include "Schedule.h"

#include <optional>
#include <variant>
#include <vector>

namespace engine {

struct DatedPayment {
    Date due{};
    double amount = 0.0;
};

// The annual percentage rate, in percent, of `amountFinanced` advanced on
// `advanceDate` and repaid by `payments`, by the actuarial method of US
// Regulation Z, Appendix J. The unit-period is the payment period of
// `frequency` (the accelerated ones as bi-weekly and weekly). Each payment's
// time is counted back from its due date: whole unit-periods t, and a
// fraction f of one left over (weeks: the days over the unit's days; a half
// month: whole months back at 30 days, then the days, over 15; months: whole
// months back, then the days at 30 to a month, over the unit's months). The
// fraction is charged at simple interest, so the amount financed equals the
// sum of P / ((1 + f i)(1 + i)^t); the result is i times the unit-periods in
// a year. Refused (380) for an amount financed not above 0, a payment due
// before the advance, or payments that do not repay the amount financed.
std::variant<double, NumberedError> annualPercentageRate(double amountFinanced, Date advanceDate,
                                                         const std::vector<DatedPayment>& payments,
                                                         PaymentFrequency frequency);

// The date one payment period before `firstPaymentDate`, exactly one
// unit-period as the APR counts it: 7 or 14 days, 15 days for semi-monthly,
// 1, 2, 3, 6 or 12 months (a month end kept as the month's last day).
Date periodBefore(PaymentFrequency frequency, Date firstPaymentDate);

// What the lender charges beside the interest. None of it changes the schedule.
struct LoanCharges {
    double fees = 0.0;           // paid at the start
    double pointsPercent = 0.0;  // of the loan amount
    std::optional<Date> loanDate;  // none: one payment period before the first payment
};

struct DisclosureFigures {
    Date loanDate{};
    double amountFinanced = 0.0;  // the loan amount less the fees and the points (to cents)
    // The scheduled payments less the amount financed: the payments are the
    // baseline's, the loan without the user's extra payments, each with its
    // principal and interest and the last one with its rounding remainder.
    double financeCharge = 0.0;
    double annualPercentageRate = 0.0;  // in percent, over those payments on their due dates
};

std::variant<DisclosureFigures, NumberedError> disclosureFigures(const ScheduleResult& run,
                                                                 const LoanCharges& charges);

}  // namespace engine
