#include "SkippedPaymentsPage.h"

#include "DateBox.h"
#include "LoanPages.h"
#include "RowEditor.h"
#include "SkippedPaymentsModel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace LoanPages;

SkippedPaymentsPage::SkippedPaymentsPage(QWidget* parent, const Clock& clock, Messages& messages, QWidget* window)
    : page(new QWidget(parent))
{
    auto* layout = new QGridLayout(page);
    skippedPayments = new SkippedPaymentsModel(clock, page);
    flxSkippedPayments = makeRowsTable("flxSkippedPayments", skippedPayments, page);
    flxSkippedPayments->setAccessibleName(QStringLiteral("Skipped payments"));
    const QFontMetrics metrics(flxSkippedPayments->font());
    flxSkippedPayments->setColumnWidth(SkippedPaymentsModel::From,
                                       metrics.horizontalAdvance(QStringLiteral("12/31/2024")) + 12);
    flxSkippedPayments->setColumnWidth(SkippedPaymentsModel::Count,
                                       metrics.horizontalAdvance(QStringLiteral("Payments")) + 12);
    layout->addWidget(flxSkippedPayments, 0, 0);

    auto* entry = new QVBoxLayout;
    auto* fields = new QGridLayout;
    dtSkipFrom = makeDatePicker("dtSkipFrom", page);
    txtSkipCount = makeTextBox("txtSkipCount", page);
    cboSkipThen = makePaymentRuleList("cboSkipThen", page);
    // Alt+F is the File menu's, Alt+H the Help menu's.
    addField(*fields, QStringLiteral("Fro&m:"), dtSkipFrom);
    addField(*fields, QStringLiteral("&Payments:"), txtSkipCount);
    addField(*fields, QStringLiteral("&Then:"), cboSkipThen);
    entry->addLayout(fields);
    cmdAddSkip = makeButton(QStringLiteral("Add S&kip"), "cmdAddSkip", page);
    cmdDeleteSkip = makeButton(QStringLiteral("&Delete Skip"), "cmdDeleteSkip", page);
    cmdRecalculateSkips = makeButton(QStringLiteral("Recalc&ulate"), "cmdRecalculateSkips", page);
    for (QPushButton* button : {cmdAddSkip, cmdDeleteSkip, cmdRecalculateSkips})
        entry->addWidget(button);
    entry->addStretch(1);
    layout->addLayout(entry, 0, 1);
    layout->setColumnStretch(0, 1);

    editor = new RowEditor(flxSkippedPayments, skippedPayments, cmdAddSkip, cmdDeleteSkip, messages, window);
    editor->addField(dtSkipFrom, SkippedPaymentsModel::From);
    editor->addField(txtSkipCount, SkippedPaymentsModel::Count);
    editor->addChoice(cboSkipThen, SkippedPaymentsModel::Then, "currentIndex", &QComboBox::activated);
    editor->setEnabled(true);
}
