#include "RowEditor.h"

#include "DateBox.h"
#include "Messages.h"
#include "NumberedError.h"
#include "RowsModel.h"
#include "WholeNumbers.h"

#include <QApplication>
#include <QDataWidgetMapper>
#include <QPointer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

// The mapper's delegate fills the fields and nothing more: the editor takes
// their values itself, so each passes the model's check first.
class ShowOnlyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

protected:
    bool eventFilter(QObject*, QEvent*) override { return false; }
};

}  // namespace

RowEditor::RowEditor(QTableView* table, RowsModel* model, QPushButton* add, QPushButton* remove, Messages& messages,
                     QWidget* window)
    : QObject(window), m_table(table), m_model(model), m_add(add), m_remove(remove), m_messages(messages),
      m_window(window), m_mapper(new QDataWidgetMapper(this))
{
    m_mapper->setModel(model);
    m_mapper->setItemDelegate(new ShowOnlyDelegate(m_mapper));
    m_mapper->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            m_mapper->setCurrentIndex(current.row());
        updateEnabled();
    });
    connect(add, &QPushButton::clicked, this, &RowEditor::addRow);
    connect(remove, &QPushButton::clicked, this, &RowEditor::deleteRow);
    updateEnabled();
}

void RowEditor::addField(QWidget* field, int column, const char* property)
{
    if (property)
        m_mapper->addMapping(field, column, property);
    else
        m_mapper->addMapping(field, column);
    field->installEventFilter(this);
    m_fields.push_back({field, column});
    updateEnabled();
}

int RowEditor::currentRow() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int RowEditor::columnOf(const QWidget* field) const
{
    for (const Field& f : m_fields)
        if (f.widget == field)
            return f.column;
    return -1;
}

void RowEditor::setEnabled(bool enabled)
{
    m_enabled = enabled;
    updateEnabled();
}

void RowEditor::updateEnabled()
{
    const bool row = currentRow() >= 0;
    m_table->setEnabled(m_enabled);
    m_add->setEnabled(m_enabled);
    m_remove->setEnabled(m_enabled && row);
    for (const Field& f : m_fields)
        f.widget->setEnabled(m_enabled && row);
    if (!row) {
        // No row: nothing shown, and nothing can be typed to be lost.
        for (const Field& f : m_fields)
            if (auto* box = qobject_cast<QLineEdit*>(f.widget); box && !qobject_cast<DateBox*>(box))
                box->clear();
    }
}

void RowEditor::select(int row)
{
    if (row >= 0 && row < m_model->rowCount()) {
        m_table->setCurrentIndex(m_model->index(row, 0));
        m_mapper->setCurrentIndex(row);  // also when it was current already: the row may be new
    } else {
        m_table->clearSelection();
        m_table->setCurrentIndex(QModelIndex());
    }
    updateEnabled();
}

void RowEditor::reset()
{
    select(m_model->rowCount() > 0 ? 0 : -1);
}

void RowEditor::addRow()
{
    if (m_model->rowCount() >= engine::kSixteenBitMax) {
        // The row count is a 16-bit number; one more would overflow.
        m_messages.critical(m_window, QString::fromStdString(engine::overflowError().text()));
        return;
    }
    select(m_model->appendRow());
    if (!m_fields.empty())
        m_fields.front().widget->setFocus(Qt::OtherFocusReason);
    emit edited();
}

void RowEditor::deleteRow()
{
    const int row = currentRow();
    if (row < 0)
        return;
    m_model->removeRow(row);
    // The row that moved up into its place, or the new last one.
    select(std::min(row, m_model->rowCount() - 1));
    if (currentRow() < 0)
        m_add->setFocus(Qt::OtherFocusReason);
    emit edited();
}

QVariant RowEditor::fieldValue(QWidget* field, int column) const
{
    if (auto* date = qobject_cast<DateBox*>(field))
        return date->showsDate() || date->takeTypedDate() ? QVariant(date->date()) : QVariant(QDate());
    const QByteArray property = m_mapper->mappedPropertyName(field);
    Q_UNUSED(column);
    return field->property(property.constData());
}

bool RowEditor::take(QWidget* field, bool insist)
{
    const int row = currentRow();
    // A field hidden for this row (a lump sum's end date) holds nothing of it.
    if (m_refusing || row < 0 || field->isHidden())
        return true;
    const int column = columnOf(field);
    const QModelIndex index = m_model->index(row, column);
    const QVariant before = m_model->data(index, Qt::EditRole);
    const QVariant value = fieldValue(field, column);
    if (value == before)
        return true;
    const QString why = m_model->refusal(index, value);
    if (why.isEmpty()) {
        m_model->setData(index, value, Qt::EditRole);
        if (m_model->data(index, Qt::EditRole) != before)
            emit edited();
        return true;
    }
    // A page the user has left keeps what was typed; Calculate and Save ask again.
    if (!insist && !m_table->isVisible())
        return true;
    m_refusing = true;
    emit pageWanted();
    m_messages.warning(m_window, why);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<QLineEdit*>(field))
        box->selectAll();
    m_refusing = false;
    return false;
}

bool RowEditor::takePending()
{
    for (const Field& f : m_fields)
        if (!take(f.widget, true))
            return false;
    return true;
}

void RowEditor::focusField(int row, int column)
{
    select(row);
    emit pageWanted();
    for (const Field& f : m_fields)
        if (f.column == column) {
            f.widget->setFocus(Qt::OtherFocusReason);
            return;
        }
}

bool RowEditor::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::FocusOut) {
        // The calendar, a context menu, the menu bar or another window taking
        // the focus is not the user leaving the field.
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::PopupFocusReason:
        case Qt::ActiveWindowFocusReason:
        case Qt::MenuBarFocusReason:
            break;
        default: {
            // A click on the tabs gives the focus to the window around the
            // field before the page changes: judge once the click is done.
            const QWidget* to = QApplication::focusWidget();
            if (to && to->isAncestorOf(field))
                QMetaObject::invokeMethod(
                    this, [this, guarded = QPointer<QWidget>(field)] { if (guarded) take(guarded, false); },
                    Qt::QueuedConnection);
            else
                take(field, false);
        }
        }
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            take(field, false);
    }
    return QObject::eventFilter(watched, event);
}
