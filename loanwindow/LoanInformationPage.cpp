#include "LoanInformationPage.h"

#include "Loan.h"

#include "LoanPages.h"

#include "LoanTerms.h"

#include <QTabWidget>
#include <QComboBox>
#include "DateBox.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>
#include <tuple>

using namespace LoanPages;

LoanInformationPage::LoanInformationPage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QVBoxLayout(page);

    auto* descriptionRow = new QHBoxLayout;
    txtLoan = makeTextBox("txtLoan", page);
    auto* descriptionLabel = new QLabel(QStringLiteral("Loan &Description:"), page);
    descriptionLabel->setBuddy(txtLoan);
    descriptionRow->addWidget(descriptionLabel);
    descriptionRow->addWidget(txtLoan, 1);
    layout->addLayout(descriptionRow);

    fraLoan = new QGroupBox(QStringLiteral("Loan Data"), page);
    fraLoan->setObjectName(QStringLiteral("fraLoan"));
    auto* grid = new QGridLayout(fraLoan);
    QWidget* frame = fraLoan;

    dtStartDate = makeDatePicker("dtStartDate", frame);
    cboppt = new QComboBox(frame);
    cboppt->setObjectName(QStringLiteral("cboppt"));
    for (auto text : engine::kFrequencyTexts)
        cboppt->addItem(QString::fromUtf8(text.data(), qsizetype(text.size())));
    cboppt->setCurrentIndex(-1);
    // Never narrower than its longest entry: a narrow (tiled) window scrolls.
    cboppt->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Created in reading order, which Tab follows.
    cboCompounding = new QComboBox(frame);
    cboCompounding->setObjectName(QStringLiteral("cboCompounding"));
    for (auto text : engine::kCompoundingTexts)
        cboCompounding->addItem(QString::fromUtf8(text.data(), qsizetype(text.size())));
    txtInterestRate = makeTextBox("txtInterestRate", frame);
    cboTerm = new QComboBox(frame);
    cboTerm->setObjectName(QStringLiteral("cboTerm"));
    for (auto text : engine::kTermTypeTexts)
        cboTerm->addItem(QString::fromUtf8(text.data(), qsizetype(text.size())));
    txtTerm = makeTextBox("txtTerm", frame);
    txtLoanAmount = makeTextBox("txtLoanAmount", frame);
    txtPaymentAmount = makeTextBox("txtPaymentAmount", frame);
    cboCalculate = new QComboBox(frame);
    cboCalculate->setObjectName(QStringLiteral("cboCalculate"));
    cboCalculate->addItems({QStringLiteral("Payment"), QStringLiteral("Loan amount"), QStringLiteral("Interest rate"),
                            QStringLiteral("Term")});
    cboCalculate->setCurrentIndex(0);
    cmdCalculate = new QPushButton(QStringLiteral("&Calculate"), frame);
    cmdCalculate->setObjectName(QStringLiteral("cmdCalculate"));

    int row = 0;
    // Each label names its box for a screen reader, and its access key focuses it.
    auto labelFor = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, frame);
        label->setBuddy(field);
        return label;
    };
    auto addRow = [&](const QString& caption, QWidget* field) {
        grid->addWidget(labelFor(caption, field), row, 0);
        grid->addWidget(field, row, 1, 1, 2);
        ++row;
    };
    addRow(QStringLiteral("Date of First &Payment:"), dtStartDate);
    addRow(QStringLiteral("Fr&equency:"), cboppt);
    addRow(QStringLiteral("Compoundi&ng:"), cboCompounding);

    grid->addWidget(labelFor(QStringLiteral("Interest &Rate:"), txtInterestRate), row, 0);
    grid->addWidget(txtInterestRate, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("%"), frame), row, 2);
    ++row;

    // "Term:" labels the unit, first in the row: a list takes its spoken name
    // only from a label here. The number beside it is named on its own.
    grid->addWidget(labelFor(QStringLiteral("&Term:"), cboTerm), row, 0);
    txtTerm->setAccessibleName(QStringLiteral("Term length"));
    grid->addWidget(cboTerm, row, 1);
    grid->addWidget(txtTerm, row, 2);
    ++row;

    addRow(QStringLiteral("Loan &Amount:"), txtLoanAmount);
    addRow(QStringLiteral("Payment A&mount:"), txtPaymentAmount);
    auto* calculateLabel = new QLabel(QStringLiteral("Calc&ulate:"), frame);
    calculateLabel->setBuddy(cboCalculate);
    grid->addWidget(calculateLabel, row, 0);
    grid->addWidget(cboCalculate, row, 1, 1, 2);
    ++row;
    lblTermFound = new QLabel(frame);
    lblTermFound->setObjectName(QStringLiteral("lblTermFound"));
    lblTermFound->hide();
    grid->addWidget(lblTermFound, row, 0, 1, 2);
    grid->addWidget(cmdCalculate, row, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    // Beside it, what is optional: the lender's charges and the loan's shape.
    fraCharges = new QGroupBox(QStringLiteral("Charges and Shape"), page);
    fraCharges->setObjectName(QStringLiteral("fraCharges"));
    auto* charges = new QGridLayout(fraCharges);
    dtLoanDate = makeDatePicker("dtLoanDate", fraCharges);
    dtLoanDate->setBlankAllowed(true);
    dtLoanDate->setPlaceholderText(QStringLiteral("a period before"));
    txtFees = makeTextBox("txtFees", fraCharges);
    txtPoints = makeTextBox("txtPoints", fraCharges);
    txtInterestOnly = makeTextBox("txtInterestOnly", fraCharges);
    txtBalloonAfter = makeTextBox("txtBalloonAfter", fraCharges);
    const std::tuple<const char*, QWidget*, const char*> optional[] = {
        {"&Loan Date:", dtLoanDate, ""},
        {"Fee&s:", txtFees, ""},
        {"P&oints:", txtPoints, "%"},
        {"&Interest Only:", txtInterestOnly, "payments"},
        {"&Balloon After:", txtBalloonAfter, "payments"}};
    int line = 0;
    for (const auto& [caption, field, unit] : optional) {
        auto* label = new QLabel(QString::fromUtf8(caption), fraCharges);
        label->setBuddy(field);
        charges->addWidget(label, line, 0);
        charges->addWidget(field, line, 1);
        charges->addWidget(new QLabel(QString::fromUtf8(unit), fraCharges), line, 2);
        ++line;
    }
    charges->setRowStretch(line, 1);
    charges->setColumnStretch(1, 1);

    auto* frames = new QHBoxLayout;
    frames->addWidget(fraLoan, 3);
    frames->addWidget(fraCharges, 2);
    layout->addLayout(frames);
    layout->addStretch(1);

    // Enter in any box presses Calculate, as in a dialog.
    for (QLineEdit* box : {txtLoan, static_cast<QLineEdit*>(dtStartDate), txtInterestRate, txtTerm, txtLoanAmount,
                           txtPaymentAmount, static_cast<QLineEdit*>(dtLoanDate), txtFees, txtPoints, txtInterestOnly,
                           txtBalloonAfter})
        QObject::connect(box, &QLineEdit::returnPressed, cmdCalculate, &QPushButton::click);
}

QWidget* LoanInformationPage::field(LoanField field) const
{
    switch (field) {
    case LoanField::Description: return txtLoan;
    case LoanField::Frequency: return cboppt;
    case LoanField::InterestRate: return txtInterestRate;
    case LoanField::TermType: return cboTerm;
    case LoanField::Term: return txtTerm;
    case LoanField::LoanAmount: return txtLoanAmount;
    case LoanField::PaymentAmount: return txtPaymentAmount;
    case LoanField::Calculate: return cboCalculate;
    case LoanField::Compounding: return cboCompounding;
    case LoanField::Fees: return txtFees;
    case LoanField::Points: return txtPoints;
    case LoanField::LoanDate: return dtLoanDate;
    case LoanField::InterestOnly: return txtInterestOnly;
    case LoanField::BalloonAfter: return txtBalloonAfter;
    }
    return txtLoan;
}

void LoanInformationPage::setInputsEnabled(bool enabled)
{
    txtLoan->setEnabled(enabled);
    fraLoan->setEnabled(enabled);
    fraCharges->setEnabled(enabled);
}
