#include "CompareWindowController.h"

#include "ReportCommands.h"
#include "frmCompare.h"
#include "frmLoan.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace {

// Set on a loan window once its changes reach the comparison.
const char* const kWatched = "comparisonWatches";

}  // namespace

CompareWindowController::CompareWindowController(QMdiArea& area, LoanWindows openLoans, ReportCommands& reports)
    : m_area(area), m_openLoans(std::move(openLoans)), m_reports(reports)
{
    // Every window's frame lands on the viewport; its showing and hiding
    // (opening, closing) reach the comparison from there.
    m_area.viewport()->installEventFilter(this);
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
        // Every loan's figures in view where the main window leaves room.
        const QSize room = m_area.viewport()->size();
        m_frame->resize(std::min(room.width(), 700), std::min(room.height(), 680));
        m_frame->show();
        watchLoanWindows();
        refresh();
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
    }
}

bool CompareWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_area.viewport()) {
        // Polished, not added: a frame being added is not yet a frame.
        if (event->type() == QEvent::ChildPolished)
            if (auto* frame = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child()))
                frame->installEventFilter(this);
    } else if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched != m_frame) {
        // A loan window shown once loaded, or hidden by its closing.
        watchLoanWindows();
        refresh();
    }
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

void CompareWindowController::runReport(void (ReportCommands::*command)(const std::vector<ComparedLoan>&))
{
    const std::vector<ComparedLoan> loans = comparedLoans();
    const auto held = m_held;  // for as long as the command and its dialogs last
    (m_reports.*command)(loans);
}

void CompareWindowController::exportTable() { runReport(&ReportCommands::exportComparisonTable); }
void CompareWindowController::exportPdf() { runReport(&ReportCommands::exportComparisonPdf); }
void CompareWindowController::printPreview() { runReport(&ReportCommands::printComparisonPreview); }
void CompareWindowController::print() { runReport(&ReportCommands::printComparison); }
