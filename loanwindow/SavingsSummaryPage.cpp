#include "LoanPages.h"

#include <QTabWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace LoanPages {

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
    grid->addWidget(new QLabel(caption, frame), row, side * 2);
    grid->addWidget(box, row, side * 2 + 1);
    return box;
}

}  // namespace

QWidget* buildSavingsSummary(frmLoan::Ui& ui)
{
    auto* page = new QWidget(ui.tabLoan);
    auto* layout = new QVBoxLayout(page);

    ui.Frame3 = makeFrame("Frame3", QStringLiteral("Original Loan"), page);
    ui.txtOrigLoanAmount = addBox(ui.Frame3, 0, 0, QStringLiteral("Loan Amount:"), "txtOrigLoanAmount");
    ui.txtOrigPayoffDate = addBox(ui.Frame3, 1, 0, QStringLiteral("Payoff Date:"), "txtOrigPayoffDate");
    ui.txtOrigInterestPaid = addBox(ui.Frame3, 0, 1, QStringLiteral("Interest Paid:"), "txtOrigInterestPaid");
    ui.txtOrigTotalPaid = addBox(ui.Frame3, 1, 1, QStringLiteral("Total All Payments:"), "txtOrigTotalPaid");
    layout->addWidget(ui.Frame3);

    ui.Frame4 = makeFrame("Frame4", QStringLiteral("Adjusted Totals Due to Extra Payments"), page);
    ui.txtAdjExtraPayments =
        addBox(ui.Frame4, 0, 0, QStringLiteral("Principal Amount Paid Early:"), "txtAdjExtraPayments");
    ui.txtAdjPayoffDate = addBox(ui.Frame4, 1, 0, QStringLiteral("Adjusted Payoff Date:"), "txtAdjPayoffDate");
    ui.txtAdjInterestPaid =
        addBox(ui.Frame4, 0, 1, QStringLiteral("Adjusted Interest Paid:"), "txtAdjInterestPaid");
    ui.txtAdjTotalPaid = addBox(ui.Frame4, 1, 1, QStringLiteral("Adjusted Total Payments:"), "txtAdjTotalPaid");
    layout->addWidget(ui.Frame4);

    ui.Frame5 = makeFrame("Frame5", QStringLiteral("Total Savings Due to Extra Payments"), page);
    ui.txtSavedPayments =
        addBox(ui.Frame5, 0, 0, QStringLiteral("Number of Payments Saved:"), "txtSavedPayments");
    ui.txtSavedTotal = addBox(ui.Frame5, 0, 1, QStringLiteral("Total Saved:"), "txtSavedTotal");
    layout->addWidget(ui.Frame5);
    layout->addStretch(1);
    return page;
}

}  // namespace LoanPages
