#include "AmortizationTablePage.h"

#include "ResultsHeader.h"
#include "ResultsModel.h"
#include "TableCopy.h"
#include "YearlyModel.h"

#include <QButtonGroup>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kResultColumnTwips[] = {1150, 950, 875, 1000, 875, 1000, 1100};

QFont tableFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(8.25);
    // Where Times New Roman is missing, a condensed face keeps the columns narrow.
    font.setStretch(QFont::SemiCondensed);
    return font;
}

// What both tables share: the font, fixed row heights (cheap scrolling and
// resets however many rows), read-only cells that can be selected and copied.
void setUpTable(QTableView& table)
{
    table.setFont(tableFont());
    auto* rows = table.verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(table.fontMetrics().height() + 4);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    enableTableCopy(table);
    table.setWordWrap(false);
    table.setCornerButtonEnabled(false);
}

// The original widths, widened only where this system's font would clip the
// widest text a column can hold.
void setColumnWidths(QTableView& table, const QStringList& widest, const int* twips)
{
    const QFontMetrics metrics(table.font());
    for (int column = 0; column < widest.size(); ++column)
        table.setColumnWidth(column, std::max((twips[column] + 7) / 15, metrics.horizontalAdvance(widest[column]) + 10));
}

}  // namespace

AmortizationTablePage::AmortizationTablePage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);

    auto* choice = new QHBoxLayout;
    optEachPayment = new QRadioButton(QStringLiteral("Each &payment"), page);
    optEachPayment->setObjectName(QStringLiteral("optEachPayment"));
    optEachYear = new QRadioButton(QStringLiteral("Each &year"), page);
    optEachYear->setObjectName(QStringLiteral("optEachYear"));
    auto* group = new QButtonGroup(page);
    group->addButton(optEachPayment);
    group->addButton(optEachYear);
    optEachPayment->setChecked(true);
    choice->addWidget(optEachPayment);
    choice->addWidget(optEachYear);
    choice->addStretch(1);
    layout->addLayout(choice);

    flxResults = new QTableView(page);
    flxResults->setObjectName(QStringLiteral("flxResults"));
    flxResults->setAccessibleName(QStringLiteral("Amortization table, each payment"));
    resultsModel = new ResultsModel(flxResults);
    flxResults->setHorizontalHeader(new ResultsHeader(flxResults));
    flxResults->setModel(resultsModel);
    setUpTable(*flxResults);
    setColumnWidths(*flxResults,
                    {QStringLiteral("0000 - 00/00/00"), QStringLiteral("99,999.99"), QStringLiteral("99,999.99"),
                     QStringLiteral("Cummulitive"), QStringLiteral("99,999.99"), QStringLiteral("Cummulitive"),
                     QStringLiteral("999,999.99")},
                    kResultColumnTwips);
    // Room for the rate change marker beside the payment's number and date,
    // only while a run has rate changes.
    QObject::connect(resultsModel, &QAbstractItemModel::modelReset, flxResults,
            [table = flxResults, model = resultsModel, plain = flxResults->columnWidth(0)] {
                const int marker = table->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, table) + 6;
                table->setColumnWidth(0, plain + (model->marksRows() ? marker : 0));
            });

    flxYearly = new QTableView(page);
    flxYearly->setObjectName(QStringLiteral("flxYearly"));
    flxYearly->setAccessibleName(QStringLiteral("Amortization table, each year"));
    yearlyModel = new YearlyModel(flxYearly);
    flxYearly->setModel(yearlyModel);
    setUpTable(*flxYearly);
    // The heading row as tall as the payment table's two, in the same font.
    flxYearly->horizontalHeader()->setFont(flxYearly->font());
    flxYearly->horizontalHeader()->setMinimumHeight(flxResults->horizontalHeader()->sizeHint().height());
    flxYearly->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    static constexpr int kYearlyColumnTwips[] = {700, 800, 1100, 1000, 1100, 1150, 1150};
    setColumnWidths(*flxYearly,
                    {QStringLiteral("Total"), QStringLiteral("Payments"), QStringLiteral("9,999,999.99"),
                     QStringLiteral("9,999,999.99"), QStringLiteral("9,999,999.99"), QStringLiteral("9,999,999.99"),
                     QStringLiteral("Balance Due")},
                    kYearlyColumnTwips);

    views = new QStackedWidget(page);
    views->setObjectName(QStringLiteral("stkAmortization"));
    views->addWidget(flxResults);
    views->addWidget(flxYearly);
    layout->addWidget(views, 1);
    QObject::connect(optEachYear, &QRadioButton::toggled, views,
                     [this](bool years) { views->setCurrentWidget(years ? flxYearly : flxResults); });
}

bool AmortizationTablePage::showsYears() const
{
    return optEachYear->isChecked();
}

QTableView* AmortizationTablePage::shownTable() const
{
    return showsYears() ? flxYearly : flxResults;
}
