#include "LoanPages.h"
#include "SummaryChart.h"

#include <QTabWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace LoanPages {

QWidget* buildSummaryGraph(frmLoan::Ui& ui)
{
    auto* page = new QWidget(ui.tabLoan);
    auto* layout = new QVBoxLayout(page);

    ui.Frame1 = new QGroupBox(page);
    ui.Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* chartLayout = new QVBoxLayout(ui.Frame1);
    chartLayout->setContentsMargins(2, 2, 2, 2);
    ui.chart = new SummaryChart(ui.Frame1);
    ui.chart->setObjectName(QStringLiteral("chSummary"));
    ui.chSummary = ui.chart;
    chartLayout->addWidget(ui.chart);
    layout->addWidget(ui.Frame1, 1);

    ui.Frame2 = new QGroupBox(QStringLiteral("Summary"), page);
    ui.Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(ui.Frame2);
    QWidget* frame = ui.Frame2;
    ui.txtPrincipal = makeResultBox("txtPrincipal", frame);
    ui.txtExtraPayments = makeResultBox("txtExtraPayments", frame);
    ui.txtInterest = makeResultBox("txtInterest", frame);
    ui.txtTotalPrincipal = makeResultBox("txtTotalPrincipal", frame);
    ui.txtTotalPaid = makeResultBox("txtTotalPaid", frame);

    grid->addWidget(new QLabel(QStringLiteral("Principal:"), frame), 0, 0);
    grid->addWidget(ui.txtPrincipal, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Extra Payments:"), frame), 1, 0);
    grid->addWidget(ui.txtExtraPayments, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Interest:"), frame), 2, 0);
    grid->addWidget(ui.txtInterest, 2, 1);
    // Right column: each label above its box.
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Total Principal Paid"), frame));
    right->addWidget(ui.txtTotalPrincipal);
    right->addWidget(new QLabel(QStringLiteral("Total All Payments"), frame));
    right->addWidget(ui.txtTotalPaid);
    grid->addLayout(right, 0, 3, 3, 1);
    grid->setColumnMinimumWidth(2, 20);
    grid->setVerticalSpacing(2);
    layout->addWidget(ui.Frame2);
    return page;
}

}  // namespace LoanPages
