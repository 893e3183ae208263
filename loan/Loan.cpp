#include "Loan.h"

#include "LocaleText.h"
#include "Schedule.h"
#include "ValidateLoan.h"
#include "WholeNumbers.h"

#include <limits>

std::optional<engine::TermUnit> termUnitAtPosition(int position)
{
    if (position < 0)
        return std::nullopt;
    return engine::termUnitAt(position);
}

int listPosition(std::optional<engine::TermUnit> unit)
{
    return unit ? int(*unit) : -1;
}

int listPosition(std::optional<engine::PaymentFrequency> frequency)
{
    return frequency ? int(*frequency) : -1;
}

Loan loanForRun(const LoanInputs& in)
{
    Loan loan;
    loan.description = in.description;
    loan.firstPaymentDate = in.startDate;
    if (!in.loanAmount.trimmed().isEmpty())
        loan.loanAmount = LocaleText::readNumber(in.loanAmount);
    loan.paymentAmount = LocaleText::readNumber(in.paymentAmount).value_or(0.0);
    loan.annualRatePercent = LocaleText::readNumber(in.interestRate).value_or(0.0);
    loan.term = wholeTerm(in.term);
    loan.termUnit = termUnitAtPosition(in.termType);
    loan.frequency = engine::frequencyAt(in.frequency);
    loan.calculate = in.calculate;
    return loan;
}

engine::LoanTerms engineTerms(const Loan& loan)
{
    engine::LoanTerms terms;
    terms.description = loan.description.toStdString();
    terms.loanAmount = loan.loanAmount;
    terms.paymentAmount = loan.paymentAmount;
    terms.annualRatePercent = loan.annualRatePercent;
    terms.term = loan.term;
    terms.termUnit = loan.termUnit.value_or(engine::TermUnit::Years);
    terms.frequency = loan.frequency;
    if (loan.firstPaymentDate.isValid())
        terms.firstPaymentDate = LocaleText::toYmd(loan.firstPaymentDate);
    return terms;
}

namespace {

engine::NumberedError typeMismatch(const QString& what, const QString& text)
{
    return {engine::ErrorNumber::TypeMismatch,
            QStringLiteral("Type mismatch: %1 \"%2\" cannot be converted.").arg(what, text).toStdString()};
}

}  // namespace

std::variant<Loan, engine::NumberedError> loanForSaving(const LoanInputs& in)
{
    Loan loan;
    loan.description = in.description;
    if (!in.startDate.isValid())
        return engine::NumberedError{engine::ErrorNumber::TypeMismatch,
                                     "Type mismatch: the date of first payment is not a date."};
    loan.firstPaymentDate = in.startDate;

    if (in.loanAmount.trimmed().isEmpty()) {
        if (!LocaleText::readNumber(in.paymentAmount))
            return typeMismatch(QStringLiteral("the payment amount"), in.paymentAmount);
        const auto derived = engine::effectiveLoanAmount(engineTerms(loanForRun(in)));
        if (const auto* error = std::get_if<engine::NumberedError>(&derived))
            return engine::NumberedError{error->number,
                                         "The loan amount cannot be derived from the payment: " + error->description};
        loan.loanAmount = std::get<double>(derived);
    } else {
        loan.loanAmount = LocaleText::readNumber(in.loanAmount);
        if (!loan.loanAmount)
            return typeMismatch(QStringLiteral("the loan amount"), in.loanAmount);
    }
    loan.paymentAmount = LocaleText::readNumber(in.paymentAmount).value_or(0.0);

    const auto rate = LocaleText::readNumber(in.interestRate);
    if (!rate)
        return typeMismatch(QStringLiteral("the interest rate"), in.interestRate);
    loan.annualRatePercent = *rate;

    const auto term = LocaleText::readNumber(in.term);
    if (!term)
        return typeMismatch(QStringLiteral("the term"), in.term);
    const double whole = engine::roundHalfEven(*term);
    if (whole < std::numeric_limits<int>::min() || whole > std::numeric_limits<int>::max())
        return engine::NumberedError{engine::ErrorNumber::Overflow,
                                     QStringLiteral("Overflow: the term %1 is too large.")
                                         .arg(in.term.trimmed())
                                         .toStdString()};
    loan.term = int(whole);
    loan.termUnit = termUnitAtPosition(in.termType);
    loan.frequency = engine::frequencyAt(in.frequency);
    return loan;
}
