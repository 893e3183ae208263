#include "LoanWindowFactory.h"

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
    frmLoan* window = create(1, key);
    if (caption)
        window->setWindowTitle(*caption);
    show(window);
    return window;
}

frmLoan* LoanWindowFactory::create(int mode, int key)
{
    auto* window = new frmLoan(m_store, m_messages, m_clock);
    window->Mode = mode;
    window->Loan = key;
    window->load();
    return window;
}

void LoanWindowFactory::show(frmLoan* window)
{
    // The sub-window's title follows the loan window's caption from here on.
    QMdiSubWindow* sub = m_area.addSubWindow(window);
    sub->show();
    m_area.setActiveSubWindow(sub);
}
