#pragma once

#include "Loan.h"
#include "LoanRecord.h"
#include "LoanRows.h"
#include "NumberedError.h"

#include <QByteArray>

#include <optional>
#include <variant>
#include <vector>

class StoreConnection;

// Writing loans to the store: see LoanStore for what each does.
namespace LoanSaving {

std::optional<engine::NumberedError> saveLoan(const StoreConnection& store, int& mode, int& key, const Loan& loan,
                                              const LoanRows& rows, SaveCheck* check);
std::optional<engine::NumberedError> deleteLoan(const StoreConnection& store, int key, SaveCheck* check);

// The loan's fingerprint as stored now, read inside the save's transaction;
// empty when it has no row.
std::variant<QByteArray, engine::NumberedError> storedFingerprint(const StoreConnection& store, int key);

}  // namespace LoanSaving
