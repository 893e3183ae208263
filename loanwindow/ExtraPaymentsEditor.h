#pragma once

#include "ExtraPaymentRow.h"
#include "LoanRecord.h"

#include <QObject>

#include <optional>
#include <vector>

class Clock;
class DateBox;
class ExtraPaymentsPage;
class Messages;
class QTabWidget;
class QWidget;

// The extra payments table and the entry fields below it, on the page's own
// controls. The table's model is the only place the window keeps its extra
// payments, as typed rows; the fields edit the selected row in place (type at
// once, dates and amount on focus loss), converted once as they are entered.
// Every edit is reported through edited(), which the window turns into
// DataHasChanged.
class ExtraPaymentsEditor : public QObject {
    Q_OBJECT
public:
    // `tabs` holds the page: leaving the page is not leaving a field.
    ExtraPaymentsEditor(ExtraPaymentsPage& page, const QTabWidget& tabs, Messages& messages, const Clock& clock,
                        QWidget* window);

    void clearPaymentEntry();
    void addPaymentRow();
    void deletePayment();
    // Shows no extra payments and an empty entry (a new loan).
    void clear();

    // Enables or disables every input of the page as one group.
    void setInputsEnabled(bool enabled);

    // The rows as they stand, for the run and for saving.
    const std::vector<ExtraPaymentRow>& rows() const;

    // Fills the table from stored payments, numbering them 1, 2, 3...; the
    // first row that cannot be shown stops the load there and is handed back
    // as "number - description", keeping the rows before it. When the read
    // itself stopped part-way (`whole` false) the rows read are filled and
    // the editor is left as it was.
    std::optional<QString> loadRecords(const std::vector<ExtraPaymentRecord>& records, bool whole = true);

    // Takes a date typed into the Start or End Date box and not yet read into
    // the selected row; the box whose text is no date, or null.
    DateBox* takeTypedDates();

signals:
    void edited();
    // The user left a date box with a text that is no date.
    void typedDateRefused(DateBox* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enablePaymentEntry(bool lumpSum);
    void showSelectedPayment();
    void selectTableRow(int row);  // -1 switches the highlight off
    void onTableSelection();
    void onTypeClicked(bool lumpSum);
    void onDateLeft(bool start);
    void onAmountLeft();
    // The focus went to the tab bar, or to a window holding it, by a click on the tabs.
    bool clickOnTheTabs(Qt::FocusReason reason) const;
    bool pageLeft() const;
    void setAmountBoxGreyed(bool greyed);

    ExtraPaymentsPage& m_page;
    const QTabWidget& m_tabs;
    Messages& m_messages;
    const Clock& m_clock;
    QWidget* m_window;
    int m_currentRow = -1;  // the row the entry fields edit, from 0; -1 none
    bool m_rowSelected = false;
    bool m_selectingInCode = false;
    bool m_checkingAmount = false;
    Qt::FocusReason m_leaveReason = Qt::OtherFocusReason;
};
