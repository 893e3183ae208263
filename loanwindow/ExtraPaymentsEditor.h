#pragma once

#include "frmLoan.h"
#include "frmLoanUi.h"
#include "ExtraPaymentRow.h"
#include "LoanRecord.h"

#include <QObject>

#include <optional>
#include <vector>

class Clock;
class Messages;

// The extra payments table and the entry fields below it. The table is the
// only place the window keeps its extra payments; the fields edit the
// selected row in place (type at once, dates and amount on focus loss).
// Every edit is reported through edited(), which the window turns into
// DataHasChanged.
class ExtraPaymentsEditor : public QObject {
    Q_OBJECT
public:
    ExtraPaymentsEditor(frmLoan::Ui& ui, Messages& messages, const Clock& clock, QWidget* window);

    // Row of the table the entry fields edit, counted from 1; 0 = none.
    int currentPaymentRow() const { return m_currentRow; }
    bool paymentRowSelected() const { return m_rowSelected; }

    void clearPaymentEntry();
    void enablePaymentEntry(const QString& typeLetter);
    void showSelectedPayment();
    void addPaymentRow();
    void deletePayment();

    // Enables or disables every input of the tab as one group.
    void setInputsEnabled(bool enabled);

    // The data rows as they stand, for the calculation and for saving.
    std::vector<ExtraPaymentTexts> rows() const;

    // Fills the table from stored payments, numbering them 1, 2, 3...; the
    // first row that cannot be shown stops the load there and is handed back
    // as "number - description", keeping what was filled. When the read
    // itself stopped part-way (`whole` false) the rows read are filled and
    // the editor is left as it was.
    std::optional<QString> loadRecords(const std::vector<ExtraPaymentRecord>& records, bool whole = true);

    // Cell text of data row `row` (from 1) and column 0..4.
    QString cell(int row, int column) const;

signals:
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCell(int row, int column, const QString& text);
    void selectTableRow(int row);  // 0 switches the highlight off
    void onTableSelection();
    void onTypeClicked(int index);
    void onDateLeft(int column);
    void onAmountLeft();
    // The focus went to the tab bar, or to a window holding it, by a click on the tabs.
    bool clickOnTheTabs(Qt::FocusReason reason) const;
    void setAmountBoxGreyed(bool greyed);

    frmLoan::Ui& m_ui;
    Messages& m_messages;
    const Clock& m_clock;
    QWidget* m_window;
    int m_currentRow = 0;
    bool m_rowSelected = false;
    bool m_selectingInCode = false;
    bool m_checkingAmount = false;
};
