#include "LoanWindowFactory.h"

#include "DisplayText.h"
#include "MdiArrange.h"
#include "frmLoan.h"

#include <QMdiArea>
#include <QMdiSubWindow>

LoanWindowFactory::LoanWindowFactory(QMdiArea& area, LoanStore& store, Messages& messages, const Clock& clock)
    : m_area(area), m_store(store), m_messages(messages), m_clock(clock)
{
}

frmLoan* LoanWindowFactory::newLoan()
{
    frmLoan* window = create(0, 0);
    window->setWindowTitle(kUntitled);
    show(window);
    return window;
}

frmLoan* LoanWindowFactory::openLoan(int key, const std::optional<QString>& caption)
{
    // One window per stored loan: two would each see the other's saves as
    // another program's.
    for (QMdiSubWindow* sub : m_area.subWindowList()) {
        auto* open = qobject_cast<frmLoan*>(sub->widget());
        if (open && !sub->isHidden() && open->Mode() == 1 && open->Loan() == key) {
            if (sub->isMinimized())
                sub->showNormal();
            m_area.setActiveSubWindow(sub);
            return open;
        }
    }
    frmLoan* window = create(1, key);
    if (window->loanMissing()) {
        // Another program deleted it; the window has said so. Never shown.
        auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
        m_area.removeSubWindow(frame);
        delete frame;
        return nullptr;
    }
    if (caption)
        window->setWindowTitle(DisplayText::caption(*caption));
    show(window);
    return window;
}

frmLoan* LoanWindowFactory::create(int mode, int key)
{
    auto* window = new frmLoan(m_store, m_messages, m_clock);
    QObject::connect(window, &frmLoan::copySaved, window, [this, window](int original) { openBehind(original, window); });
    // Inside its frame before loading, so the load sizes the frame; shown
    // only afterwards. The frame's title follows the loan window's caption.
    QMdiSubWindow* frame = m_area.addSubWindow(window);
    frame->setWindowIcon(m_area.window()->windowIcon());
    window->load(mode == 1 ? key : 0);
    return window;
}

void LoanWindowFactory::show(frmLoan* window)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    // Typing starts where the load put the focus: activating a window in a
    // maximised area would move it on to the next box.
    QWidget* start = window->focusWidget();
    showNewWindow(m_area, sub);
    m_area.setActiveSubWindow(sub);
    if (start)
        start->setFocus(Qt::OtherFocusReason);
    emit opened(window);
}

void LoanWindowFactory::openBehind(int key, frmLoan* front)
{
    // The user goes on in the window they were in, where they were.
    QWidget* focus = front->focusWidget();
    openLoan(key);
    m_area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(front->parentWidget()));
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}
