#include "CompareWindowController.h"

#include "ReportCommands.h"
#include "frmCompare.h"
#include "frmLoan.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// Set on a loan window once its changes reach the comparison.
const char* const kWatched = "comparisonWatches";

}  // namespace

CompareWindowController::CompareWindowController(QMdiArea& area, LoanWindows openLoans, ReportCommands& reports)
    : m_area(area), m_openLoans(std::move(openLoans)), m_reports(reports)
{
    // A new loan window is shown active; closing one activates another.
    connect(&m_area, &QMdiArea::subWindowActivated, this, [this] {
        watchLoanWindows();
        refresh();
    });
}

CompareWindowController::~CompareWindowController() = default;

frmCompare* CompareWindowController::window() const
{
    // A closed window lingers until its deferred deletion; it is no longer open.
    return m_frame && !m_frame->isHidden() ? m_window.data() : nullptr;
}

bool CompareWindowController::isActive() const
{
    return window() && m_area.currentSubWindow() == m_frame;
}

void CompareWindowController::open()
{
    if (!window()) {
        m_window = new frmCompare;
        m_frame = m_area.addSubWindow(m_window);
        m_frame->setWindowIcon(m_area.window()->windowIcon());
        m_frame->installEventFilter(this);
        watchLoanWindows();
        refresh();
        m_frame->show();
    }
    if (m_frame->isMinimized())
        m_frame->showNormal();
    m_area.setActiveSubWindow(m_frame);
    m_frame->raise();
}

void CompareWindowController::watchLoanWindows()
{
    for (frmLoan* loan : m_openLoans()) {
        if (loan->property(kWatched).toBool())
            continue;
        loan->setProperty(kWatched, true);
        connect(loan, &frmLoan::resultsChanged, this, &CompareWindowController::refresh);
        connect(loan, &QWidget::windowTitleChanged, this, &CompareWindowController::refresh);
        if (QWidget* frame = loan->parentWidget())
            frame->installEventFilter(this);
    }
}

bool CompareWindowController::eventFilter(QObject* watched, QEvent* event)
{
    // A loan window's frame hidden by its closing, or shown again.
    if ((event->type() == QEvent::Hide || event->type() == QEvent::Show) && watched != m_frame)
        refresh();
    return QObject::eventFilter(watched, event);
}

std::vector<ComparedLoan> CompareWindowController::comparedLoans()
{
    std::vector<ComparedLoan> loans;
    std::vector<std::shared_ptr<const LoanResult>> held;
    for (frmLoan* loan : m_openLoans()) {
        held.push_back(loan->lastResult());
        loans.push_back({loan->windowTitle(), held.back().get()});
    }
    m_held = std::move(held);
    return loans;
}

void CompareWindowController::refresh()
{
    if (frmCompare* compare = window())
        compare->refresh(comparedLoans());
}

void CompareWindowController::exportTable()
{
    const std::vector<ComparedLoan> loans = comparedLoans();
    const auto held = m_held;  // for as long as the command and its dialogs last
    m_reports.exportComparisonTable(loans);
}

void CompareWindowController::exportPdf()
{
    const std::vector<ComparedLoan> loans = comparedLoans();
    const auto held = m_held;  // for as long as the command and its dialogs last
    m_reports.exportComparisonPdf(loans);
}

void CompareWindowController::printPreview()
{
    const std::vector<ComparedLoan> loans = comparedLoans();
    const auto held = m_held;  // for as long as the command and its dialogs last
    m_reports.printComparisonPreview(loans);
}

void CompareWindowController::print()
{
    const std::vector<ComparedLoan> loans = comparedLoans();
    const auto held = m_held;  // for as long as the command and its dialogs last
    m_reports.printComparison(loans);
}
