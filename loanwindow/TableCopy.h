#pragma once

#include <QString>

class QAbstractItemModel;
class QItemSelection;
class QTableView;

// Whether a copy starts each line with the row's heading (a table whose rows
// are named, like the comparison); the heading line then starts empty.
enum class RowHeadings { Left, Copied };

// The selected cells as tab-separated text, ready to paste into a
// spreadsheet: a heading line with the columns' headings, then one line per
// row that has a selected cell. Over a ragged selection the lines span the
// selection's bounding columns and cells outside it stay empty.
QString selectedCellsText(const QAbstractItemModel& model, const QItemSelection& selection,
                          RowHeadings rowHeadings = RowHeadings::Left);

// Lets the user select cells (Ctrl+A selects all) and copy them with Ctrl+C or
// the table's context menu.
void enableTableCopy(QTableView& view, RowHeadings rowHeadings = RowHeadings::Left);
