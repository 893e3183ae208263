#include "frmLoan.h"

#include "AmortizationTablePage.h"
#include "LoanInformationPage.h"
#include "SavingsSummaryPage.h"
#include "SummaryGraphPage.h"

#include "LocaleText.h"
#include "ResultsModel.h"
#include "SummaryChart.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>

namespace {

using Field = QPair<QString, QString>;

LoanReportContents::Group group(const QGroupBox* frame, QList<Field> fields)
{
    return {frame->title(), std::move(fields)};
}

}  // namespace

// Taken right after a run, so later edits of the inputs do not mix with the
// figures they have not produced yet.
void frmLoan::keepReportFigures()
{
    const LoanInformationPage& loan = *m_loanInformation;
    const SummaryGraphPage& graph = *m_summaryGraph;
    const SavingsSummaryPage& savings = *m_savingsSummary;
    LoanReportContents report;
    report.groups = {
        group(loan.fraLoan,
              {{QStringLiteral("Date of First Payment"), LocaleText::shortDateText(loan.dtStartDate->date())},
               {QStringLiteral("Frequency"), loan.cboppt->currentText()},
               {QStringLiteral("Interest Rate"), loan.txtInterestRate->text() + QStringLiteral(" %")},
               {QStringLiteral("Term"), loan.txtTerm->text() + QLatin1Char(' ') + loan.cboTerm->currentText()},
               {QStringLiteral("Loan Amount"), loan.txtLoanAmount->text()},
               {QStringLiteral("Payment Amount"), loan.txtPaymentAmount->text()}}),
        group(graph.Frame2,
              {{QStringLiteral("Principal"), graph.txtPrincipal->text()},
               {QStringLiteral("Extra Payments"), graph.txtExtraPayments->text()},
               {QStringLiteral("Interest"), graph.txtInterest->text()},
               {QStringLiteral("Total Principal Paid"), graph.txtTotalPrincipal->text()},
               {QStringLiteral("Total All Payments"), graph.txtTotalPaid->text()}}),
        group(savings.Frame3,
              {{QStringLiteral("Loan Amount"), savings.txtOrigLoanAmount->text()},
               {QStringLiteral("Payoff Date"), savings.txtOrigPayoffDate->text()},
               {QStringLiteral("Interest Paid"), savings.txtOrigInterestPaid->text()},
               {QStringLiteral("Total All Payments"), savings.txtOrigTotalPaid->text()}}),
        group(savings.Frame4,
              {{QStringLiteral("Principal Amount Paid Early"), savings.txtAdjExtraPayments->text()},
               {QStringLiteral("Adjusted Payoff Date"), savings.txtAdjPayoffDate->text()},
               {QStringLiteral("Adjusted Interest Paid"), savings.txtAdjInterestPaid->text()},
               {QStringLiteral("Adjusted Total Payments"), savings.txtAdjTotalPaid->text()}}),
        group(savings.Frame5,
              {{QStringLiteral("Number of Payments Saved"), savings.txtSavedPayments->text()},
               {QStringLiteral("Total Saved"), savings.txtSavedTotal->text()}}),
    };
    report.chartSeries = graph.chart->seriesNames();
    report.chartValues = graph.chart->values();
    report.rows = m_amortizationTable->resultsModel->sharedRows();
    report.today = m_amortizationTable->resultsModel->today();
    m_report = std::move(report);
}

LoanReportContents frmLoan::reportContents() const
{
    LoanReportContents report = m_report;
    report.description = description();
    return report;
}
