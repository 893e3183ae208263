#include "Loan.h"

#include "LocaleText.h"
#include "Schedule.h"

engine::Unknown unknownOf(CalculateChoice choice)
{
    switch (choice) {
    case CalculateChoice::InterestRate: return engine::Unknown::InterestRate;
    case CalculateChoice::Term: return engine::Unknown::Term;
    case CalculateChoice::Payment:
    case CalculateChoice::LoanAmount: break;
    }
    return engine::Unknown::PaymentOrLoanAmount;
}

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
    terms.compounding = loan.compounding;
    terms.interestOnlyPayments = loan.interestOnlyPayments;
    terms.balloonAfter = loan.balloonAfter;
    if (loan.firstPaymentDate.isValid())
        terms.firstPaymentDate = LocaleText::toYmd(loan.firstPaymentDate);
    return terms;
}

std::variant<Loan, engine::NumberedError> loanForSaving(const Loan& loan)
{
    if (!loan.firstPaymentDate.isValid())
        return engine::NumberedError{engine::ErrorNumber::TypeMismatch,
                                     "Type mismatch: the date of first payment is not a date."};
    if (loan.loanAmount)
        return loan;
    const auto derived = engine::effectiveLoanAmount(engineTerms(loan));
    if (const auto* error = std::get_if<engine::NumberedError>(&derived))
        return engine::NumberedError{error->number,
                                     "The loan amount cannot be derived from the payment: " + error->description};
    Loan saved = loan;
    saved.loanAmount = std::get<double>(derived);
    return saved;
}
