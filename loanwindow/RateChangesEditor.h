#pragma once

#include "LoanRecord.h"
#include "RateChangeRow.h"

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

class Clock;
class DateBox;
class Messages;
class QTabWidget;
class QWidget;
struct RateChangesPage;

// The rate changes table and the fields beside it, as the extra payments
// editor works: the model is the only place the window keeps its rate
// changes, as typed rows; the fields edit the selected row in place (the mode
// at once, the date and the rate when the user leaves them), and every edit
// is reported through edited().
class RateChangesEditor : public QObject {
    Q_OBJECT
public:
    // `tabs` holds the page: leaving the page is not leaving a field.
    // `loanRate` gives the rate a new row starts with (the loan's own).
    RateChangesEditor(RateChangesPage& page, const QTabWidget& tabs, Messages& messages, const Clock& clock,
                      std::function<double()> loanRate, QWidget* window);

    void addRow();
    void deleteRow();
    // No rate changes, the fields empty and disabled (a new loan).
    void clear();

    const std::vector<RateChangeRow>& rows() const;

    // Fills the table from stored rows; the first row that cannot be used
    // stops the load there (the rows before it are shown) and is handed back
    // as "number - description". With `whole` false (the read stopped
    // part-way) the rows read are shown and nothing is selected.
    std::optional<QString> loadRecords(const std::vector<RateChangeRecord>& records, bool whole = true);

    // Reads what was typed into the date and rate boxes and not yet taken
    // (Calculate or Save without leaving the box). The date box whose text is
    // no date, or null; a rate that does not convert is refused with its
    // message and false.
    DateBox* takeTypedDate();
    bool takeTypedRate();

    // Brings the row `row` into the fields and puts the focus on `column`'s
    // field (after a message about it).
    void focusField(int row, RateChangeColumn column);

signals:
    void edited();
    // The user left the date box with a text that is no date.
    void typedDateRefused(DateBox* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectRow(int row);  // -1: none
    void showRow();
    void enableFields(bool enabled);
    void onSelection();
    void onDateTaken();
    void onModeChosen(int index);
    // The rate box read into the row; false (after the message) when it does not convert.
    bool readRate(bool leaving);
    bool pageLeft() const;

    RateChangesPage& m_page;
    const QTabWidget& m_tabs;
    Messages& m_messages;
    const Clock& m_clock;
    std::function<double()> m_loanRate;
    QWidget* m_window;
    int m_currentRow = -1;
    bool m_showing = false;
    bool m_checkingRate = false;
};
