#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;

// A date typed as people type it, in the user's short form ("2/15/2024",
// "15.2.24", "2024-02-15"), or picked from a calendar (the button at its end,
// Alt+Down or F4). Up and Down step the day, month or year under the cursor.
//
// A line edit rather than QDateEdit: QDateEdit edits section by section, moves
// on by itself when a section is complete and then lets the typed separator
// skip the next one, so "02/01/2024" became 2/7/0120; it also turns an
// impossible day into another date without a word. Here the whole text is read
// at once when the user leaves the box: a date is taken, anything else is kept
// as typed and refused.
class DateBox : public QLineEdit {
    Q_OBJECT
    // The date is what a row editor reads and shows, not the text.
    Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY dateChanged USER true)
public:
    explicit DateBox(QWidget* parent = nullptr);

    // The last date taken; the text may hold newer typing until it is read.
    // Invalid only in a box that may stay blank, while it is.
    QDate date() const { return m_date; }
    // Shows `date` in the short form; dateChanged() when it differs. An
    // invalid date empties a box that may stay blank and changes no other.
    void setDate(const QDate& date);
    // A box for a date the loan may go without (blank: no date).
    void setBlankAllowed(bool allowed);
    QDate minimumDate() const { return m_minimum; }
    QDate maximumDate() const { return m_maximum; }

    // Reads the text as it stands: a date in range becomes the box's date
    // (true); anything else stays as typed (false).
    bool takeTypedDate();
    // True when the text shows the box's date (nothing typed waits to be read).
    bool showsDate() const;
    // The warning for a typed text that is no date, naming the box by its caption.
    static QString refusal(const QString& caption);

signals:
    void dateChanged(const QDate& date);
    // The user changed the date without typing: a step or the calendar.
    void dateEdited();
    // The user left the box (Tab, a click elsewhere, Enter) with a text that
    // is no date; the text stays for correction.
    void typedDateRefused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCalendar();
    void step(int amount);
    // The field (0, 1 or 2, in the text's order) that holds the cursor.
    int fieldAtCursor() const;
    void leave();

    QDate m_date;
    bool m_blankAllowed = false;
    QDate m_minimum{100, 1, 1};
    QDate m_maximum{9999, 12, 31};
    QCalendarWidget* m_calendar = nullptr;
};
