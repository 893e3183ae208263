#include "frmLoan.h"

#include "AmortizationTablePage.h"
#include "BalanceChart.h"
#include "BalancePage.h"
#include "CalculateLoan.h"
#include "ChangeTracker.h"
#include "DateBox.h"
#include "Clock.h"
#include "ErrorText.h"
#include "ExtraPaymentsEditor.h"
#include "ExtraPaymentsPage.h"
#include "LoanInformationPage.h"
#include "LocaleText.h"
#include "RateChangesEditor.h"
#include "RateChangesPage.h"
#include "Messages.h"
#include "ResultsModel.h"
#include "SavingsSummaryPage.h"
#include "SummaryChart.h"
#include "SummaryGraphPage.h"
#include "YearlyModel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QTabWidget>

namespace {

// The tab that holds `page` (each page sits in a scroll area of its own).
int tabOf(const QTabWidget& tabs, const QWidget* page)
{
    for (int tab = 0; tab < tabs.count(); ++tab)
        if (tabs.widget(tab)->isAncestorOf(page))
            return tab;
    return 0;
}

}  // namespace

void frmLoan::showValidationFailure(const QString& message, LoanField field)
{
    m_messages.warning(this, message);
    // The inputs live on "Loan Information": bring it up so the focus can
    // land on the field (a hidden, disabled field cannot take it).
    m_tabs->setCurrentIndex(0);
    m_loanInformation->field(field)->setFocus();
}

void frmLoan::refuseTypedDate(DateBox* box)
{
    const QString caption = box == m_loanInformation->dtStartDate   ? QStringLiteral("Date of First Payment")
                            : box == m_extraPayments->dtBeginDate   ? QStringLiteral("Start Date")
                            : box == m_rateChangesPage->dtRateFrom ? QStringLiteral("From")
                                                                    : QStringLiteral("End Date");
    m_messages.warning(this, DateBox::refusal(caption));
    m_tabs->setCurrentIndex(tabOf(*m_tabs, box));
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

bool frmLoan::takeTypedDates()
{
    DateBox* start = m_loanInformation->dtStartDate;
    if (!start->showsDate() && !start->takeTypedDate()) {
        refuseTypedDate(start);
        return false;
    }
    if (DateBox* refused = m_editor->takeTypedDates()) {
        refuseTypedDate(refused);
        return false;
    }
    if (DateBox* refused = m_rateEditor->takeTypedDate()) {
        refuseTypedDate(refused);
        return false;
    }
    if (!m_rateEditor->takeTypedRate()) {
        m_tabs->setCurrentIndex(tabOf(*m_tabs, m_rateChangesPage->txtNewRate));
        m_rateChangesPage->txtNewRate->setFocus();
        return false;
    }
    return true;
}

void frmLoan::showWholeTerm(int wholeTerm)
{
    if (wholeTerm > 0)
        m_loanInformation->txtTerm->setText(QString::number(wholeTerm));
}

bool frmLoan::ValidateLoan()
{
    if (!takeTypedDates())
        return false;
    const ValidationResult result = validateLoan(m_loanInformation->inputs());
    showWholeTerm(result.wholeTerm);
    if (!result.ok) {
        showValidationFailure(result.message, result.field);
        return false;
    }
    return true;
}

bool frmLoan::CalculateSchedule()
{
    if (!takeTypedDates())
        return false;
    const LoanInputs inputs = m_loanInformation->inputs();
    auto outcome = calculateLoan(inputs, m_editor->rows(), m_rateEditor->rows(),
                                 m_extraPayments->chkSuppressFuture->isChecked(), m_clock.today());
    if (const auto* failure = std::get_if<ValidationFailure>(&outcome)) {
        showWholeTerm(failure->wholeTerm);
        if (failure->rateChange >= 0) {
            // About a rate change: its row in the fields, the focus on the
            // rate when the payment does not cover its interest, else its date.
            m_messages.warning(this, failure->message);
            m_tabs->setCurrentIndex(tabOf(*m_tabs, m_rateChangesPage->page));
            m_rateEditor->focusField(failure->rateChange, failure->field == LoanField::PaymentAmount
                                                              ? RateChangeColumn::Rate
                                                              : RateChangeColumn::From);
            return false;
        }
        showValidationFailure(failure->message, failure->field);
        return false;
    }
    if (const auto* error = std::get_if<engine::NumberedError>(&outcome)) {
        // The checks passed, so the whole term goes back into its box.
        showWholeTerm(wholeTerm(inputs.term));
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
    LoanInformationPage& loan = *m_loanInformation;
    showWholeTerm(run.loan.term);
    // A solved rate is written as the user would have typed it.
    if (run.schedule.solvedRate)
        m_tracker->assign(loan.txtInterestRate, run.inputs.interestRate);
    // Every box the run writes counts as changed, even when its text stays.
    // The loan amount wins when it was given: the payment is derived and
    // written first; otherwise the loan amount is derived from the payment.
    if (run.loan.loanAmount) {
        m_tracker->assign(loan.txtPaymentAmount, run.inputs.paymentAmount);
        m_tracker->assign(loan.txtLoanAmount, run.inputs.loanAmount);
    } else {
        m_tracker->assign(loan.txtLoanAmount, run.inputs.loanAmount);
        m_tracker->assign(loan.txtPaymentAmount, run.inputs.paymentAmount);
    }

    const engine::ScheduleResult& result = run.schedule;
    // A solved term: how many payments it takes and when the last is due,
    // which the whole term in its box can only round up.
    const bool termFound = run.inputs.calculate == engine::Unknown::Term && !result.rows.empty();
    loan.lblTermFound->setText(termFound ? QStringLiteral("%1 payments, the last on %2")
                                               .arg(QLocale().toString(result.baseline.payments),
                                                    LocaleText::shortDateText(
                                                        LocaleText::toQDate(result.baseline.payoffDate)))
                                         : QString());
    loan.lblTermFound->setVisible(termFound);
    m_amortizationTable->resultsModel->shareRun(kept);
    m_amortizationTable->yearlyModel->setRows(result.rows, LocaleText::toYmd(run.today));
    m_summaryGraph->showFigures(result.summary, *m_tracker);
    m_savingsSummary->showFigures(result, *m_tracker);

    for (int tab = 1; tab < m_tabs->count(); ++tab)
        m_tabs->setTabEnabled(tab, true);
    m_lastResult = std::move(kept);
    m_summaryChartStale = m_balanceChartStale = true;
    drawShownChart();
    emit resultsChanged();
}
