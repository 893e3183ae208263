#include "frmCompare.h"

#include "BalanceChart.h"
#include "CompareModel.h"
#include "TableCopy.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

frmCompare::frmCompare(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Compare Loans"));

    m_flxCompare = new QTableView(this);
    m_flxCompare->setObjectName(QStringLiteral("flxCompare"));
    m_flxCompare->setAccessibleName(QStringLiteral("Compared loans"));
    m_model = new CompareModel(m_flxCompare);
    m_flxCompare->setModel(m_model);
    m_flxCompare->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_flxCompare->setWordWrap(false);
    m_flxCompare->setCornerButtonEnabled(false);
    m_flxCompare->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_flxCompare->horizontalHeader()->setMinimumSectionSize(110);
    m_flxCompare->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_flxCompare->verticalHeader()->setDefaultSectionSize(m_flxCompare->fontMetrics().height() + 4);
    enableTableCopy(*m_flxCompare, RowHeadings::Copied);
    // Every figure in view without scrolling; the chart takes the rest.
    m_flxCompare->setMinimumHeight(m_flxCompare->horizontalHeader()->sizeHint().height() +
                                   kCompareRows * m_flxCompare->verticalHeader()->defaultSectionSize() +
                                   2 * m_flxCompare->frameWidth() + m_flxCompare->horizontalScrollBar()->sizeHint().height() +
                                   6);  // the header's own margins, so the last row is not cut

    m_chart = new BalanceChart(this);
    m_chart->setObjectName(QStringLiteral("chCompare"));
    m_chart->setAccessibleName(QStringLiteral("Balance"));
    m_chart->setMinimumHeight(180);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_flxCompare, 0);
    layout->addWidget(m_chart, 1);
    resize(640, 640);
}

void frmCompare::refresh(const std::vector<ComparedLoan>& loans)
{
    m_model->setLoans(loans);
    QList<BalanceLine> lines;
    for (const ComparedLoan& loan : loans)
        if (loan.result)
            lines.append({loan.caption, BalanceChart::rowPoints(loan.result->schedule), loan.colourSlot});
    m_chart->setLines(std::move(lines));
}
