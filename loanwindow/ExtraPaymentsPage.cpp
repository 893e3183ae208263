#include "ExtraPaymentsPage.h"

#include "ExtraPaymentsModel.h"
#include "LoanPages.h"

#include <QCheckBox>
#include "DateBox.h"
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace LoanPages;

namespace {

// Widths in twips, as the grid was laid out: "#" is hidden.
constexpr int kPaymentColumnTwips[] = {0, 500, 1000, 1000, 2000};

QTableView* buildPaymentsTable(ExtraPaymentsModel* model, QWidget* parent)
{
    QTableView* table = makeRowsTable("flxPayments", model, parent);
    // The original widths, widened only where this system's font would clip.
    // "Amount" is last and takes the rest of the width: it starts at what its
    // text needs, so at the window's designed size every column fits whole.
    const QFontMetrics metrics(table->font());
    const QString widest[5] = {QString(), QStringLiteral("Type"), QStringLiteral("12/31/2024"),
                               QStringLiteral("12/31/2024"), QStringLiteral("$999,999.99")};
    for (int column = 0; column < ExtraPaymentsModel::ColumnCount; ++column) {
        const int needed = metrics.horizontalAdvance(widest[column]) + 12;
        table->setColumnWidth(column, column == ExtraPaymentsModel::Amount
                                          ? needed
                                          : std::max(kPaymentColumnTwips[column] / 15, needed));
    }
    table->setColumnHidden(ExtraPaymentsModel::Number, true);
    return table;
}

}  // namespace

ExtraPaymentsPage::ExtraPaymentsPage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QGridLayout(page);

    chkSuppressFuture =
        new QCheckBox(QStringLiteral("Suppress Future Payments in Amortization Table"), page);
    chkSuppressFuture->setObjectName(QStringLiteral("chkSuppressFuture"));
    layout->addWidget(chkSuppressFuture, 0, 0, 1, 2);

    payments = new ExtraPaymentsModel(page);
    flxPayments = buildPaymentsTable(payments, page);
    flxPayments->setAccessibleName(QStringLiteral("Extra payments"));
    layout->addWidget(flxPayments, 1, 0);

    auto* entry = new QVBoxLayout;
    fraType = new QGroupBox(QStringLiteral("Type"), page);
    fraType->setObjectName(QStringLiteral("fraType"));
    auto* typeLayout = new QHBoxLayout(fraType);
    optType0 = new QRadioButton(QStringLiteral("Lump Sum"), fraType);
    optType0->setObjectName(QStringLiteral("optType_0"));
    optType1 = new QRadioButton(QStringLiteral("Repeating"), fraType);
    optType1->setObjectName(QStringLiteral("optType_1"));
    typeLayout->addWidget(optType0);
    typeLayout->addWidget(optType1);
    entry->addWidget(fraType);

    auto* fields = new QGridLayout;
    auto* startLabel = new QLabel(QStringLiteral("&Start Date:"), page);
    startLabel->setObjectName(QStringLiteral("Label10"));
    dtBeginDate = makeDatePicker("dtBeginDate", page);
    lblEndDate = new QLabel(QStringLiteral("&End Date:"), page);
    lblEndDate->setObjectName(QStringLiteral("lblEndDate"));
    dtEndDate = makeDatePicker("dtEndDate", page);
    // A lump sum hides the end date; its row keeps its place so the amount
    // and the buttons below never move under the mouse.
    for (QWidget* endDate : {static_cast<QWidget*>(lblEndDate), static_cast<QWidget*>(dtEndDate)}) {
        QSizePolicy policy = endDate->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        endDate->setSizePolicy(policy);
    }
    auto* amountLabel = new QLabel(QStringLiteral("&Amount:"), page);
    amountLabel->setObjectName(QStringLiteral("Label9"));
    txtXPaymentAmount = makeTextBox("txtXPaymentAmount", page);
    startLabel->setBuddy(dtBeginDate);
    lblEndDate->setBuddy(dtEndDate);
    amountLabel->setBuddy(txtXPaymentAmount);
    fields->addWidget(startLabel, 0, 0);
    fields->addWidget(dtBeginDate, 0, 1);
    fields->addWidget(lblEndDate, 1, 0);
    fields->addWidget(dtEndDate, 1, 1);
    fields->addWidget(amountLabel, 2, 0);
    fields->addWidget(txtXPaymentAmount, 2, 1);
    entry->addLayout(fields);

    cmdAddPayment = new QPushButton(QStringLiteral("Add Payment"), page);
    cmdAddPayment->setObjectName(QStringLiteral("cmdAddPayment"));
    cmdDeletePayment = new QPushButton(QStringLiteral("Delete Payment"), page);
    cmdDeletePayment->setObjectName(QStringLiteral("cmdDeletePayment"));
    cmdRecalculate = new QPushButton(QStringLiteral("Recalculate"), page);
    cmdRecalculate->setObjectName(QStringLiteral("cmdRecalculate"));
    entry->addWidget(cmdAddPayment);
    entry->addWidget(cmdDeletePayment);
    entry->addWidget(cmdRecalculate);
    entry->addStretch(1);

    layout->addLayout(entry, 1, 1);
    layout->setColumnStretch(0, 1);
}
