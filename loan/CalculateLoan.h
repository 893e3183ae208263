#pragma once

#include "ExtraPaymentRow.h"
#include "LoanResult.h"
#include "NumberedError.h"
#include "RateChangeRow.h"
#include "ValidateLoan.h"

#include <QDate>

#include <variant>
#include <vector>

// The one way from a validated loan to a result: the engine's run with the
// extra payments and rate changes, solving for what the loan's choice asks.
// A solve that finds nothing names the payment box; a rate change the run
// cannot follow (two on one date, or a "Same payment" change under which the
// payment does not exceed the interest) names the change in
// ValidationFailure::rateChange; any other failure is the run's numbered error.
std::variant<ValidationFailure, engine::NumberedError, LoanResult>
calculateLoan(const Loan& loan, const std::vector<ExtraPaymentRow>& extraPayments,
              const std::vector<RateChangeRow>& rateChanges, bool suppressFuture, QDate today);
