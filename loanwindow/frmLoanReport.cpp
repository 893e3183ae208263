#include "frmLoan.h"
#include "frmLoanUi.h"

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
    const Ui& ui = *m_ui;
    LoanReportContents report;
    report.groups = {
        group(ui.fraLoan,
              {{QStringLiteral("Date of First Payment"), LocaleText::shortDateText(ui.dtStartDate->date())},
               {QStringLiteral("Frequency"), ui.cboppt->currentText()},
               {QStringLiteral("Interest Rate"), ui.txtInterestRate->text() + QStringLiteral(" %")},
               {QStringLiteral("Term"), ui.txtTerm->text() + QLatin1Char(' ') + ui.cboTerm->currentText()},
               {QStringLiteral("Loan Amount"), ui.txtLoanAmount->text()},
               {QStringLiteral("Payment Amount"), ui.txtPaymentAmount->text()}}),
        group(ui.Frame2,
              {{QStringLiteral("Principal"), ui.txtPrincipal->text()},
               {QStringLiteral("Extra Payments"), ui.txtExtraPayments->text()},
               {QStringLiteral("Interest"), ui.txtInterest->text()},
               {QStringLiteral("Total Principal Paid"), ui.txtTotalPrincipal->text()},
               {QStringLiteral("Total All Payments"), ui.txtTotalPaid->text()}}),
        group(ui.Frame3,
              {{QStringLiteral("Loan Amount"), ui.txtOrigLoanAmount->text()},
               {QStringLiteral("Payoff Date"), ui.txtOrigPayoffDate->text()},
               {QStringLiteral("Interest Paid"), ui.txtOrigInterestPaid->text()},
               {QStringLiteral("Total All Payments"), ui.txtOrigTotalPaid->text()}}),
        group(ui.Frame4,
              {{QStringLiteral("Principal Amount Paid Early"), ui.txtAdjExtraPayments->text()},
               {QStringLiteral("Adjusted Payoff Date"), ui.txtAdjPayoffDate->text()},
               {QStringLiteral("Adjusted Interest Paid"), ui.txtAdjInterestPaid->text()},
               {QStringLiteral("Adjusted Total Payments"), ui.txtAdjTotalPaid->text()}}),
        group(ui.Frame5,
              {{QStringLiteral("Number of Payments Saved"), ui.txtSavedPayments->text()},
               {QStringLiteral("Total Saved"), ui.txtSavedTotal->text()}}),
    };
    report.chartSeries = ui.chart->seriesNames();
    report.chartValues = ui.chart->values();
    report.rows = ui.resultsModel->sharedRows();
    report.today = ui.resultsModel->today();
    m_report = std::move(report);
}

LoanReportContents frmLoan::reportContents() const
{
    LoanReportContents report = m_report;
    report.description = description();
    return report;
}
