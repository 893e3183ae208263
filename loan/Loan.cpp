#include "Loan.h"

#include "LocaleText.h"
#include "ValidateLoan.h"

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
