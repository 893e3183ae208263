#include "frmLoan.h"

#include "Clock.h"
#include "ExtraPaymentRows.h"
#include "ExtraPaymentsEditor.h"
#include "LocaleText.h"
#include "Messages.h"
#include "ResultsModel.h"
#include "Schedule.h"
#include "SummaryChart.h"
#include "ValidateLoan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTabWidget>

namespace {

LoanInputs readInputs(const frmLoan::Ui& ui)
{
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

bool frmLoan::ValidateLoan()
{
    const ValidationResult result = validateLoan(readInputs(*m_ui));
    if (!result.ok) {
        m_messages.warning(this, result.message);
        fieldWidget(*m_ui, result.field)->setFocus();
        return false;
    }
    m_ui->txtTerm->setText(QString::number(result.wholeTerm));
    return true;
}

bool frmLoan::CalculateSchedule(bool /*fromCalculate*/)
{
    if (!ValidateLoan())
        return false;

    const LoanInputs inputs = readInputs(*m_ui);
    const engine::LoanTerms terms = toLoanTerms(inputs);
    auto extra = toEngineExtraPayments(m_ui->editor->rows());
    if (const auto* error = std::get_if<QString>(&extra)) {
        m_messages.critical(this, *error);
        return false;
    }
    const engine::Date today = LocaleText::toYmd(m_clock.today());
    auto outcome = engine::calculateSchedule(terms, std::get<std::vector<engine::ExtraPayment>>(extra),
                                             m_ui->chkSuppressFuture->isChecked(), today);
    if (const auto* error = std::get_if<engine::EngineError>(&outcome)) {
        m_messages.critical(this, QString::number(error->number) + QStringLiteral(" - ") +
                                      QString::fromStdString(error->description));
        return false;
    }
    auto& result = std::get<engine::ScheduleResult>(outcome);

    // The loan amount wins when it was given: the payment is derived and
    // written first; otherwise the loan amount is derived from the payment.
    if (terms.loanAmount) {
        m_ui->txtPaymentAmount->setText(LocaleText::currencyText(result.payment));
        m_ui->txtLoanAmount->setText(LocaleText::currencyText(result.loanAmount));
    } else {
        m_ui->txtLoanAmount->setText(LocaleText::currencyText(result.loanAmount));
        m_ui->txtPaymentAmount->setText(LocaleText::currencyText(result.payment));
    }

    m_ui->resultsModel->setRows(std::move(result.rows), today);

    const auto& summary = result.summary;
    m_ui->txtPrincipal->setText(LocaleText::currencyText(summary.principal));
    m_ui->txtExtraPayments->setText(LocaleText::currencyText(summary.extraPayments));
    m_ui->txtInterest->setText(LocaleText::currencyText(summary.interest));
    m_ui->txtTotalPrincipal->setText(LocaleText::currencyText(summary.totalPrincipal));
    m_ui->txtTotalPaid->setText(LocaleText::currencyText(summary.totalPaid));

    const auto& baseline = result.baseline;
    m_ui->txtOrigLoanAmount->setText(LocaleText::currencyText(baseline.loanAmount));
    m_ui->txtOrigPayoffDate->setText(dateText(baseline.payoffDate));
    m_ui->txtOrigInterestPaid->setText(LocaleText::currencyText(baseline.interestPaid));
    m_ui->txtOrigTotalPaid->setText(LocaleText::currencyText(baseline.totalPaid));

    m_ui->txtAdjExtraPayments->setText(LocaleText::currencyText(summary.extraPayments));
    m_ui->txtAdjPayoffDate->setText(dateText(result.adjustedPayoffDate));
    m_ui->txtAdjInterestPaid->setText(LocaleText::currencyText(summary.interest));
    m_ui->txtAdjTotalPaid->setText(LocaleText::currencyText(summary.totalPaid));
    m_ui->txtSavedPayments->setText(QString::number(result.paymentsSaved));
    m_ui->txtSavedTotal->setText(LocaleText::currencyText(result.totalSaved));

    m_ui->chart->setValues(summary.interest, summary.extraPayments, summary.principal);
    for (int tab = 1; tab < m_ui->tabLoan->count(); ++tab)
        m_ui->tabLoan->setTabEnabled(tab, true);
    m_ui->chSummary->show();
    return true;
}
