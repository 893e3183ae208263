#include "AmortizationTablePage.h"

#include "LoanPages.h"
#include "ResultsHeader.h"
#include "ResultsModel.h"
#include "TableCopy.h"

#include <QTabWidget>
#include <QFont>
#include <QFontMetrics>

#include <algorithm>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

using namespace LoanPages;

namespace {

constexpr int kResultColumnTwips[] = {1150, 950, 875, 1000, 875, 1000, 1100};

}  // namespace

AmortizationTablePage::AmortizationTablePage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);

    flxResults = new QTableView(page);
    flxResults->setObjectName(QStringLiteral("flxResults"));
    resultsModel = new ResultsModel(flxResults);
    flxResults->setHorizontalHeader(new ResultsHeader(flxResults));
    flxResults->setModel(resultsModel);

    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(8.25);
    // Where Times New Roman is missing, a condensed face keeps the columns narrow.
    font.setStretch(QFont::SemiCondensed);
    flxResults->setFont(font);

    // The original widths, widened only where this system's font would clip
    // the widest text a column can hold.
    const QFontMetrics metrics(font);
    const QString widest[7] = {QStringLiteral("0000 - 00/00/00"), QStringLiteral("99,999.99"),
                               QStringLiteral("99,999.99"), QStringLiteral("Cummulitive"),
                               QStringLiteral("99,999.99"), QStringLiteral("Cummulitive"),
                               QStringLiteral("999,999.99")};
    for (int column = 0; column < 7; ++column)
        flxResults->setColumnWidth(column, std::max((kResultColumnTwips[column] + 7) / 15,
                                                       metrics.horizontalAdvance(widest[column]) + 10));
    // Uniform row heights keep scrolling and resets cheap however many rows.
    auto* rows = flxResults->verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(flxResults->fontMetrics().height() + 4);
    flxResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    enableTableCopy(*flxResults);
    flxResults->setWordWrap(false);
    flxResults->setCornerButtonEnabled(false);

    layout->addWidget(flxResults);
}
