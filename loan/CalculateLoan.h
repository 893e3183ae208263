#pragma once

#include "LoanResult.h"
#include "LoanRows.h"
#include "NumberedError.h"
#include "ValidateLoan.h"

#include <QDate>

#include <variant>
#include <vector>

// The one way from a validated loan to a result: the engine's run with the
// loan's rows, solving for what the loan's choice asks, and the APR of it.
// A solve that finds nothing names the payment box; a rate change or a skip
// the run cannot follow names the row (ValidationFailure::rateChange, ::skip);
// a shape that cannot be names its box or the Calculate list; any other
// failure is the run's numbered error.
std::variant<ValidationFailure, engine::NumberedError, LoanResult>
calculateLoan(const Loan& loan, const LoanRows& rows, bool suppressFuture, QDate today);
