#pragma once

#include "ExtraPaymentRow.h"
#include "Loan.h"
#include "LoanStore.h"
#include "LocaleText.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// A loan as a window's controls hold it when saving; the tests write stored
// loans through the same conversion a window's save uses.
struct LoanSaveTexts {
    QString description;
    QDate startDate;
    QString origAmount;     // may be blank: then the amount derived from the payment is stored
    QString paymentAmount;  // read only when origAmount is blank
    QString interestRate;
    QString term;
    int termType = 0;
    int frequency = 0;
};

inline Loan typedLoan(const LoanSaveTexts& t)
{
    const auto converted = loanForSaving(
        {t.description, t.frequency, t.interestRate, t.termType, t.term, t.origAmount, t.paymentAmount, t.startDate});
    if (const auto* error = std::get_if<engine::NumberedError>(&converted))
        qFatal("loanForSaving: %s", error->text().c_str());
    return std::get<Loan>(converted);
}

inline std::vector<ExtraPaymentRow> typedRows(const std::vector<ExtraPaymentTexts>& texts)
{
    const auto converted = extraPaymentRowsForSaving(texts);
    if (const auto* error = std::get_if<engine::NumberedError>(&converted))
        qFatal("extraPaymentRowsForSaving: %s", error->text().c_str());
    return std::get<std::vector<ExtraPaymentRow>>(converted);
}

// A stored number as the window's boxes show it ("90000", "6.5"); empty when NULL.
inline QString shownNumber(const std::optional<double>& value)
{
    return value ? LocaleText::plainNumberText(*value) : QString();
}

// Saves texts the way a window's save does: converted first (a text that does
// not convert stops the save with its numbered error before the store is
// touched), then stored.
inline std::optional<engine::NumberedError> saveTexts(LoanStore& store, int& mode, int& key, const LoanSaveTexts& t,
                                                      const std::vector<ExtraPaymentTexts>& extras, SaveCheck* check = nullptr,
                                                      const std::vector<RateChangeRow>& rateChanges = {})
{
    const auto loan = loanForSaving(
        {t.description, t.frequency, t.interestRate, t.termType, t.term, t.origAmount, t.paymentAmount, t.startDate});
    if (const auto* error = std::get_if<engine::NumberedError>(&loan))
        return *error;
    const auto rows = extraPaymentRowsForSaving(extras);
    if (const auto* error = std::get_if<engine::NumberedError>(&rows))
        return *error;
    return store.saveLoan(mode, key, std::get<Loan>(loan), std::get<std::vector<ExtraPaymentRow>>(rows), rateChanges,
                           check);
}
