#pragma once

#include "LoanRecord.h"
#include "StoreError.h"

#include <QDate>
#include <QVariant>

#include <optional>
#include <variant>
#include <vector>

// Conversions between the window's texts and the typed columns of the store.
namespace StoreValues {

// One loan row, every text converted before anything is written.
struct LoanValues {
    QVariant description, startDate, origAmount, interestRate, term, termType, frequency;
};

struct ExtraPaymentValues {
    QVariant paymentType, endDate, startDate, amount;
};

// A text that does not convert is error 13 naming the value; a blank loan
// amount becomes the amount a run derives from the payment.
std::variant<LoanValues, StoreError> convertLoan(const LoanRecordTexts& loan);
std::variant<std::vector<ExtraPaymentValues>, StoreError> convertExtraPayments(
    const std::vector<ExtraPaymentTexts>& rows);

// Column values read back; empty when NULL or unusable.
std::optional<double> numberValue(const QVariant& value);
std::optional<int> intValue(const QVariant& value);
std::optional<QDate> isoDate(const QVariant& value);

}  // namespace StoreValues
