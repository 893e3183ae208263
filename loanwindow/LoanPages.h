#pragma once

class DateBox;
class QAbstractItemModel;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QString;
class QTableView;
class QWidget;

// The small pieces every page builds its controls from.
namespace LoanPages {

QLineEdit* makeTextBox(const char* name, QWidget* parent);
QLineEdit* makeResultBox(const char* name, QWidget* parent);  // read-only, grey ground
DateBox* makeDatePicker(const char* name, QWidget* parent);
// A table of rows edited by the fields beside it: whole rows selected one at
// a time, no editing in the cells, no row headings, the last column stretched.
QTableView* makeRowsTable(const char* name, QAbstractItemModel* model, QWidget* parent);
QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent);
// The "New payment" / "Same payment" list of the rate changes and the skips.
QComboBox* makePaymentRuleList(const char* name, QWidget* parent);
// `field` on the next line of `fields` behind its label, whose access key
// reaches it; returns the label.
QLabel* addField(QGridLayout& fields, const QString& caption, QWidget* field);
// Under an extra payments box: what part of its figure is the last payment's
// rounding ("includes $.08 rounding on the last payment", LoanFigures), also
// as the box's tool tip; hidden when there is none.
void showRoundingNote(QLabel& note, QLineEdit& box, const QString& text);

}  // namespace LoanPages
