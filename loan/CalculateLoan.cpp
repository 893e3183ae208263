#include "CalculateLoan.h"

#include "LocaleText.h"
#include "Money.h"

namespace {

using Outcome = std::variant<ValidationFailure, engine::NumberedError, LoanResult>;

ValidationFailure onPayment(const QString& message)
{
    return {message, LoanField::PaymentAmount, false, 0, -1};
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
                LoanField::InterestRate, false, 0, int(failure.change)};
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
    return {message, LoanField::PaymentAmount, false, 0, int(failure.change)};
}

QString shapeName(const engine::ShapeFailure& failure, const Loan& loan)
{
    switch (failure.shape) {
    case engine::Shape::AcceleratedPayments: {
        const auto text = engine::kFrequencyTexts[std::size_t(listPosition(loan.frequency))];
        return QString::fromUtf8(text.data(), qsizetype(text.size())) + QStringLiteral(" payments");
    }
    case engine::Shape::InterestOnly: return QStringLiteral("interest-only payments");
    case engine::Shape::Balloon: return QStringLiteral("a balloon");
    case engine::Shape::SkippedPayments: return QStringLiteral("skipped payments");
    case engine::Shape::LowerThePayment: return QStringLiteral("an extra payment that lowers the payment");
    }
    return {};
}

ValidationFailure shapeMessage(const engine::ShapeFailure& failure, const Loan& loan)
{
    const QString shape = shapeName(failure, loan);
    switch (failure.reason) {
    case engine::ShapeFailure::Reason::CannotSolve:
        return {QStringLiteral("The %1 cannot be calculated for a loan with %2: choose Payment or Loan amount.")
                    .arg(loan.choice == CalculateChoice::Term ? QStringLiteral("Term") : QStringLiteral("Interest Rate"),
                         shape),
                LoanField::Calculate, false, 0, -1};
    case engine::ShapeFailure::Reason::PaymentNotAboveInterest: {
        ValidationFailure stalls = onPayment(QStringLiteral("With %1 the payment of %2 does not exceed the interest of %3 due with payment "
                                        "%4 on %5%6, so the balance would never fall.")
                             .arg(shape, LocaleText::currencyText(failure.payment),
                                  LocaleText::currencyText(failure.interest))
                             .arg(failure.paymentNumber)
                             .arg(LocaleText::shortDateText(LocaleText::toQDate(failure.dueDate)),
                                  failure.withoutExtraPayments ? QStringLiteral(" without the extra payments")
                                                               : QString()));
        if (failure.shape == engine::Shape::SkippedPayments)
            stalls.skip = int(failure.skip);
        return stalls;
    }
    case engine::ShapeFailure::Reason::NotBeforeTheEnd:
        if (failure.shape == engine::Shape::InterestOnly)
            return {QStringLiteral("Interest Only must be at least 1 fewer than the %1 scheduled payments.")
                        .arg(failure.payments),
                    LoanField::InterestOnly, false, 0, -1};
        return {QStringLiteral("Balloon After must be less than the %1 scheduled payments.").arg(failure.payments),
                LoanField::BalloonAfter, false, 0, -1};
    case engine::ShapeFailure::Reason::SkipsOverlap: {
        ValidationFailure overlap{QStringLiteral("Skipped payments %1 and %2 share payments; keep them apart.")
                                      .arg(failure.otherSkip + 1)
                                      .arg(failure.skip + 1),
                                  LoanField::PaymentAmount, false, 0, -1};
        overlap.skip = int(failure.skip);
        return overlap;
    }
    }
    return onPayment(QStringLiteral("The loan cannot be calculated with %1.").arg(shape));
}

}  // namespace

Outcome calculateLoan(const Loan& loan, const LoanRows& rows, bool suppressFuture, QDate today)
{
    const std::vector<RateChangeRow>& rateChanges = rows.rateChanges;
    if (const auto problem = rateChangeRowsProblem(rateChanges))
        return ValidationFailure{problem->message, LoanField::InterestRate, false, loan.term, problem->row};

    const engine::LoanTerms terms = engineTerms(loan);
    engine::LoanRun run;
    run.extraPayments = engineExtraPayments(rows.extraPayments);
    run.rateChanges = engineRateChanges(rateChanges);
    run.skippedPayments = engineSkippedPayments(rows.skippedPayments);
    run.calculate = unknownOf(loan.choice);
    run.suppressFuture = suppressFuture;
    run.today = LocaleText::toYmd(today);
    auto outcome = engine::runLoan(terms, run);
    if (auto* error = std::get_if<engine::NumberedError>(&outcome))
        return std::move(*error);
    if (const auto* failure = std::get_if<engine::SolveFailure>(&outcome)) {
        ValidationFailure message = solveMessage(*failure, terms);
        message.wholeTerm = loan.term;
        return message;
    }
    if (const auto* failure = std::get_if<engine::RateChangeFailure>(&outcome)) {
        ValidationFailure message = rateChangeMessage(*failure, rateChanges);
        message.wholeTerm = loan.term;
        return message;
    }
    if (const auto* failure = std::get_if<engine::ShapeFailure>(&outcome)) {
        ValidationFailure message = shapeMessage(*failure, loan);
        message.wholeTerm = loan.term;
        return message;
    }

    LoanResult result;
    result.schedule = std::move(std::get<engine::ScheduleResult>(outcome));
    // The fees and the points together are what a derived loan amount must exceed too.
    const double charged = loan.fees + engine::roundToCents(result.schedule.loanAmount * loan.pointsPercent / 100.0);
    if (engine::roundToCents(charged) >= result.schedule.loanAmount)
        return ValidationFailure{QStringLiteral("The Fees and the Points must be less than the Loan Amount of %1.")
                                     .arg(LocaleText::currencyText(result.schedule.loanAmount)),
                                 loan.fees > 0.0 ? LoanField::Fees : LoanField::Points, false, loan.term, -1};
    engine::LoanCharges charges{loan.fees, loan.pointsPercent, std::nullopt};
    if (loan.loanDate)
        charges.loanDate = LocaleText::toYmd(*loan.loanDate);
    auto disclosed = engine::disclosureFigures(result.schedule, charges);
    if (auto* error = std::get_if<engine::NumberedError>(&disclosed))
        return std::move(*error);
    result.disclosure = std::get<engine::DisclosureFigures>(disclosed);
    result.loan = loan;
    result.loan.loanAmount = result.schedule.loanAmount;
    result.loan.paymentAmount = result.schedule.payment;
    result.loan.annualRatePercent = result.schedule.annualRatePercent;
    result.loan.term = result.schedule.term;
    result.rows = rows;
    result.today = today;
    return result;
}
