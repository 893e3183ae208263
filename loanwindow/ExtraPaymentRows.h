#pragma once

#include "ExtraPayments.h"
#include "LoanRecord.h"

#include <QString>

#include <variant>
#include <vector>

// The extra payments table as the engine reads it: "L" rows give a date and an
// amount, "R" rows a start, a stop and an amount, any other type is ignored.
// A cell that does not convert is handed back as "number - description"
// naming the row and the cell, so the run can refuse to start.
std::variant<std::vector<engine::ExtraPayment>, QString>
toEngineExtraPayments(const std::vector<ExtraPaymentTexts>& rows);
