#pragma once

#include "ExtraPaymentRow.h"
#include "LoanInputs.h"
#include "LoanResult.h"
#include "NumberedError.h"
#include "ValidateLoan.h"

#include <QDate>

#include <variant>
#include <vector>

// The one way from a window's inputs to a result: validation, conversion to
// the typed loan, and the engine's run. Hands back the first failed check
// (message, field, whole term), the run's numbered error, or the result.
std::variant<ValidationFailure, engine::NumberedError, LoanResult>
calculateLoan(const LoanInputs& inputs, const std::vector<ExtraPaymentRow>& extraPayments, bool suppressFuture,
              QDate today);
