#pragma once

#include "LoanRecord.h"
#include "NumberedError.h"

#include <variant>

class StoreConnection;

// Reading loans from the store: see LoanStore for what each returns.
namespace LoanReading {

LoanList listLoans(const StoreConnection& store);
std::variant<LoanRecord, engine::NumberedError> readLoan(const StoreConnection& store, int key);
ExtraPaymentList readExtraPayments(const StoreConnection& store, int key);

}  // namespace LoanReading
