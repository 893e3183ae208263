#pragma once

#include <QObject>
#include <QString>

#include <optional>

class Clock;
class LoanStore;
class Messages;
class QMdiArea;
class QMdiSubWindow;
class frmLoan;

// Creates loan windows inside the main window's MDI area: sets Mode and Loan,
// loads the window once, then shows and activates it, the focus where the
// load put it. A window's Save As Copy opens the loan it copied again beside
// the copy, which keeps the focus.
class LoanWindowFactory : public QObject {
    Q_OBJECT
public:
    LoanWindowFactory(QMdiArea& area, LoanStore& store, Messages& messages, const Clock& clock);

    // A new loan: Mode 0, Loan 0, captioned "Untitled".
    frmLoan* newLoan();
    // A stored loan: Mode 1, Loan = key; a window that already shows it is
    // brought forward instead. The caption is the given one when
    // present, else whatever the load put there (the stored description).
    // Null, and no window, when the store no longer holds the loan (the
    // window's load has said so).
    frmLoan* openLoan(int key, const std::optional<QString>& caption = std::nullopt);

signals:
    // A loan window is loaded, shown and active.
    void opened(frmLoan* window);

private:
    frmLoan* create(int mode, int key);
    void show(frmLoan* window);
    // Opens the stored loan `key` beside `front`, which stays active.
    void openBehind(int key, frmLoan* front);

    QMdiArea& m_area;
    LoanStore& m_store;
    Messages& m_messages;
    const Clock& m_clock;
};

inline const QString kUntitled = QStringLiteral("Untitled");
