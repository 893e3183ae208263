#include "LoanPages.h"

#include <QTabWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace LoanPages {

namespace {

// Widths in twips, as the grid was laid out: "#" is hidden.
constexpr int kPaymentColumnTwips[] = {0, 500, 1000, 1000, 2000};

QTableWidget* buildPaymentsTable(QWidget* parent)
{
    auto* table = new QTableWidget(0, 5, parent);
    table->setObjectName(QStringLiteral("flxPayments"));
    table->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Type"), QStringLiteral("Start"),
                                      QStringLiteral("Stop"), QStringLiteral("Amount")});
    // The original widths, widened only where this system's font would clip.
    // "Amount" is last and takes the rest of the width: it starts at what its
    // text needs, so at the window's designed size every column fits whole.
    const QFontMetrics metrics(table->font());
    const QString widest[5] = {QString(), QStringLiteral("Type"), QStringLiteral("12/31/2024"),
                               QStringLiteral("12/31/2024"), QStringLiteral("$999,999.99")};
    for (int column = 0; column < 5; ++column) {
        const int needed = metrics.horizontalAdvance(widest[column]) + 12;
        table->setColumnWidth(column, column == 4 ? needed : std::max(kPaymentColumnTwips[column] / 15, needed));
    }
    table->setColumnHidden(0, true);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    return table;
}

}  // namespace

QWidget* buildExtraPayments(frmLoan::Ui& ui)
{
    auto* page = new QWidget(ui.tabLoan);
    auto* layout = new QGridLayout(page);

    ui.chkSuppressFuture =
        new QCheckBox(QStringLiteral("Suppress Future Payments in Amortization Table"), page);
    ui.chkSuppressFuture->setObjectName(QStringLiteral("chkSuppressFuture"));
    layout->addWidget(ui.chkSuppressFuture, 0, 0, 1, 2);

    ui.flxPayments = buildPaymentsTable(page);
    layout->addWidget(ui.flxPayments, 1, 0);

    auto* entry = new QVBoxLayout;
    ui.fraType = new QGroupBox(QStringLiteral("Type"), page);
    ui.fraType->setObjectName(QStringLiteral("fraType"));
    auto* typeLayout = new QHBoxLayout(ui.fraType);
    ui.optType0 = new QRadioButton(QStringLiteral("Lump Sum"), ui.fraType);
    ui.optType0->setObjectName(QStringLiteral("optType_0"));
    ui.optType1 = new QRadioButton(QStringLiteral("Repeating"), ui.fraType);
    ui.optType1->setObjectName(QStringLiteral("optType_1"));
    typeLayout->addWidget(ui.optType0);
    typeLayout->addWidget(ui.optType1);
    entry->addWidget(ui.fraType);

    auto* fields = new QGridLayout;
    auto* startLabel = new QLabel(QStringLiteral("Start Date:"), page);
    startLabel->setObjectName(QStringLiteral("Label10"));
    ui.dtBeginDate = makeDatePicker("dtBeginDate", page);
    ui.lblEndDate = new QLabel(QStringLiteral("End Date:"), page);
    ui.lblEndDate->setObjectName(QStringLiteral("lblEndDate"));
    ui.dtEndDate = makeDatePicker("dtEndDate", page);
    // A lump sum hides the end date; its row keeps its place so the amount
    // and the buttons below never move under the mouse.
    for (QWidget* endDate : {static_cast<QWidget*>(ui.lblEndDate), static_cast<QWidget*>(ui.dtEndDate)}) {
        QSizePolicy policy = endDate->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        endDate->setSizePolicy(policy);
    }
    auto* amountLabel = new QLabel(QStringLiteral("Amount:"), page);
    amountLabel->setObjectName(QStringLiteral("Label9"));
    ui.txtXPaymentAmount = makeTextBox("txtXPaymentAmount", page);
    fields->addWidget(startLabel, 0, 0);
    fields->addWidget(ui.dtBeginDate, 0, 1);
    fields->addWidget(ui.lblEndDate, 1, 0);
    fields->addWidget(ui.dtEndDate, 1, 1);
    fields->addWidget(amountLabel, 2, 0);
    fields->addWidget(ui.txtXPaymentAmount, 2, 1);
    entry->addLayout(fields);

    ui.cmdAddPayment = new QPushButton(QStringLiteral("Add Payment"), page);
    ui.cmdAddPayment->setObjectName(QStringLiteral("cmdAddPayment"));
    ui.cmdDeletePayment = new QPushButton(QStringLiteral("Delete Payment"), page);
    ui.cmdDeletePayment->setObjectName(QStringLiteral("cmdDeletePayment"));
    ui.cmdRecalculate = new QPushButton(QStringLiteral("Recalculate"), page);
    ui.cmdRecalculate->setObjectName(QStringLiteral("cmdRecalculate"));
    entry->addWidget(ui.cmdAddPayment);
    entry->addWidget(ui.cmdDeletePayment);
    entry->addWidget(ui.cmdRecalculate);
    entry->addStretch(1);

    layout->addLayout(entry, 1, 1);
    layout->setColumnStretch(0, 1);
    return page;
}

}  // namespace LoanPages
