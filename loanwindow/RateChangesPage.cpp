#include "RateChangesPage.h"

#include "LoanPages.h"
#include "RateChangesModel.h"
#include "RowEditor.h"

#include "DateBox.h"
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace LoanPages;

RateChangesPage::RateChangesPage(QWidget* parent, const Clock& clock, std::function<double()> loanRate,
                                 Messages& messages, QWidget* window)
    : page(new QWidget(parent))
{
    auto* layout = new QGridLayout(page);

    rateChanges = new RateChangesModel(clock, std::move(loanRate), page);
    flxRateChanges = makeRowsTable("flxRateChanges", rateChanges, page);
    flxRateChanges->setAccessibleName(QStringLiteral("Rate changes"));
    const QFontMetrics metrics(flxRateChanges->font());
    flxRateChanges->setColumnWidth(RateChangesModel::From,
                                   metrics.horizontalAdvance(QStringLiteral("12/31/2024")) + 12);
    flxRateChanges->setColumnWidth(RateChangesModel::Rate, metrics.horizontalAdvance(QStringLiteral("99.999")) + 12);
    flxRateChanges->setColumnWidth(RateChangesModel::Mode, metrics.horizontalAdvance(QStringLiteral("Same payment")) + 12);
    layout->addWidget(flxRateChanges, 0, 0);

    auto* entry = new QVBoxLayout;
    auto* fields = new QGridLayout;
    // Alt+F is the File menu's.
    dtRateFrom = makeDatePicker("dtRateFrom", page);
    txtNewRate = makeTextBox("txtNewRate", page);
    cboRateMode = makePaymentRuleList("cboRateMode", page);
    addField(*fields, QStringLiteral("Fro&m:"), dtRateFrom);
    addField(*fields, QStringLiteral("New &rate %:"), txtNewRate);
    addField(*fields, QStringLiteral("Pa&yment:"), cboRateMode);
    entry->addLayout(fields);
    cmdAddRateChange = makeButton(QStringLiteral("Add Rate &Change"), "cmdAddRateChange", page);
    cmdDeleteRateChange = makeButton(QStringLiteral("&Delete Rate Change"), "cmdDeleteRateChange", page);
    cmdRecalculateRates = makeButton(QStringLiteral("Recalc&ulate"), "cmdRecalculateRates", page);
    for (QPushButton* button : {cmdAddRateChange, cmdDeleteRateChange, cmdRecalculateRates})
        entry->addWidget(button);
    entry->addStretch(1);

    layout->addLayout(entry, 0, 1);
    layout->setColumnStretch(0, 1);

    editor = new RowEditor(flxRateChanges, rateChanges, cmdAddRateChange, cmdDeleteRateChange, messages, window);
    editor->addField(dtRateFrom, RateChangesModel::From);
    editor->addField(txtNewRate, RateChangesModel::Rate);
    editor->addChoice(cboRateMode, RateChangesModel::Mode, "currentIndex", &QComboBox::activated);
    editor->setEnabled(true);
}
