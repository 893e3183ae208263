#include "CompareWindowController.h"

#include "MdiArrange.h"
#include "ReportCommands.h"
#include "frmCompare.h"
#include "frmLoan.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

CompareWindowController::CompareWindowController(QMdiArea& area, LoanWindows openLoans)
    : m_area(area), m_openLoans(std::move(openLoans))
{
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
        m_frame->resize(kCompareSize);
        showNewWindow(m_area, m_frame);
        refresh();
    }
    if (m_frame->isMinimized())
        m_frame->showNormal();
    m_area.setActiveSubWindow(m_frame);
    m_frame->raise();
}

void CompareWindowController::follow(frmLoan* loan)
{
    // The lowest colour no open loan holds: a new loan takes the one a closed loan freed.
    int slot = 0;
    for (bool taken = true; taken; ) {
        taken = false;
        for (const auto& [other, held] : m_colourSlots)
            if (held == slot) {
                taken = true;
                ++slot;
                break;
            }
    }
    m_colourSlots[loan] = slot;
    connect(loan, &QObject::destroyed, this, [this, loan] { m_colourSlots.erase(loan); });
    connect(loan, &frmLoan::resultsChanged, this, [this] { refresh(); });
    connect(loan, &QWidget::windowTitleChanged, this, [this] { refresh(); });
    // The window is still listed while it agrees to close: leave it out.
    connect(loan, &frmLoan::closed, this, [this, loan] {
        m_colourSlots.erase(loan);
        refresh(loan);
    });
    refresh();
}

std::vector<ComparedLoan> CompareWindowController::comparedLoans(const frmLoan* going)
{
    std::vector<ComparedLoan> loans;
    std::vector<std::shared_ptr<const LoanResult>> held;
    for (frmLoan* loan : m_openLoans()) {
        if (loan == going)
            continue;
        held.push_back(loan->lastResult());
        const auto slot = m_colourSlots.find(loan);
        loans.push_back({loan->windowTitle(), held.back().get(), slot == m_colourSlots.end() ? -1 : slot->second});
    }
    m_held = std::move(held);
    return loans;
}

void CompareWindowController::refresh(const frmLoan* going)
{
    if (frmCompare* compare = window())
        compare->refresh(comparedLoans(going));
}

ReportSubject CompareWindowController::reportSubject()
{
    ReportSubject subject;
    subject.comparison = comparedLoans();
    subject.held = m_held;
    return subject;
}
