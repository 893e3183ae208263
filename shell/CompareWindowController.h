#pragma once

#include "LoanComparison.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class ReportCommands;
class frmCompare;
class frmLoan;

// The one "Compare Loans" window of the main window: opened or brought to the
// front by its command, and while it is open refreshed at once whenever a
// loan window opens, closes, is run or changes its caption. It also answers
// the File menu's export and print commands while it is the active window.
// It is never a loan window: the close prompts and the loan commands pass it by.
class CompareWindowController : public QObject {
    Q_OBJECT
public:
    using LoanWindows = std::function<QList<frmLoan*>()>;

    // openLoans: the open loan windows in window order.
    CompareWindowController(QMdiArea& area, LoanWindows openLoans, ReportCommands& reports);
    ~CompareWindowController() override;

    // Window > Compare Loans and the toolbar's "Compare".
    void open();
    // The window, while it is open; else null.
    frmCompare* window() const;
    // True while the comparison is the main window's current window.
    bool isActive() const;

    // Every open loan window's caption and last run, in window order; the
    // runs stay held until the next call.
    std::vector<ComparedLoan> comparedLoans();

    void exportTable();
    void exportPdf();
    void printPreview();
    void print();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs one of the comparison's report commands on the loans as they stand now.
    void runReport(void (ReportCommands::*command)(const std::vector<ComparedLoan>&));
    void refresh();
    void watchLoanWindows();

    QMdiArea& m_area;
    LoanWindows m_openLoans;
    ReportCommands& m_reports;
    QPointer<QMdiSubWindow> m_frame;
    QPointer<frmCompare> m_window;
    std::vector<std::shared_ptr<const LoanResult>> m_held;
};
