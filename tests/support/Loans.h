#pragma once

// The one way tests make a loan without a window: typed values, and the loan
// layer's own calculation of them.
#include "CalculateLoan.h"
#include "Loan.h"
#include "LocaleText.h"

#include <QDate>
#include <QString>

#include <variant>
#include <vector>

struct SampleLoan {
    QString description = QStringLiteral("Loan");
    double amount = 100000.0;
    double ratePercent = 6.0;
    int term = 30;
    engine::TermUnit unit = engine::TermUnit::Years;
    engine::PaymentFrequency frequency = engine::PaymentFrequency::Monthly;
    QDate firstPayment{2024, 1, 15};
};

inline Loan typedLoan(const SampleLoan& s)
{
    Loan loan;
    loan.description = s.description;
    loan.firstPaymentDate = s.firstPayment;
    loan.loanAmount = s.amount;
    loan.annualRatePercent = s.ratePercent;
    loan.term = s.term;
    loan.termUnit = s.unit;
    loan.frequency = s.frequency;
    return loan;
}

// The loan calculated as Calculate calculates it; a failure stops the test.
inline LoanResult calculated(const SampleLoan& s, const std::vector<ExtraPaymentRow>& extras = {},
                             const std::vector<RateChangeRow>& rates = {}, QDate today = QDate(2024, 1, 10))
{
    auto outcome = calculateLoan(typedLoan(s), {extras, rates, {}}, false, today);
    if (auto* result = std::get_if<LoanResult>(&outcome))
        return std::move(*result);
    qFatal("the sample loan was not calculated");
}
