#include "DescriptionBox.h"
#include "frmLoan.h"

#include "ChangeTracker.h"
#include "Clock.h"
#include "CalculateLoan.h"
#include "ErrorText.h"
#include "ExtraPaymentsEditor.h"
#include "LocaleText.h"
#include "Messages.h"
#include "ResultsModel.h"
#include "SummaryChart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTabWidget>

namespace {

QWidget* fieldWidget(const frmLoan::Ui& ui, LoanField field)
{
    switch (field) {
    case LoanField::Description: return ui.txtLoan;
    case LoanField::Frequency: return ui.cboppt;
    case LoanField::InterestRate: return ui.txtInterestRate;
    case LoanField::TermType: return ui.cboTerm;
    case LoanField::Term: return ui.txtTerm;
    case LoanField::LoanAmount: return ui.txtLoanAmount;
    case LoanField::PaymentAmount: return ui.txtPaymentAmount;
    }
    return ui.txtLoan;
}

QString dateText(engine::Date date)
{
    return LocaleText::shortDateText(LocaleText::toQDate(date));
}

}  // namespace

LoanInputs frmLoan::inputs() const
{
    const Ui& ui = *m_ui;
    LoanInputs inputs;
    inputs.description = ui.txtLoan->text();
    inputs.frequency = ui.cboppt->currentIndex();
    inputs.interestRate = ui.txtInterestRate->text();
    inputs.termType = ui.cboTerm->currentIndex();
    inputs.term = ui.txtTerm->text();
    inputs.loanAmount = ui.txtLoanAmount->text();
    inputs.paymentAmount = ui.txtPaymentAmount->text();
    inputs.startDate = ui.dtStartDate->date();
    return inputs;
}

void frmLoan::showValidationFailure(const QString& message, LoanField field)
{
    m_messages.warning(this, message);
    // The inputs live on "Loan Information": bring it up so the focus can
    // land on the field (a hidden, disabled field cannot take it).
    m_ui->tabLoan->setCurrentIndex(0);
    fieldWidget(*m_ui, field)->setFocus();
}

bool frmLoan::ValidateLoan()
{
    const ValidationResult result = validateLoan(inputs());
    if (result.wholeTerm > 0)
        m_ui->txtTerm->setText(QString::number(result.wholeTerm));
    if (!result.ok) {
        showValidationFailure(result.message, result.field);
        return false;
    }
    return true;
}

bool frmLoan::CalculateSchedule(bool /*fromCalculate*/)
{
    const LoanInputs inputs = this->inputs();
    const auto rows = extraPaymentRowsForRun(m_ui->editor->rows());
    if (const auto* error = std::get_if<engine::NumberedError>(&rows)) {
        // The inputs' own checks come first.
        if (ValidateLoan())
            m_messages.critical(this, errorText(*error));
        return false;
    }
    auto outcome = calculateLoan(inputs, std::get<std::vector<ExtraPaymentRow>>(rows),
                                 m_ui->chkSuppressFuture->isChecked(), m_clock.today());
    if (const auto* failure = std::get_if<ValidationFailure>(&outcome)) {
        if (failure->wholeTerm > 0)
            m_ui->txtTerm->setText(QString::number(failure->wholeTerm));
        showValidationFailure(failure->message, failure->field);
        return false;
    }
    if (const auto* error = std::get_if<engine::NumberedError>(&outcome)) {
        // The checks passed, so the whole term goes back into its box.
        m_ui->txtTerm->setText(QString::number(wholeTerm(inputs.term)));
        m_messages.critical(this, errorText(*error));
        return false;
    }
    applyResult(std::get<LoanResult>(std::move(outcome)));
    return true;
}

void frmLoan::applyResult(LoanResult outcome)
{
    // Kept whole for printing and exporting; the table shares its rows.
    auto kept = std::make_shared<const LoanResult>(std::move(outcome));
    const LoanResult& run = *kept;
    m_ui->txtTerm->setText(run.inputs.term);
    // Every box the run writes counts as changed, even when its text stays.
    auto put = [this](QLineEdit* box, const QString& text) { m_ui->tracker->assign(box, text); };

    // The loan amount wins when it was given: the payment is derived and
    // written first; otherwise the loan amount is derived from the payment.
    if (run.loan.loanAmount) {
        put(m_ui->txtPaymentAmount, run.inputs.paymentAmount);
        put(m_ui->txtLoanAmount, run.inputs.loanAmount);
    } else {
        put(m_ui->txtLoanAmount, run.inputs.loanAmount);
        put(m_ui->txtPaymentAmount, run.inputs.paymentAmount);
    }

    const engine::ScheduleResult& result = run.schedule;
    m_ui->resultsModel->shareRows(std::shared_ptr<const std::vector<engine::ScheduleRow>>(kept, &result.rows),
                                  LocaleText::toYmd(run.today));

    const auto& summary = result.summary;
    put(m_ui->txtPrincipal, LocaleText::currencyText(summary.principal));
    put(m_ui->txtExtraPayments, LocaleText::currencyText(summary.extraPayments));
    put(m_ui->txtInterest, LocaleText::currencyText(summary.interest));
    put(m_ui->txtTotalPrincipal, LocaleText::currencyText(summary.totalPrincipal));
    put(m_ui->txtTotalPaid, LocaleText::currencyText(summary.totalPaid));

    const auto& baseline = result.baseline;
    put(m_ui->txtOrigLoanAmount, LocaleText::currencyText(baseline.loanAmount));
    put(m_ui->txtOrigPayoffDate, dateText(baseline.payoffDate));
    put(m_ui->txtOrigInterestPaid, LocaleText::currencyText(baseline.interestPaid));
    put(m_ui->txtOrigTotalPaid, LocaleText::currencyText(baseline.totalPaid));

    put(m_ui->txtAdjExtraPayments, LocaleText::currencyText(summary.extraPayments));
    put(m_ui->txtAdjPayoffDate, dateText(result.adjustedPayoffDate));
    put(m_ui->txtAdjInterestPaid, LocaleText::currencyText(summary.interest));
    put(m_ui->txtAdjTotalPaid, LocaleText::currencyText(summary.totalPaid));
    put(m_ui->txtSavedPayments, QString::number(result.paymentsSaved));
    put(m_ui->txtSavedTotal, LocaleText::currencyText(result.totalSaved));

    m_ui->chart->setValues(summary.interest, summary.extraPayments, summary.principal);
    for (int tab = 1; tab < m_ui->tabLoan->count(); ++tab)
        m_ui->tabLoan->setTabEnabled(tab, true);
    m_ui->chSummary->show();
    m_lastResult = std::move(kept);
    emit resultsChanged();
}
