#pragma once

#include "ExtraPaymentRow.h"
#include "RateChangeRow.h"
#include "SkippedPaymentRow.h"

#include <vector>

// The rows a loan has beside its own values, each edited in a table of its own.
struct LoanRows {
    std::vector<ExtraPaymentRow> extraPayments;
    std::vector<RateChangeRow> rateChanges;
    std::vector<SkippedPaymentRow> skippedPayments;
};
