#include "RateChangesPage.h"

#include "LoanPages.h"
#include "RateChangeRow.h"
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
    auto* fromLabel = new QLabel(QStringLiteral("Fro&m:"), page);
    dtRateFrom = makeDatePicker("dtRateFrom", page);
    fromLabel->setBuddy(dtRateFrom);
    auto* rateLabel = new QLabel(QStringLiteral("New &rate %:"), page);
    txtNewRate = makeTextBox("txtNewRate", page);
    rateLabel->setBuddy(txtNewRate);
    auto* modeLabel = new QLabel(QStringLiteral("Pa&yment:"), page);
    cboRateMode = new QComboBox(page);
    cboRateMode->setObjectName(QStringLiteral("cboRateMode"));
    cboRateMode->addItem(rateChangeModeText(engine::RateChangeMode::NewPayment));
    cboRateMode->addItem(rateChangeModeText(engine::RateChangeMode::SamePayment));
    modeLabel->setBuddy(cboRateMode);
    fields->addWidget(fromLabel, 0, 0);
    fields->addWidget(dtRateFrom, 0, 1);
    fields->addWidget(rateLabel, 1, 0);
    fields->addWidget(txtNewRate, 1, 1);
    fields->addWidget(modeLabel, 2, 0);
    fields->addWidget(cboRateMode, 2, 1);
    entry->addLayout(fields);

    cmdAddRateChange = new QPushButton(QStringLiteral("Add Rate &Change"), page);
    cmdAddRateChange->setObjectName(QStringLiteral("cmdAddRateChange"));
    cmdDeleteRateChange = new QPushButton(QStringLiteral("&Delete Rate Change"), page);
    cmdDeleteRateChange->setObjectName(QStringLiteral("cmdDeleteRateChange"));
    cmdRecalculateRates = new QPushButton(QStringLiteral("Recalc&ulate"), page);
    cmdRecalculateRates->setObjectName(QStringLiteral("cmdRecalculateRates"));
    entry->addWidget(cmdAddRateChange);
    entry->addWidget(cmdDeleteRateChange);
    entry->addWidget(cmdRecalculateRates);
    entry->addStretch(1);

    layout->addLayout(entry, 0, 1);
    layout->setColumnStretch(0, 1);

    editor = new RowEditor(flxRateChanges, rateChanges, cmdAddRateChange, cmdDeleteRateChange, messages, window);
    editor->addField(dtRateFrom, RateChangesModel::From);
    editor->addField(txtNewRate, RateChangesModel::Rate);
    editor->addChoice(cboRateMode, RateChangesModel::Mode, "currentIndex", &QComboBox::activated);
    editor->setEnabled(true);
}
