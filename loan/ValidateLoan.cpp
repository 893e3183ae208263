#include "ValidateLoan.h"

#include "LocaleText.h"
#include "Money.h"
#include "NumberedError.h"
#include "LoanTerms.h"
#include "WholeNumbers.h"

#include <QLocale>

namespace {

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

// An amount rounded to cents the way a run reads it.
bool positiveAmount(const QString& text)
{
    const auto value = LocaleText::readNumber(text);
    return value && engine::roundToCents(*value) > 0.0;
}

ValidationResult failed(LoanField field, const QString& message)
{
    ValidationResult result;
    result.field = field;
    result.message = message;
    return result;
}

// Solving for the rate or the term: both amounts entered, numeric and above zero.
ValidationResult bothAmounts(const LoanInputs& in, const QString& unknown, int whole)
{
    auto amountFailed = [whole](LoanField field, const QString& message) {
        ValidationResult result = failed(field, message);
        result.wholeTerm = whole;
        return result;
    };
    if (isBlank(in.loanAmount))
        return amountFailed(LoanField::LoanAmount,
                            QStringLiteral("The Loan Amount must be entered to calculate the %1.").arg(unknown));
    if (!LocaleText::readNumber(in.loanAmount))
        return amountFailed(LoanField::LoanAmount, QStringLiteral("The Loan Amount must be numeric."));
    if (!positiveAmount(in.loanAmount))
        return amountFailed(LoanField::LoanAmount, QStringLiteral("Loan Amount must be greater than $0.00."));
    if (isBlank(in.paymentAmount))
        return amountFailed(LoanField::PaymentAmount,
                            QStringLiteral("The Payment Amount must be entered to calculate the %1.").arg(unknown));
    if (!LocaleText::readNumber(in.paymentAmount))
        return amountFailed(LoanField::PaymentAmount, QStringLiteral("The Payment Amount must be numeric."));
    if (!positiveAmount(in.paymentAmount))
        return amountFailed(LoanField::PaymentAmount, QStringLiteral("Payment Amount must be greater than $0.00."));
    ValidationResult ok;
    ok.ok = true;
    ok.wholeTerm = whole;
    return ok;
}

// True when the term ends before its first payment falls due (1 month paid
// quarterly): the run would divide by a count of 0 payments. A term too long
// to count is left to the run, which reports the overflow.
bool termHoldsNoPayment(const LoanInputs& in, int whole)
{
    engine::LoanTerms terms;
    terms.term = whole;
    terms.termUnit = engine::termUnitAt(in.termType);
    terms.frequency = engine::frequencyAt(in.frequency);
    const QDate start = in.startDate.isValid() ? in.startDate : QDate(2000, 1, 1);
    terms.firstPaymentDate = engine::Date{std::chrono::year(start.year()), std::chrono::month(unsigned(start.month())),
                                          std::chrono::day(unsigned(start.day()))};
    try {
        return terms.frequency && engine::numberOfPayments(terms) == 0;
    } catch (const engine::EngineFailure&) {
        return false;
    }
}

QString noPaymentMessage(const LoanInputs& in, int whole)
{
    const QString unit = in.termType == int(engine::TermUnit::Months) ? (whole == 1 ? QStringLiteral("month")
                                                                                     : QStringLiteral("months"))
                                                                       : (whole == 1 ? QStringLiteral("year")
                                                                                     : QStringLiteral("years"));
    const QString frequency = QString::fromUtf8(engine::kFrequencyTexts[std::size_t(in.frequency)].data(),
                                                qsizetype(engine::kFrequencyTexts[std::size_t(in.frequency)].size()));
    return QStringLiteral("A Payment Term of %1 %2 is shorter than one payment period (%3), so there would be no "
                          "payments. Enter a longer Payment Term.")
        .arg(QLocale().toString(whole), unit, frequency);
}

}  // namespace

ValidationResult validateLoan(const LoanInputs& in)
{
    if (isBlank(in.description))
        return failed(LoanField::Description, QStringLiteral("Loan Description must be entered."));
    if (in.frequency < 0)
        return failed(LoanField::Frequency, QStringLiteral("Payment frequency must be selected."));
    const bool solvingRate = in.calculate == engine::Unknown::InterestRate;
    const bool solvingTerm = in.calculate == engine::Unknown::Term;
    if (!solvingRate) {
        if (isBlank(in.interestRate))
            return failed(LoanField::InterestRate, QStringLiteral("Interest rate must be entered."));
        const auto rate = LocaleText::readNumber(in.interestRate);
        if (!rate)
            return failed(LoanField::InterestRate, QStringLiteral("Interest rate must be numeric."));
        if (*rate / 100.0 < 0.0)
            return failed(LoanField::InterestRate, QStringLiteral("Interest rate cannot be a negative number."));
    }
    if (in.termType < 0)
        return failed(LoanField::TermType, QStringLiteral("Payment term type must be selected."));
    if (solvingTerm)
        return bothAmounts(in, QStringLiteral("Term"), 0);
    if (isBlank(in.term))
        return failed(LoanField::Term, QStringLiteral("Payment term must be entered."));
    const auto term = LocaleText::readNumber(in.term);
    if (!term)
        return failed(LoanField::Term, QStringLiteral("Payment Term must be numeric."));
    const double whole = engine::roundHalfEven(*term);
    if (!engine::fitsSixteenBits(whole)) {
        ValidationResult overflow = failed(LoanField::Term, QString::fromStdString(engine::overflowError().text()));
        overflow.isError = true;
        return overflow;
    }
    if (whole <= 0.0)
        return failed(LoanField::Term, QStringLiteral("Payment term must be greater than 0."));
    if (termHoldsNoPayment(in, int(whole)))
        return failed(LoanField::Term, noPaymentMessage(in, int(whole)));

    // From here on the term has passed: its whole value goes back into the
    // term box whatever the amounts hold.
    auto amountFailed = [whole](LoanField field, const QString& message) {
        ValidationResult result = failed(field, message);
        result.wholeTerm = int(whole);
        return result;
    };
    if (solvingRate)
        return bothAmounts(in, QStringLiteral("Interest Rate"), int(whole));
    const bool loanBlank = isBlank(in.loanAmount);
    if (loanBlank && isBlank(in.paymentAmount))
        return amountFailed(LoanField::LoanAmount,
                            QStringLiteral("A Loan Amount or Payment Amount must be entered."));
    if (!loanBlank) {
        if (!LocaleText::readNumber(in.loanAmount))
            return amountFailed(LoanField::LoanAmount, QStringLiteral("The Loan Amount must be numeric."));
        if (!positiveAmount(in.loanAmount))
            return amountFailed(LoanField::LoanAmount, QStringLiteral("Loan Amount must be greater than $0.00."));
    } else {
        if (!LocaleText::readNumber(in.paymentAmount))
            return amountFailed(LoanField::PaymentAmount, QStringLiteral("The Payment Amount must be numeric."));
        if (!positiveAmount(in.paymentAmount))
            return amountFailed(LoanField::PaymentAmount,
                                QStringLiteral("Payment Amount must be greater than $0.00."));
    }

    ValidationResult ok;
    ok.ok = true;
    ok.wholeTerm = int(whole);
    return ok;
}

int wholeTerm(const QString& term)
{
    const double whole = engine::roundHalfEven(LocaleText::readNumber(term).value_or(0.0));
    return engine::fitsSixteenBits(whole) ? int(whole) : 0;
}
