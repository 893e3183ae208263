#include "LoanPages.h"

#include "DescriptionBox.h"
#include "LoanTerms.h"

#include <QTabWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace LoanPages {

QWidget* buildLoanInformation(frmLoan::Ui& ui)
{
    auto* page = new QWidget(ui.tabLoan);
    auto* layout = new QVBoxLayout(page);

    auto* descriptionRow = new QHBoxLayout;
    ui.txtLoan = new DescriptionBox(page);
    ui.txtLoan->setObjectName(QStringLiteral("txtLoan"));
    ui.txtLoan->setMaxLength(std::numeric_limits<int>::max());
    descriptionRow->addWidget(new QLabel(QStringLiteral("Loan Description:"), page));
    descriptionRow->addWidget(ui.txtLoan, 1);
    layout->addLayout(descriptionRow);

    ui.fraLoan = new QGroupBox(QStringLiteral("Loan Data"), page);
    ui.fraLoan->setObjectName(QStringLiteral("fraLoan"));
    auto* grid = new QGridLayout(ui.fraLoan);
    QWidget* frame = ui.fraLoan;

    ui.dtStartDate = makeDatePicker("dtStartDate", frame);
    ui.cboppt = new QComboBox(frame);
    ui.cboppt->setObjectName(QStringLiteral("cboppt"));
    for (auto text : engine::kFrequencyTexts)
        ui.cboppt->addItem(QString::fromUtf8(text.data(), qsizetype(text.size())));
    ui.cboppt->setCurrentIndex(-1);
    // Never narrower than its longest entry: a narrow (tiled) window scrolls.
    ui.cboppt->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ui.txtInterestRate = makeTextBox("txtInterestRate", frame);
    ui.cboTerm = new QComboBox(frame);
    ui.cboTerm->setObjectName(QStringLiteral("cboTerm"));
    for (auto text : engine::kTermTypeTexts)
        ui.cboTerm->addItem(QString::fromUtf8(text.data(), qsizetype(text.size())));
    ui.txtTerm = makeTextBox("txtTerm", frame);
    ui.txtLoanAmount = makeTextBox("txtLoanAmount", frame);
    ui.txtPaymentAmount = makeTextBox("txtPaymentAmount", frame);
    ui.cmdCalculate = new QPushButton(QStringLiteral("&Calculate"), frame);
    ui.cmdCalculate->setObjectName(QStringLiteral("cmdCalculate"));

    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field) {
        grid->addWidget(new QLabel(caption, frame), row, 0);
        grid->addWidget(field, row, 1, 1, 2);
        ++row;
    };
    addRow(QStringLiteral("Date of First Payment:"), ui.dtStartDate);
    addRow(QStringLiteral("Frequency:"), ui.cboppt);

    grid->addWidget(new QLabel(QStringLiteral("Interest Rate:"), frame), row, 0);
    grid->addWidget(ui.txtInterestRate, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("%"), frame), row, 2);
    ++row;

    grid->addWidget(new QLabel(QStringLiteral("Term:"), frame), row, 0);
    grid->addWidget(ui.cboTerm, row, 1);
    grid->addWidget(ui.txtTerm, row, 2);
    ++row;

    addRow(QStringLiteral("Loan Amount:"), ui.txtLoanAmount);
    addRow(QStringLiteral("Payment Amount:"), ui.txtPaymentAmount);
    grid->addWidget(ui.cmdCalculate, row, 1, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    layout->addWidget(ui.fraLoan);
    layout->addStretch(1);
    return page;
}

}  // namespace LoanPages
