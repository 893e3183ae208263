#pragma once

// The loans the crash saver writes: version n of a loan carries n in its
// description, in every extra payment and in its rate change.
#include "LoanStore.h"
#include "Loans.h"

inline Loan crashLoan(int version)
{
    return typedLoan(SampleLoan{QStringLiteral("v%1").arg(version), 1000.0 + version});
}

inline std::vector<ExtraPaymentRow> crashExtraPayments(int version, int count)
{
    std::vector<ExtraPaymentRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({i % 2 ? engine::ExtraPaymentKind::Repeating : engine::ExtraPaymentKind::LumpSum,
                        QDate(2024, 2, 1), QDate(2025, 3, 1), double(version)});
    return rows;
}

inline std::vector<RateChangeRow> crashRateChanges(int version)
{
    return {{QDate(2030, 1, 15), double(version), engine::RateChangeMode::NewPayment}};
}
