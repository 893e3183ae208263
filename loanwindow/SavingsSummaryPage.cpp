#include "SavingsSummaryPage.h"

#include "LocaleText.h"
#include "LoanPages.h"
#include "LoanFigures.h"

#include <QTabWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace LoanPages;

namespace {

QGroupBox* makeFrame(const char* name, const QString& caption, QWidget* parent)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(frame);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return frame;
}

QLineEdit* addBox(QGroupBox* frame, int row, int side, const QString& caption, const char* name)
{
    auto* grid = static_cast<QGridLayout*>(frame->layout());
    auto* box = makeResultBox(name, frame);
    auto* label = new QLabel(caption, frame);
    label->setBuddy(box);  // names the box for a screen reader
    grid->addWidget(label, row, side * 2);
    grid->addWidget(box, row, side * 2 + 1);
    return box;
}

}  // namespace

SavingsSummaryPage::SavingsSummaryPage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QVBoxLayout(page);

    Frame3 = makeFrame("Frame3", QStringLiteral("Original Loan"), page);
    txtOrigLoanAmount = addBox(Frame3, 0, 0, QStringLiteral("Loan Amount:"), "txtOrigLoanAmount");
    txtOrigPayoffDate = addBox(Frame3, 1, 0, QStringLiteral("Payoff Date:"), "txtOrigPayoffDate");
    txtOrigInterestPaid = addBox(Frame3, 0, 1, QStringLiteral("Interest Paid:"), "txtOrigInterestPaid");
    txtOrigTotalPaid = addBox(Frame3, 1, 1, QStringLiteral("Total All Payments:"), "txtOrigTotalPaid");
    layout->addWidget(Frame3);

    Frame4 = makeFrame("Frame4", QStringLiteral("Adjusted Totals Due to Extra Payments"), page);
    txtAdjExtraPayments =
        addBox(Frame4, 0, 0, QStringLiteral("Principal Amount Paid Early:"), "txtAdjExtraPayments");
    txtAdjPayoffDate = addBox(Frame4, 1, 0, QStringLiteral("Adjusted Payoff Date:"), "txtAdjPayoffDate");
    txtAdjInterestPaid =
        addBox(Frame4, 0, 1, QStringLiteral("Adjusted Interest Paid:"), "txtAdjInterestPaid");
    txtAdjTotalPaid = addBox(Frame4, 1, 1, QStringLiteral("Adjusted Total Payments:"), "txtAdjTotalPaid");
    lblAdjExtraPaymentsNote = new QLabel(Frame4);
    lblAdjExtraPaymentsNote->setObjectName(QStringLiteral("lblAdjExtraPaymentsNote"));
    lblAdjExtraPaymentsNote->hide();
    static_cast<QGridLayout*>(Frame4->layout())->addWidget(lblAdjExtraPaymentsNote, 2, 0, 1, 4);
    layout->addWidget(Frame4);

    Frame5 = makeFrame("Frame5", QStringLiteral("Total Savings Due to Extra Payments"), page);
    txtSavedPayments =
        addBox(Frame5, 0, 0, QStringLiteral("Number of Payments Saved:"), "txtSavedPayments");
    txtSavedTotal = addBox(Frame5, 0, 1, QStringLiteral("Total Saved:"), "txtSavedTotal");
    // Only a loan an extra payment recast shows it.
    txtLoweredPayment = addBox(Frame5, 1, 0, QStringLiteral("Payment Lowered To:"), "txtLoweredPayment");
    lblLoweredPayment =
        qobject_cast<QLabel*>(static_cast<QGridLayout*>(Frame5->layout())->itemAtPosition(1, 0)->widget());
    lblLoweredPayment->hide();
    txtLoweredPayment->hide();
    layout->addWidget(Frame5);
    layout->addStretch(1);
}

void SavingsSummaryPage::showFigures(const LoanFigures& figures)
{
    const std::pair<QLineEdit*, Figure> boxes[] = {
        {txtOrigLoanAmount, Figure::OriginalLoanAmount},   {txtOrigPayoffDate, Figure::OriginalPayoffDate},
        {txtOrigInterestPaid, Figure::OriginalInterestPaid}, {txtOrigTotalPaid, Figure::OriginalTotalPaid},
        {txtAdjExtraPayments, Figure::PaidEarly},          {txtAdjPayoffDate, Figure::AdjustedPayoffDate},
        {txtAdjInterestPaid, Figure::AdjustedInterestPaid}, {txtAdjTotalPaid, Figure::AdjustedTotalPaid},
        {txtSavedPayments, Figure::PaymentsSaved},         {txtSavedTotal, Figure::TotalSaved}};
    for (const auto& [box, figure] : boxes)
        box->setText(figures[figure]);
    showRoundingNote(*lblAdjExtraPaymentsNote, *txtAdjExtraPayments, figures.roundingNote);
    txtLoweredPayment->setText(figures[Figure::LoweredPayment]);
    lblLoweredPayment->setVisible(!figures[Figure::LoweredPayment].isEmpty());
    txtLoweredPayment->setVisible(!figures[Figure::LoweredPayment].isEmpty());
}
