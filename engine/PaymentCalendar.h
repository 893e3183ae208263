#pragma once

#include "LoanTerms.h"

namespace engine {

// Due date of payment `number` (1 = the first payment date itself), computed
// afresh from the first payment date so month ends are kept. Throws
// EngineFailure on 16-bit overflow or a date past the year 9999.
Date nextPaymentDate(PaymentFrequency frequency, int number, Date firstPaymentDate);

}  // namespace engine
