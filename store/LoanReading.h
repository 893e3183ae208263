#pragma once

#include "LoanRecord.h"
#include "NumberedError.h"

#include <variant>

class StoreConnection;

// Reading loans from the store: see LoanStore for what each returns.
namespace LoanReading {

// The longest description read: anything longer is no description a person
// typed, and reading it whole would hold the program for seconds.
inline constexpr qlonglong kLongestDescription = 1'000'000;

LoanList listLoans(const StoreConnection& store);
std::variant<LoanRecord, engine::NumberedError> readLoan(const StoreConnection& store, int key);
ExtraPaymentList readExtraPayments(const StoreConnection& store, int key);
RateChangeList readRateChanges(const StoreConnection& store, int key);
SkippedPaymentList readSkippedPayments(const StoreConnection& store, int key);

}  // namespace LoanReading
