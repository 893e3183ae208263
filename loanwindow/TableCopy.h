#pragma once

#include <QString>

class QAbstractItemModel;
class QItemSelection;
class QTableView;

// The selected cells as tab-separated text, ready to paste into a
// spreadsheet: a heading line with the columns' headings, then one line per
// row that has a selected cell. Over a ragged selection the lines span the
// selection's bounding columns and cells outside it stay empty.
QString selectedCellsText(const QAbstractItemModel& model, const QItemSelection& selection);

// Lets the user select cells (Ctrl+A selects all) and copy them with Ctrl+C or
// the table's context menu.
void enableTableCopy(QTableView& view);
