#include "SummaryGraphPage.h"

#include "LocaleText.h"
#include "LoanPages.h"
#include "LoanFigures.h"
#include "Schedule.h"
#include "SummaryChart.h"

#include <QTabWidget>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace LoanPages;

SummaryGraphPage::SummaryGraphPage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QVBoxLayout(page);

    Frame1 = new QGroupBox(page);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* chartLayout = new QVBoxLayout(Frame1);
    chartLayout->setContentsMargins(2, 2, 2, 2);
    // Room for the chart's axis labels and legend; a smaller window scrolls.
    const QFontMetrics metrics(Frame1->font());
    Frame1->setMinimumSize(24 * metrics.averageCharWidth(), 13 * metrics.height());
    layout->addWidget(Frame1, 1);

    Frame2 = new QGroupBox(QStringLiteral("Summary"), page);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(Frame2);
    QWidget* frame = Frame2;
    txtPrincipal = makeResultBox("txtPrincipal", frame);
    txtExtraPayments = makeResultBox("txtExtraPayments", frame);
    txtInterest = makeResultBox("txtInterest", frame);
    txtTotalPrincipal = makeResultBox("txtTotalPrincipal", frame);
    txtTotalPaid = makeResultBox("txtTotalPaid", frame);

    // Each label names its box for a screen reader.
    auto labelFor = [frame](const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption, frame);
        label->setBuddy(box);
        return label;
    };
    grid->addWidget(labelFor(QStringLiteral("Principal:"), txtPrincipal), 0, 0);
    grid->addWidget(txtPrincipal, 0, 1);
    grid->addWidget(labelFor(QStringLiteral("Extra Payments:"), txtExtraPayments), 1, 0);
    grid->addWidget(txtExtraPayments, 1, 1);
    grid->addWidget(labelFor(QStringLiteral("Interest:"), txtInterest), 2, 0);
    grid->addWidget(txtInterest, 2, 1);
    lblExtraPaymentsNote = new QLabel(frame);
    lblExtraPaymentsNote->setObjectName(QStringLiteral("lblExtraPaymentsNote"));
    lblExtraPaymentsNote->hide();
    grid->addWidget(lblExtraPaymentsNote, 3, 0, 1, 4);
    // Right column: each label above its box.
    auto* right = new QVBoxLayout;
    right->addWidget(labelFor(QStringLiteral("Total Principal Paid"), txtTotalPrincipal));
    right->addWidget(txtTotalPrincipal);
    right->addWidget(labelFor(QStringLiteral("Total All Payments"), txtTotalPaid));
    right->addWidget(txtTotalPaid);
    // Only a loan with a balloon shows it.
    txtBalloon = makeResultBox("txtBalloon", frame);
    lblBalloon = labelFor(QStringLiteral("Balloon Payment:"), txtBalloon);
    grid->addWidget(lblBalloon, 4, 0);
    grid->addWidget(txtBalloon, 4, 1);
    // Its place is kept, so the page needs no more room once a balloon shows.
    for (QWidget* balloon : {static_cast<QWidget*>(lblBalloon), static_cast<QWidget*>(txtBalloon)}) {
        QSizePolicy policy = balloon->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        balloon->setSizePolicy(policy);
        balloon->hide();
    }
    grid->addLayout(right, 0, 3, 3, 1);
    grid->setColumnMinimumWidth(2, 20);
    grid->setVerticalSpacing(2);
    layout->addWidget(Frame2);

    fraAPR = new QGroupBox(QStringLiteral("Annual Percentage Rate"), page);
    fraAPR->setObjectName(QStringLiteral("fraAPR"));
    auto* apr = new QGridLayout(fraAPR);
    txtAmountFinanced = makeResultBox("txtAmountFinanced", fraAPR);
    txtFinanceCharge = makeResultBox("txtFinanceCharge", fraAPR);
    txtAPR = makeResultBox("txtAPR", fraAPR);
    int column = 0;
    for (const auto& [caption, box] : {std::pair{"Amount Financed:", txtAmountFinanced},
                                       std::pair{"Finance Charge:", txtFinanceCharge}, std::pair{"APR:", txtAPR}}) {
        auto* label = new QLabel(QString::fromLatin1(caption), fraAPR);
        label->setBuddy(box);
        apr->addWidget(label, 0, column++);
        apr->addWidget(box, 0, column++);
    }
    layout->addWidget(fraAPR);
}

void SummaryGraphPage::showFigures(const LoanFigures& figures)
{
    txtPrincipal->setText(figures[Figure::Principal]);
    txtExtraPayments->setText(figures[Figure::ExtraPayments]);
    showRoundingNote(*lblExtraPaymentsNote, *txtExtraPayments, figures.roundingNote);
    txtInterest->setText(figures[Figure::Interest]);
    txtTotalPrincipal->setText(figures[Figure::TotalPrincipal]);
    txtTotalPaid->setText(figures[Figure::TotalPaid]);
    txtAmountFinanced->setText(figures[Figure::AmountFinanced]);
    txtFinanceCharge->setText(figures[Figure::FinanceCharge]);
    txtAPR->setText(figures[Figure::AnnualPercentageRate]);
    txtBalloon->setText(figures[Figure::BalloonPayment]);
    for (QWidget* shown : {static_cast<QWidget*>(lblBalloon), static_cast<QWidget*>(txtBalloon)})
        shown->setVisible(!figures[Figure::BalloonPayment].isEmpty());
}

void SummaryGraphPage::showChart(const engine::SummaryFigures& summary)
{
    if (!chart) {
        chart = new SummaryChart(Frame1);
        chart->setObjectName(QStringLiteral("chSummary"));
        chart->setAccessibleName(QStringLiteral("Summary Graph"));
        const QFontMetrics metrics(chart->font());
        chart->setMinimumSize(24 * metrics.averageCharWidth(), 13 * metrics.height());
        Frame1->layout()->addWidget(chart);
    }
    chart->setValues(summary.interest, summary.extraPayments, summary.principal);
}
