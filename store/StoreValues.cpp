#include "StoreValues.h"

#include "LocaleText.h"
#include "Schedule.h"
#include "Loan.h"
#include "WholeNumbers.h"

#include <cmath>
#include <limits>

namespace StoreValues {

namespace {

StoreError typeMismatch(const QString& what, const QString& text)
{
    return {StoreErrorNumber::TypeMismatch, QStringLiteral("Type mismatch: %1 \"%2\" cannot be converted.").arg(what, text)};
}

QVariant isoText(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

}  // namespace

// SQLite's dynamic typing lets any value sit in any column: only real numbers count.
std::optional<double> numberValue(const QVariant& value)
{
    if (value.isNull()) return std::nullopt;
    bool ok = false;
    double number = 0.0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::ULongLong:
    case QMetaType::UInt:
        number = value.toDouble(&ok);
        break;
    default:
        number = value.toString().trimmed().toDouble(&ok);  // C form, as SQLite writes numbers
        break;
    }
    if (!ok || !std::isfinite(number)) return std::nullopt;
    return number;
}

std::optional<int> intValue(const QVariant& value)
{
    const auto number = numberValue(value);
    if (!number || *number != std::floor(*number) || *number < std::numeric_limits<int>::min() ||
        *number > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*number);
}

std::optional<QDate> isoDate(const QVariant& value)
{
    if (value.isNull()) return std::nullopt;
    const QDate date = QDate::fromString(value.toString().trimmed(), Qt::ISODate);
    if (!date.isValid()) return std::nullopt;
    return date;
}

std::variant<LoanValues, StoreError> convertLoan(const LoanRecordTexts& loan)
{
    LoanValues values;
    values.description = loan.description;
    if (!loan.startDate.isValid())
        return StoreError{StoreErrorNumber::TypeMismatch, QStringLiteral("Type mismatch: the date of first payment is not a date.")};
    values.startDate = isoText(loan.startDate);

    if (loan.origAmount.trimmed().isEmpty()) {
        // Only a payment was given: store the loan amount a run derives from it,
        // so the loan reopens with the same figures.
        LoanInputs inputs;
        inputs.paymentAmount = loan.paymentAmount;
        inputs.interestRate = loan.interestRate;
        inputs.term = loan.term;
        inputs.termType = loan.termType;
        inputs.frequency = loan.frequency;
        inputs.startDate = loan.startDate;
        if (!LocaleText::readNumber(loan.paymentAmount))
            return typeMismatch(QStringLiteral("the payment amount"), loan.paymentAmount);
        const auto derived = engine::effectiveLoanAmount(engineTerms(loanForRun(inputs)));
        if (const auto* error = std::get_if<engine::NumberedError>(&derived))
            return StoreError{error->number,
                              QStringLiteral("The loan amount cannot be derived from the payment: ") +
                                  QString::fromStdString(error->description)};
        values.origAmount = std::get<double>(derived);
    } else {
        const auto amount = LocaleText::readNumber(loan.origAmount);
        if (!amount) return typeMismatch(QStringLiteral("the loan amount"), loan.origAmount);
        values.origAmount = *amount;
    }

    const auto rate = LocaleText::readNumber(loan.interestRate);
    if (!rate) return typeMismatch(QStringLiteral("the interest rate"), loan.interestRate);
    values.interestRate = *rate;

    const auto term = LocaleText::readNumber(loan.term);
    if (!term) return typeMismatch(QStringLiteral("the term"), loan.term);
    const double whole = engine::roundHalfEven(*term);
    if (whole < std::numeric_limits<int>::min() || whole > std::numeric_limits<int>::max())
        return StoreError{StoreErrorNumber::Overflow, QStringLiteral("Overflow: the term %1 is too large.").arg(loan.term.trimmed())};
    values.term = int(whole);
    values.termType = loan.termType;
    values.frequency = loan.frequency;
    return values;
}

std::variant<std::vector<ExtraPaymentValues>, StoreError> convertExtraPayments(
    const std::vector<ExtraPaymentTexts>& rows)
{
    std::vector<ExtraPaymentValues> out;
    out.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ExtraPaymentTexts& row = rows[i];
        const QString which = QStringLiteral(" of extra payment %1").arg(i + 1);
        ExtraPaymentValues values;
        const bool lumpSum = row.type == QLatin1String("L");
        values.paymentType = lumpSum ? 0 : 1;

        if (lumpSum) {
            values.endDate = QVariant(QMetaType::fromType<QString>());  // NULL
        } else {
            const auto stop = LocaleText::readShortDate(row.stop);
            if (!stop) return typeMismatch(QStringLiteral("the stop date") + which, row.stop);
            values.endDate = isoText(*stop);
        }
        const auto start = LocaleText::readShortDate(row.start);
        if (!start) return typeMismatch(QStringLiteral("the start date") + which, row.start);
        values.startDate = isoText(*start);

        const auto amount = LocaleText::readNumber(row.amount);
        if (!amount) return typeMismatch(QStringLiteral("the amount") + which, row.amount);
        values.amount = *amount;
        out.push_back(values);
    }
    return out;
}

}  // namespace StoreValues
