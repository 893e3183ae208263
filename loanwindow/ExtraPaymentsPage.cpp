#include "ExtraPaymentsPage.h"

#include "DateBox.h"
#include "ExtraPaymentRow.h"
#include "ExtraPaymentsModel.h"
#include "LoanPages.h"
#include "OptionGroup.h"
#include "RowEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
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

QTableView* buildPaymentsTable(ExtraPaymentsModel* model, QWidget* parent)
{
    QTableView* table = makeRowsTable("flxPayments", model, parent);
    // The designed widths (in twips), widened only where this system's font
    // would clip; "Amount" is last and takes the rest of the width.
    const QFontMetrics metrics(table->font());
    const int twips[] = {500, 1000, 1000, 0, 0};
    const QString widest[] = {QStringLiteral("Type"), QStringLiteral("12/31/2024"), QStringLiteral("12/31/2024"),
                              QStringLiteral("$999,999.99"), QStringLiteral("Lower the payment")};
    for (int column = 0; column < ExtraPaymentsModel::ColumnCount; ++column)
        table->setColumnWidth(column, std::max(twips[column] / 15, metrics.horizontalAdvance(widest[column]) + 12));
    return table;
}

}  // namespace

ExtraPaymentsPage::ExtraPaymentsPage(QWidget* parent, const Clock& clock, Messages& messages, QWidget* window)
    : page(new QWidget(parent))
{
    auto* layout = new QGridLayout(page);

    chkSuppressFuture = new QCheckBox(QStringLiteral("Suppress Future Payments in Amortization Table"), page);
    chkSuppressFuture->setObjectName(QStringLiteral("chkSuppressFuture"));
    layout->addWidget(chkSuppressFuture, 0, 0, 1, 2);

    payments = new ExtraPaymentsModel(clock, page);
    flxPayments = buildPaymentsTable(payments, page);
    flxPayments->setAccessibleName(QStringLiteral("Extra payments"));
    layout->addWidget(flxPayments, 1, 0);

    auto* entry = new QVBoxLayout;
    fraType = new OptionGroup(QStringLiteral("Type"), page);
    fraType->setObjectName(QStringLiteral("fraType"));
    optType0 = fraType->addOption(QStringLiteral("Lump Sum"), "optType_0");
    optType1 = fraType->addOption(QStringLiteral("Repeating"), "optType_1");
    optType1->setChecked(true);
    entry->addWidget(fraType);

    auto* fields = new QGridLayout;
    dtBeginDate = makeDatePicker("dtBeginDate", page);
    dtEndDate = makeDatePicker("dtEndDate", page);
    txtXPaymentAmount = makeTextBox("txtXPaymentAmount", page);
    cboThen = new QComboBox(page);
    cboThen->setObjectName(QStringLiteral("cboThen"));
    for (auto then : {engine::ExtraPaymentThen::ShortenTheLoan, engine::ExtraPaymentThen::LowerThePayment})
        cboThen->addItem(extraPaymentThenText(then));
    addField(*fields, QStringLiteral("&Start Date:"), dtBeginDate)->setObjectName(QStringLiteral("Label10"));
    lblEndDate = addField(*fields, QStringLiteral("&End Date:"), dtEndDate);
    lblEndDate->setObjectName(QStringLiteral("lblEndDate"));
    addField(*fields, QStringLiteral("&Amount:"), txtXPaymentAmount)->setObjectName(QStringLiteral("Label9"));
    addField(*fields, QStringLiteral("&Then:"), cboThen);
    // A lump sum hides the end date; its row keeps its place so the amount
    // and the buttons below never move under the mouse.
    for (QWidget* endDate : {static_cast<QWidget*>(lblEndDate), static_cast<QWidget*>(dtEndDate)}) {
        QSizePolicy policy = endDate->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        endDate->setSizePolicy(policy);
    }
    entry->addLayout(fields);

    cmdAddPayment = makeButton(QStringLiteral("Add &Payment"), "cmdAddPayment", page);
    cmdDeletePayment = makeButton(QStringLiteral("&Delete Payment"), "cmdDeletePayment", page);
    cmdRecalculate = makeButton(QStringLiteral("&Recalculate"), "cmdRecalculate", page);
    for (QPushButton* button : {cmdAddPayment, cmdDeletePayment, cmdRecalculate})
        entry->addWidget(button);
    entry->addStretch(1);

    layout->addLayout(entry, 1, 1);
    layout->setColumnStretch(0, 1);

    editor = new RowEditor(flxPayments, payments, cmdAddPayment, cmdDeletePayment, messages, window);
    editor->addField(dtBeginDate, ExtraPaymentsModel::Start);
    editor->addChoice(fraType, ExtraPaymentsModel::Type, "current", &OptionGroup::chosen);
    editor->addField(dtEndDate, ExtraPaymentsModel::Stop);
    editor->addField(txtXPaymentAmount, ExtraPaymentsModel::Amount);
    editor->addChoice(cboThen, ExtraPaymentsModel::Then, "currentIndex", &QComboBox::activated);
    QObject::connect(fraType, &OptionGroup::currentChanged, page, [this](int kind) {
        dtEndDate->setVisible(kind == ExtraPaymentsModel::Repeating);
        lblEndDate->setVisible(kind == ExtraPaymentsModel::Repeating);
    });
    // Back to repeating: the row takes the end date its box still shows.
    QObject::connect(fraType, &OptionGroup::chosen, page, [this](int kind) {
        if (kind == ExtraPaymentsModel::Repeating)
            editor->take(dtEndDate);
    });
}

void ExtraPaymentsPage::setInputsEnabled(bool enabled)
{
    chkSuppressFuture->setEnabled(enabled);
    cmdRecalculate->setEnabled(enabled);
    editor->setEnabled(enabled);
}
