#include "ValidateLoan.h"

#include "LocaleText.h"
#include "Money.h"
#include "WholeNumbers.h"

#include <QLocale>

#include <cmath>

namespace {

using State = NumberEntry::State;

ValidationFailure failed(LoanField field, const QString& message, int wholeTerm = 0)
{
    return {message, field, false, wholeTerm, -1};
}

bool blank(const NumberEntry& entry)
{
    return entry.state == State::Blank;
}

// An amount's checks: entered as a number, not too large, above zero once
// rounded to cents as a run reads it.
std::optional<ValidationFailure> amountProblem(const NumberEntry& entry, LoanField field, int wholeTerm)
{
    const bool loan = field == LoanField::LoanAmount;
    const QString name = loan ? QStringLiteral("Loan Amount") : QStringLiteral("Payment Amount");
    if (entry.state == State::NotANumber || entry.state == State::TooLarge)
        return failed(field, entryRefusal(entry, QStringLiteral("The %1 must be numeric.").arg(name), name), wholeTerm);
    if (engine::roundToCents(entry.value) <= 0.0)
        return failed(field, QStringLiteral("%1 must be greater than $0.00.").arg(name), wholeTerm);
    return std::nullopt;
}

// Solving for the rate or the term: both amounts entered, numeric and above zero.
std::optional<ValidationFailure> bothAmounts(const LoanDraft& in, const QString& unknown, int wholeTerm)
{
    for (auto [entry, field] : {std::pair{&in.loanAmount, LoanField::LoanAmount},
                                std::pair{&in.paymentAmount, LoanField::PaymentAmount}}) {
        if (blank(*entry))
            return failed(field,
                          QStringLiteral("The %1 must be entered to calculate the %2.")
                              .arg(field == LoanField::LoanAmount ? QStringLiteral("Loan Amount")
                                                                  : QStringLiteral("Payment Amount"),
                                   unknown),
                          wholeTerm);
        if (auto problem = amountProblem(*entry, field, wholeTerm))
            return problem;
    }
    return std::nullopt;
}

// True when the term ends before its first payment falls due (1 month paid
// quarterly): the run would divide by a count of 0 payments. A term too long
// to count is left to the run, which reports the overflow.
bool termHoldsNoPayment(const LoanDraft& in, int whole)
{
    engine::LoanTerms terms;
    terms.term = whole;
    terms.termUnit = engine::termUnitAt(in.termType);
    terms.frequency = engine::frequencyAt(in.frequency);
    const QDate start = in.firstPaymentDate.isValid() ? in.firstPaymentDate : QDate(2000, 1, 1);
    terms.firstPaymentDate = LocaleText::toYmd(start);
    try {
        return terms.frequency && engine::numberOfPayments(terms) == 0;
    } catch (const engine::EngineFailure&) {
        return false;
    }
}

QString noPaymentMessage(const LoanDraft& in, int whole)
{
    const bool months = in.termType == int(engine::TermUnit::Months);
    const QString unit = months ? (whole == 1 ? QStringLiteral("month") : QStringLiteral("months"))
                                : (whole == 1 ? QStringLiteral("year") : QStringLiteral("years"));
    const auto text = engine::kFrequencyTexts[std::size_t(in.frequency)];
    return QStringLiteral("A Payment Term of %1 %2 is shorter than one payment period (%3), so there would be no "
                          "payments. Enter a longer Payment Term.")
        .arg(QLocale().toString(whole), unit, QString::fromUtf8(text.data(), qsizetype(text.size())));
}

// An optional number box: blank is 0; otherwise a number, not negative.
std::optional<ValidationFailure> optionalNumber(const NumberEntry& entry, LoanField field, const QString& name,
                                                int wholeTerm, double& value)
{
    value = 0.0;
    if (entry.isBlank())
        return std::nullopt;
    if (!entry.number())
        return failed(field, entryRefusal(entry, QStringLiteral("%1 must be numeric.").arg(name), name), wholeTerm);
    if (entry.value < 0.0)
        return failed(field, QStringLiteral("%1 cannot be a negative number.").arg(name), wholeTerm);
    value = entry.value;
    return std::nullopt;
}

// An optional count of payments: blank is 0, otherwise a whole number.
std::optional<ValidationFailure> optionalCount(const NumberEntry& entry, LoanField field, const QString& name,
                                               int wholeTerm, int& value)
{
    double number = 0.0;
    if (auto problem = optionalNumber(entry, field, name, wholeTerm, number))
        return problem;
    if (number != std::floor(number) || !engine::fitsSixteenBits(number))
        return failed(field, QStringLiteral("%1 must be a whole number of payments.").arg(name), wholeTerm);
    value = int(number);
    return std::nullopt;
}

// What the lender charges beside the interest, and the loan's shape: each optional.
std::optional<ValidationFailure> chargesAndShape(const LoanDraft& in, Loan& loan, int whole)
{
    if (auto problem = optionalNumber(in.fees, LoanField::Fees, QStringLiteral("Fees"), whole, loan.fees))
        return problem;
    if (loan.loanAmount && engine::roundToCents(loan.fees) >= engine::roundToCents(*loan.loanAmount))
        return failed(LoanField::Fees, QStringLiteral("Fees must be less than the Loan Amount."), whole);
    if (auto problem = optionalNumber(in.points, LoanField::Points, QStringLiteral("Points"), whole, loan.pointsPercent))
        return problem;
    if (loan.pointsPercent >= 100.0)
        return failed(LoanField::Points, QStringLiteral("Points must be less than 100 % of the Loan Amount."), whole);
    if (in.loanDate.isValid() && in.loanDate >= in.firstPaymentDate)
        return failed(LoanField::LoanDate, QStringLiteral("Loan Date must be before the Date of First Payment."), whole);
    if (in.loanDate.isValid())
        loan.loanDate = in.loanDate;
    if (auto problem = optionalCount(in.interestOnly, LoanField::InterestOnly, QStringLiteral("Interest Only"), whole,
                                     loan.interestOnlyPayments))
        return problem;
    return optionalCount(in.balloonAfter, LoanField::BalloonAfter, QStringLiteral("Balloon After"), whole,
                         loan.balloonAfter);
}

}  // namespace

