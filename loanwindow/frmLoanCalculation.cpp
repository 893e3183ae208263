#include "frmLoan.h"

#include "AmortizationTablePage.h"
#include "BalancePage.h"
#include "CalculateLoan.h"
#include "Clock.h"
#include "DateBox.h"
#include "ErrorText.h"
#include "ExtraPaymentsModel.h"
#include "ExtraPaymentsPage.h"
#include "LoanFigures.h"
#include "LoanForm.h"
#include "LoanInformationPage.h"
#include "LocaleText.h"
#include "Messages.h"
#include "RateChangesModel.h"
#include "RateChangesPage.h"
#include "ResultsModel.h"
#include "RowEditor.h"
#include "SkippedPaymentsModel.h"
#include "SkippedPaymentsPage.h"
#include "SavingsSummaryPage.h"
#include "SummaryGraphPage.h"
#include "YearlyModel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QTabWidget>

void frmLoan::showValidationFailure(const QString& message, LoanField field)
{
    m_messages.warning(this, message);
    // The inputs live on "Loan Information": bring it up so the focus can
    // land on the field (a hidden, disabled field cannot take it).
    m_tabs->setCurrentIndex(0);
    m_loanInformation->field(field)->setFocus();
}

void frmLoan::refuseTypedDate(DateBox* box, const QString& caption)
{
    m_messages.warning(this, DateBox::refusal(caption));
    showPage(box);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

bool frmLoan::takeTyped()
{
    for (const auto& [box, caption] : {std::pair{m_loanInformation->dtStartDate, "Date of First Payment"},
                                       std::pair{m_loanInformation->dtLoanDate, "Loan Date"}}) {
        if (!box->showsDate() && !box->takeTypedDate()) {
            refuseTypedDate(box, QString::fromLatin1(caption));
            return false;
        }
    }
    return m_extraPayments->editor->takePending() && m_rateChanges->editor->takePending() &&
           m_skippedPayments->editor->takePending();
}

std::optional<::Loan> frmLoan::validated()
{
    if (!takeTyped())
        return std::nullopt;
    auto checked = validateLoan(m_form->draft());
    if (const auto* failure = std::get_if<ValidationFailure>(&checked)) {
        m_form->showWholeTerm(failure->wholeTerm);
        showValidationFailure(failure->message, failure->field);
        return std::nullopt;
    }
    const ::Loan& loan = std::get<::Loan>(checked);
    m_form->showWholeTerm(loan.term);
    return loan;
}

LoanRows frmLoan::rows() const
{
    return {m_extraPayments->payments->rows(), m_rateChanges->rateChanges->rows(),
            m_skippedPayments->skippedPayments->rows()};
}

bool frmLoan::CalculateSchedule()
{
    const auto loan = validated();
    if (!loan)
        return false;
    auto outcome = calculateLoan(*loan, rows(), m_extraPayments->chkSuppressFuture->isChecked(), m_clock.today());
    if (const auto* failure = std::get_if<ValidationFailure>(&outcome)) {
        if (failure->rateChange >= 0) {
            // About a rate change: its row in the fields, the focus on the
            // rate when the payment does not cover its interest, else its date.
            m_messages.warning(this, failure->message);
            m_rateChanges->editor->focusField(failure->rateChange, failure->field == LoanField::PaymentAmount
                                                                      ? RateChangesModel::Rate
                                                                      : RateChangesModel::From);
            return false;
        }
        if (failure->skip >= 0) {
            // About a skip: its row in the fields, the focus on its date.
            m_messages.warning(this, failure->message);
            m_skippedPayments->editor->focusField(failure->skip, SkippedPaymentsModel::From);
            return false;
        }
        showValidationFailure(failure->message, failure->field);
        return false;
    }
    if (const auto* error = std::get_if<engine::NumberedError>(&outcome)) {
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
    const engine::ScheduleResult& result = run.schedule;
    m_form->showRun(run);
    LoanInformationPage& loan = *m_loanInformation;
    // A solved term: how many payments it takes and when the last is due,
    // which the whole term in its box can only round up.
    const bool termFound = result.solvedTerm && !result.rows.empty();
    loan.lblTermFound->setText(termFound ? QStringLiteral("%1 payments, the last on %2")
                                               .arg(QLocale().toString(result.baseline.payments),
                                                    LocaleText::shortDateText(
                                                        LocaleText::toQDate(result.baseline.payoffDate)))
                                         : QString());
    loan.lblTermFound->setVisible(termFound);
    m_amortizationTable->resultsModel->shareRun(kept);
    m_amortizationTable->yearlyModel->setRows(result.rows, LocaleText::toYmd(run.today));
    const LoanFigures figures = loanFigures(run);
    m_summaryGraph->showFigures(figures);
    m_savingsSummary->showFigures(figures);
    m_rateChanges->rateChanges->setPayments(rateChangePayments(result));

    for (int tab = 1; tab < m_tabs->count(); ++tab)
        m_tabs->setTabEnabled(tab, true);
    m_lastResult = std::move(kept);
    m_summaryChartStale = m_balanceChartStale = true;
    drawShownChart();
    // The run wrote its figures: the window holds what is not stored.
    markChanged();
    emit resultsChanged();
}
