#include "CalculateLoan.h"

#include "LocaleText.h"

namespace {

using Outcome = std::variant<ValidationFailure, engine::NumberedError, LoanResult>;

ValidationFailure onPayment(const QString& message)
{
    return {message, LoanField::PaymentAmount, 0, -1};
}

QString rateText(double percent)
{
    return LocaleText::plainNumberText(percent) + QStringLiteral(" %");
}

ValidationFailure solveMessage(engine::SolveFailure failure, const engine::LoanTerms& terms)
{
    const QString payment = LocaleText::currencyText(terms.paymentAmount);
    const QString loan = LocaleText::currencyText(terms.loanAmount.value_or(0.0));
    switch (failure) {
    case engine::SolveFailure::NoRate:
        return onPayment(QStringLiteral("No interest rate of 0 % or more gives a Payment Amount of %1 on a Loan Amount "
                                        "of %2 over this term: even without interest the payment is larger.")
                             .arg(payment, loan));
    case engine::SolveFailure::NoRateToTheCent:
        return onPayment(QStringLiteral("No interest rate with up to 8 decimals gives a Payment Amount of exactly %1 "
                                        "on a Loan Amount of %2; change the payment by a cent.")
                             .arg(payment, loan));
    case engine::SolveFailure::PaymentNotAboveInterest:
        return onPayment(QStringLiteral("The Payment Amount %1 does not exceed the interest of the first period on a "
                                        "Loan Amount of %2, so the loan would never be repaid.")
                             .arg(payment, loan));
    }
    return onPayment(QString());
}

ValidationFailure rateChangeMessage(const engine::RateChangeFailure& failure,
                                    const std::vector<RateChangeRow>& rows)
{
    const RateChangeRow& row = rows.at(failure.change);
    const QString date = LocaleText::shortDateText(row.from);
    if (failure.reason == engine::RateChangeFailure::Reason::SameDate)
        return {QStringLiteral("Rate changes %1 and %2 both apply from %3; keep one of them.")
                    .arg(failure.otherChange + 1)
                    .arg(failure.change + 1)
                    .arg(date),
                LoanField::InterestRate, 0, int(failure.change)};
    QString message =
        QStringLiteral("Under rate change %1 (%2 from %3, \"%4\") the payment of %5 does not exceed the interest of %6 "
                       "due with payment %7 on %8%9, so the balance would never fall. Give that change \"%10\" or a "
                       "lower rate.")
            .arg(failure.change + 1)
            .arg(rateText(row.annualPercent), date, rateChangeModeText(row.mode),
                 LocaleText::currencyText(failure.payment), LocaleText::currencyText(failure.interest))
            .arg(failure.paymentNumber)
            .arg(LocaleText::shortDateText(LocaleText::toQDate(failure.dueDate)),
                 failure.withoutExtraPayments ? QStringLiteral(" without the extra payments") : QString(),
                 rateChangeModeText(engine::RateChangeMode::NewPayment));
    return {message, LoanField::PaymentAmount, 0, int(failure.change)};
}

}  // namespace

Outcome calculateLoan(const LoanInputs& inputs, const std::vector<ExtraPaymentRow>& extraPayments, bool suppressFuture,
                      QDate today)
{
    return calculateLoan(inputs, extraPayments, {}, suppressFuture, today);
}

Outcome calculateLoan(const LoanInputs& inputs, const std::vector<ExtraPaymentRow>& extraPayments,
                      const std::vector<RateChangeRow>& rateChanges, bool suppressFuture, QDate today)
{
    const ValidationResult checked = validateLoan(inputs);
    if (!checked.ok)
        return ValidationFailure{checked.message, checked.field, checked.wholeTerm, -1};
    if (const auto problem = rateChangeRowsProblem(rateChanges))
        return ValidationFailure{problem->message, LoanField::InterestRate, checked.wholeTerm, problem->row};

    LoanResult result;
    result.loan = loanForRun(inputs);
    result.today = today;
    result.rateChanges = rateChanges;
    const engine::LoanTerms terms = engineTerms(result.loan);
    engine::LoanRun run;
    run.extraPayments = engineExtraPayments(extraPayments);
    run.rateChanges = engineRateChanges(rateChanges);
    run.calculate = inputs.calculate;
    run.suppressFuture = suppressFuture;
    run.today = LocaleText::toYmd(today);
    auto outcome = engine::runLoan(terms, run);
    if (auto* error = std::get_if<engine::NumberedError>(&outcome))
        return std::move(*error);
    if (const auto* failure = std::get_if<engine::SolveFailure>(&outcome)) {
        ValidationFailure message = solveMessage(*failure, terms);
        message.wholeTerm = checked.wholeTerm;
        return message;
    }
    if (const auto* failure = std::get_if<engine::RateChangeFailure>(&outcome)) {
        ValidationFailure message = rateChangeMessage(*failure, rateChanges);
        message.wholeTerm = checked.wholeTerm;
        return message;
    }
    if (std::holds_alternative<engine::ShapeFailure>(outcome)) {
        // Only the accelerated frequencies reach the engine as a shape so far.
        const auto frequency = engine::kFrequencyTexts[std::size_t(inputs.frequency)];
        return ValidationFailure{QStringLiteral("The interest rate or the term cannot be solved for with %1 payments.")
                                     .arg(QString::fromUtf8(frequency.data(), qsizetype(frequency.size()))),
                                 LoanField::Frequency, checked.wholeTerm, -1};
    }
    result.schedule = std::move(std::get<engine::ScheduleResult>(outcome));

    result.inputs = inputs;
    result.inputs.term = QString::number(checked.wholeTerm);
    if (result.schedule.solvedRate) {
        result.loan.annualRatePercent = result.schedule.annualRatePercent;
        result.inputs.interestRate = LocaleText::plainNumberText(result.schedule.annualRatePercent);
    }
    if (result.schedule.solvedTerm) {
        result.loan.term = result.schedule.term;
        result.inputs.term = QString::number(result.schedule.term);
    }
    result.inputs.loanAmount = LocaleText::currencyText(result.schedule.loanAmount);
    result.inputs.paymentAmount = LocaleText::currencyText(result.schedule.payment);
    return result;
}
