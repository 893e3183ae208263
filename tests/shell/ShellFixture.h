#pragma once

// The shell's tests: a shown, active main window on a temporary store, its
// questions answered by a script, and loans typed into new windows as a user
// types them.
#include "LoanWindowFactory.h"
#include "Loans.h"
#include "PinnedLocale.h"
#include "RawStore.h"
#include "ScriptedMessages.h"
#include "TestStore.h"
#include "frmLoan.h"
#include "mdiMain.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

using Kind = ScriptedMessages::Kind;

template <class T> T* child(const QObject* parent, const char* name) { return parent->findChild<T*>(name); }

// Into a box as Tab brings the user there: what it held replaced, then Tab away.
inline void typeInto(QWidget* box, const QString& text)
{
    box->setFocus(Qt::TabFocusReason);
    if (qobject_cast<QLineEdit*>(box)) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
    }
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

struct ShellFixture {
    TestStore store;
    ScriptedMessages messages;
    QtMessages realBoxes;
    FixedClock clock{QDate(2026, 1, 15)};
    std::unique_ptr<mdiMain> main;  // last, so it goes first: its windows hold the store

    // realMessages: the program's own message boxes instead of the script.
    explicit ShellFixture(bool realMessages = false)
    {
        pinUnitedStates();
        main = std::make_unique<mdiMain>(*store, realMessages ? static_cast<Messages&>(realBoxes) : messages, clock);
        main->show();
        QApplication::setActiveWindow(main.get());
        if (!QTest::qWaitForWindowActive(main.get()))
            qFatal("the main window did not become active");
    }

    // A menu item by name ("mnuFileSave"), the main window's "close box", else
    // a click on the toolbar button of that key ("Save").
    void run(const QString& command)
    {
        if (command.startsWith(QLatin1String("mnu")))
            main->findChild<QAction*>(command)->trigger();
        else if (command == QLatin1String("close box"))
            main->close();
        auto* bar = child<QToolBar>(main.get(), "Toolbar1");
        for (QAction* a : bar->actions())
            if (a->data().toString() == command)
                QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // closed windows go
    }

    // File > New, then a monthly loan of 150,000 at `rate` % for 30 years typed in.
    frmLoan* typeLoan(const QString& description, const QString& rate = QStringLiteral("6.5"))
    {
        run(QStringLiteral("mnuFileNew"));
        frmLoan* w = main->activeLoan();
        const std::pair<const char*, QString> entries[] = {{"txtLoan", description}, {"cboppt", "M"},
                                                           {"txtInterestRate", rate},  {"cboTerm", "Y"},
                                                           {"txtTerm", "30"},          {"txtLoanAmount", "150000"}};
        for (const auto& [box, text] : entries)
            typeInto(child<QWidget>(w, box), text);
        return w;
    }
    frmLoan* calculatedLoan(const QString& description)
    {
        frmLoan* w = typeLoan(description);
        QTest::mouseClick(child<QPushButton>(w, "cmdCalculate"), Qt::LeftButton);
        return w;
    }

    // A loan stored as another session left it; its key.
    int storeLoan(const QString& description, double amount = 150000.0)
    {
        SampleLoan sample;
        sample.description = description;
        sample.amount = amount;
        int mode = 0, key = 0;
        if (const auto error = store->saveLoan(mode, key, typedLoan(sample), {}, {}))
            qFatal("cannot store a test loan: %s", error->text().c_str());
        return key;
    }
    QStringList storedDescriptions() const
    {
        QStringList found;
        for (const LoanListEntry& entry : store->listLoans().loans)
            found << entry.description;
        return found;
    }
    // A statement on a second connection to the same file, as another program.
    void breakStore(const QString& statement) { QCOMPARE(rawSql(store.path(), statement), QStringList()); }
    QString status() const { return main->statusBar()->currentMessage(); }
};
