#include "frmLoan.h"

#include "ChangeTracker.h"
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
    if (result.wholeTerm > 0)
        m_ui->txtTerm->setText(QString::number(result.wholeTerm));
    if (!result.ok) {
        m_messages.warning(this, result.message);
        // The inputs live on "Loan Information": bring it up so the focus can
        // land on the field (a hidden, disabled field cannot take it).
        m_ui->tabLoan->setCurrentIndex(0);
        fieldWidget(*m_ui, result.field)->setFocus();
        return false;
    }
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
    if (const auto* error = std::get_if<engine::NumberedError>(&outcome)) {
        m_messages.critical(this, QString::fromStdString(error->text()));
        return false;
    }
    auto& result = std::get<engine::ScheduleResult>(outcome);

    // Every box the run writes counts as changed, even when its text stays.
    auto put = [this](QLineEdit* box, const QString& text) { m_ui->tracker->assign(box, text); };

    // The loan amount wins when it was given: the payment is derived and
    // written first; otherwise the loan amount is derived from the payment.
    if (terms.loanAmount) {
        put(m_ui->txtPaymentAmount, LocaleText::currencyText(result.payment));
        put(m_ui->txtLoanAmount, LocaleText::currencyText(result.loanAmount));
    } else {
        put(m_ui->txtLoanAmount, LocaleText::currencyText(result.loanAmount));
        put(m_ui->txtPaymentAmount, LocaleText::currencyText(result.payment));
    }

    m_ui->resultsModel->setRows(std::move(result.rows), today);

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
    keepReportFigures();
    emit resultsChanged();
    return true;
}
