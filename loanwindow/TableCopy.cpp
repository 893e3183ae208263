#include "TableCopy.h"

#include "ResultsModel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelection>
#include <QTableView>

#include <algorithm>
#include <climits>

namespace {

// "Principal Current": the upper heading row joined to the lower one.
QString columnHeading(const QAbstractItemModel& model, int column)
{
    const QString top = model.headerData(column, Qt::Horizontal, ResultsModel::TopHeadingRole).toString();
    const QString bottom = model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return top.isEmpty() ? bottom : top + QLatin1Char(' ') + bottom;
}

}  // namespace

QString selectedCellsText(const QAbstractItemModel& model, const QItemSelection& selection, RowHeadings rowHeadings)
{
    const bool named = rowHeadings == RowHeadings::Copied;
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid() || range.model() != &model)
            continue;
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
        left = std::min(left, range.left());
        right = std::max(right, range.right());
    }
    if (bottom < 0)
        return {};

    QString text;
    if (named)
        text += u'\t';
    for (int column = left; column <= right; ++column)
        text += columnHeading(model, column) + (column < right ? u'\t' : u'\n');
    for (int row = top; row <= bottom; ++row) {
        QString line;
        if (named)
            line += model.headerData(row, Qt::Vertical).toString() + u'\t';
        bool any = false;
        for (int column = left; column <= right; ++column) {
            const QModelIndex index = model.index(row, column);
            if (selection.contains(index)) {
                line += index.data().toString();
                any = true;
            }
            line += column < right ? u'\t' : u'\n';
        }
        if (any)
            text += line;
    }
    return text;
}

void enableTableCopy(QTableView& view, RowHeadings rowHeadings)
{
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectItems);

    auto* copy = new QAction(QObject::tr("&Copy"), &view);
    copy->setObjectName(QStringLiteral("actCopyCells"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(copy, &QAction::triggered, &view, [&view, rowHeadings] {
        if (!view.model() || !view.selectionModel())
            return;
        const QString text = selectedCellsText(*view.model(), view.selectionModel()->selection(), rowHeadings);
        if (!text.isEmpty())
            QApplication::clipboard()->setText(text);
    });

    auto* selectAll = new QAction(QObject::tr("Select &All"), &view);
    selectAll->setObjectName(QStringLiteral("actSelectAllCells"));
    selectAll->setShortcut(QKeySequence::SelectAll);
    selectAll->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(selectAll, &QAction::triggered, &view, &QTableView::selectAll);

    view.addAction(copy);
    view.addAction(selectAll);
    view.setContextMenuPolicy(Qt::ActionsContextMenu);
}
