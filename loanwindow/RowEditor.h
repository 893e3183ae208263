#pragma once

#include <QObject>
#include <QByteArray>

#include <vector>

class Messages;
class QDataWidgetMapper;
class QPushButton;
class QTableView;
class QWidget;
class RowsModel;

// The rows of a table edited through the fields beside it, one row at a time:
// the extra payments, the rate changes and the skipped payments alike. Qt's
// QDataWidgetMapper shows the selected row in the fields through each field's
// user property (a DateBox's date, a line edit's text) and follows the model;
// what a field holds goes into the row when the user leaves it (a list or an
// option group at once), checked by the model first: a value the model
// refuses gets its message and the focus back, and the row keeps what it had.
// The fields take nothing while no row is selected, so nothing typed before
// "Add" is thrown away.
class RowEditor : public QObject {
    Q_OBJECT
public:
    RowEditor(QTableView* table, RowsModel* model, QPushButton* add, QPushButton* remove, Messages& messages,
              QWidget* window);

    // A field that edits `column` of the selected row through `property`, or
    // its user property when none is named.
    void addField(QWidget* field, int column, const char* property = nullptr);
    // A choice (a list, an option group): taken as soon as `chosen` says the user chose.
    template <typename Field, typename Signal>
    void addChoice(Field* field, int column, const char* property, Signal chosen)
    {
        addField(field, column, property);
        connect(field, chosen, this, [this, field] { take(field, true); });
    }

    // The page is shown (enabled) or not.
    void setEnabled(bool enabled);
    // Selects a row (-1: none) and shows it in the fields.
    void select(int row);
    int currentRow() const;
    // The fields show the selected row again (after the model was filled anew).
    void reset();
    // Takes what a field holds and has not given the row (Calculate or Save
    // pressed without leaving it). False, after the field's message with its
    // page brought up and the focus in it, when the row refuses it.
    bool takePending();
    // Selects `row` and puts the focus on the field of `column`.
    void focusField(int row, int column);
    // Gives the selected row what `field` holds: true when it went in or was
    // the row's already. A refused value gets its message when the user can
    // see the field (or `insist`); on a page the user has left it stays as
    // typed for takePending().
    bool take(QWidget* field, bool insist = true);

signals:
    // A row was added, deleted or changed.
    void edited();
    // A message about a field is coming: its page is to be shown.
    void pageWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Field {
        QWidget* widget;
        int column;
    };
    void addRow();
    void deleteRow();
    void updateEnabled();
    QVariant fieldValue(QWidget* field, int column) const;
    int columnOf(const QWidget* field) const;

    QTableView* m_table;
    RowsModel* m_model;
    QPushButton* m_add;
    QPushButton* m_remove;
    Messages& m_messages;
    QWidget* m_window;
    QDataWidgetMapper* m_mapper;
    std::vector<Field> m_fields;
    bool m_enabled = false;
    bool m_refusing = false;
};