std::variant<Loan, ValidationFailure> validateLoan(const LoanDraft& in)
{
    if (in.description.trimmed().isEmpty())
        return failed(LoanField::Description, QStringLiteral("Loan Description must be entered."));
    if (in.frequency < 0)
        return failed(LoanField::Frequency, QStringLiteral("Payment frequency must be selected."));
    const bool solvingRate = in.choice == CalculateChoice::InterestRate;
    const bool solvingTerm = in.choice == CalculateChoice::Term;
    if (!solvingRate) {
        if (blank(in.interestRate))
            return failed(LoanField::InterestRate, QStringLiteral("Interest rate must be entered."));
        if (!in.interestRate.number())
            return failed(LoanField::InterestRate,
                          entryRefusal(in.interestRate, QStringLiteral("Interest rate must be numeric."),
                                       QStringLiteral("Interest rate")));
        if (in.interestRate.value < 0.0)
            return failed(LoanField::InterestRate, QStringLiteral("Interest rate cannot be a negative number."));
    }
    if (in.termType < 0)
        return failed(LoanField::TermType, QStringLiteral("Payment term type must be selected."));

    Loan loan;
    loan.description = in.description;
    loan.firstPaymentDate = in.firstPaymentDate;
    loan.frequency = engine::frequencyAt(in.frequency);
    loan.termUnit = termUnitAtPosition(in.termType);
    loan.annualRatePercent = in.interestRate.number().value_or(0.0);
    loan.choice = in.choice;
    loan.compounding = engine::compoundingAt(in.compounding).value_or(engine::Compounding::AsPayments);

    int whole = 0;
    if (!solvingTerm) {
        if (blank(in.term))
            return failed(LoanField::Term, QStringLiteral("Payment term must be entered."));
        if (!in.term.number())
            return failed(LoanField::Term, QStringLiteral("Payment Term must be numeric."));
        const double rounded = engine::roundHalfEven(in.term.value);
        if (!engine::fitsSixteenBits(rounded)) {
            ValidationFailure overflow = failed(LoanField::Term, QString::fromStdString(engine::overflowError().text()));
            overflow.isError = true;
            return overflow;
        }
        if (rounded <= 0.0)
            return failed(LoanField::Term, QStringLiteral("Payment term must be greater than 0."));
        whole = int(rounded);
        if (termHoldsNoPayment(in, whole))
            return failed(LoanField::Term, noPaymentMessage(in, whole));
    }
    // From here on the term has passed: its whole value goes back into the
    // term box whatever the amounts hold.
    loan.term = whole;
    if (solvingRate || solvingTerm) {
        if (auto problem = bothAmounts(in, solvingRate ? QStringLiteral("Interest Rate") : QStringLiteral("Term"), whole))
            return *problem;
        loan.loanAmount = in.loanAmount.value;
        loan.paymentAmount = in.paymentAmount.value;
        if (auto problem = chargesAndShape(in, loan, whole))
            return *problem;
        return loan;
    }
    // "Loan amount" derives it from the payment, whatever its box holds.
    const bool loanBlank = blank(in.loanAmount) || in.choice == CalculateChoice::LoanAmount;
    if (loanBlank && blank(in.paymentAmount))
        return failed(LoanField::LoanAmount, QStringLiteral("A Loan Amount or Payment Amount must be entered."), whole);
    const auto& given = loanBlank ? in.paymentAmount : in.loanAmount;
    if (auto problem = amountProblem(given, loanBlank ? LoanField::PaymentAmount : LoanField::LoanAmount, whole))
        return *problem;
    if (loanBlank) {
        loan.paymentAmount = in.paymentAmount.value;
    } else {
        loan.loanAmount = in.loanAmount.value;
        loan.paymentAmount = in.paymentAmount.number().value_or(0.0);
    }
    if (auto problem = chargesAndShape(in, loan, whole))
        return *problem;
    return loan;
}
