#pragma once

#include "ExtraPaymentRow.h"
#include "LoanInputs.h"
#include "LoanResult.h"
#include "NumberedError.h"
#include "RateChangeRow.h"
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

// The same with rate changes and whatever inputs.calculate asks for. A
// solve that finds nothing names the payment box; a rate change the run
// cannot follow (two on one date, or a "Same payment" change under which
// the payment does not exceed the interest) names the change in
// ValidationFailure::rateChange. The rate or term found is written back into
// the inputs in the user's number format, the rate with the fewest decimals
// that give the typed payment to the cent.
std::variant<ValidationFailure, engine::NumberedError, LoanResult>
calculateLoan(const LoanInputs& inputs, const std::vector<ExtraPaymentRow>& extraPayments,
              const std::vector<RateChangeRow>& rateChanges, bool suppressFuture, QDate today);
