#include "CalculateLoan.h"

#include "LocaleText.h"

std::variant<ValidationFailure, engine::NumberedError, LoanResult>
calculateLoan(const LoanInputs& inputs, const std::vector<ExtraPaymentRow>& extraPayments, bool suppressFuture,
              QDate today)
{
    const ValidationResult checked = validateLoan(inputs);
    if (!checked.ok)
        return ValidationFailure{checked.message, checked.field, checked.wholeTerm};

    LoanResult result;
    result.loan = loanForRun(inputs);
    result.today = today;
    auto outcome = engine::calculateSchedule(engineTerms(result.loan), engineExtraPayments(extraPayments),
                                             suppressFuture, LocaleText::toYmd(today));
    if (auto* error = std::get_if<engine::NumberedError>(&outcome))
        return std::move(*error);
    result.schedule = std::move(std::get<engine::ScheduleResult>(outcome));

    result.inputs = inputs;
    result.inputs.term = QString::number(checked.wholeTerm);
    result.inputs.loanAmount = LocaleText::currencyText(result.schedule.loanAmount);
    result.inputs.paymentAmount = LocaleText::currencyText(result.schedule.payment);
    return result;
}
