#include "LoanPages.h"
#include "ResultsHeader.h"
#include "ResultsModel.h"

#include <QFont>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace LoanPages {

namespace {

constexpr int kResultColumnTwips[] = {1150, 950, 875, 1000, 875, 1000, 1100};

}  // namespace

QWidget* buildAmortizationTable(frmLoan::Ui& ui)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);

    ui.flxResults = new QTableView(page);
    ui.flxResults->setObjectName(QStringLiteral("flxResults"));
    ui.resultsModel = new ResultsModel(ui.flxResults);
    ui.flxResults->setHorizontalHeader(new ResultsHeader(ui.flxResults));
    ui.flxResults->setModel(ui.resultsModel);

    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(8.25);
    ui.flxResults->setFont(font);

    for (int column = 0; column < 7; ++column)
        ui.flxResults->setColumnWidth(column, (kResultColumnTwips[column] + 7) / 15);
    // Uniform row heights keep scrolling and resets cheap however many rows.
    auto* rows = ui.flxResults->verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(ui.flxResults->fontMetrics().height() + 4);
    ui.flxResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.flxResults->setSelectionMode(QAbstractItemView::NoSelection);
    ui.flxResults->setWordWrap(false);
    ui.flxResults->setCornerButtonEnabled(false);

    layout->addWidget(ui.flxResults);
    return page;
}

}  // namespace LoanPages
