#pragma once

#include "LoanComparison.h"
#include "ReportCommands.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QSize>

class QMdiArea;
class QMdiSubWindow;
class frmCompare;
class frmLoan;

// The comparison window's size where the main window leaves room: every
// loan's figures in view.
inline constexpr QSize kCompareSize(700, 680);

// The one "Compare Loans" window of the main window: opened or brought to the
// front by its command, and while it is open refreshed at once whenever a
// loan window opens, closes, is run or changes its caption (the loan windows
// announce each). It also answers the File menu's export and print commands
// while it is the active window.
// It is never a loan window: the close prompts and the loan commands pass it by.
class CompareWindowController : public QObject {
    Q_OBJECT
public:
    using LoanWindows = std::function<QList<frmLoan*>()>;

    // openLoans: the open loan windows in window order.
    CompareWindowController(QMdiArea& area, LoanWindows openLoans);
    ~CompareWindowController() override;

    // Window > Compare Loans and the toolbar's "Compare".
    void open();
    // The window, while it is open; else null.
    frmCompare* window() const;
    // True while the comparison is the main window's current window.
    bool isActive() const;

    // A loan window has opened: it joins the comparison, which follows its
    // runs and caption and lets it go when it closes.
    void follow(frmLoan* loan);

    // Every open loan window's caption and last run, in window order; the
    // runs stay held until the next call.
    // `going` is a window that is closing and is left out.
    std::vector<ComparedLoan> comparedLoans(const frmLoan* going = nullptr);

    // The comparison as the print and export commands take it, runs held.
    ReportSubject reportSubject();

private:
    void refresh(const frmLoan* going = nullptr);

    QMdiArea& m_area;
    LoanWindows m_openLoans;
    std::map<const frmLoan*, int> m_colourSlots;  // each followed loan's line colour, until it closes
    QPointer<QMdiSubWindow> m_frame;
    QPointer<frmCompare> m_window;
    std::vector<std::shared_ptr<const LoanResult>> m_held;
};
