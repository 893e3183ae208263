// Working in the main window all day: where new windows appear and at what
// size, the keys between tabs and windows, the Window menu, the guide beside
// the main window, one window per stored loan, and the dialogs' frames.
#include "ShellFixture.h"

namespace {

QRect areaRect(const ShellFixture& f)
{
    return f.main->mdiArea()->viewport()->rect();
}

QMdiSubWindow* frameOf(QWidget* w)
{
    return qobject_cast<QMdiSubWindow*>(w->parentWidget());
}

}  // namespace

class ShellDesktopTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

private slots:
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

    // Each new window lies wholly inside the area, on a small main window too.
    void newWindowsInView_data()
    {
        QTest::addColumn<QSize>("mainSize");
        QTest::addColumn<QString>("how");
        QTest::newRow("first size, twelve loans") << QSize() << "twelve";
        QTest::newRow("500x400, save as copy") << QSize(500, 400) << "copy";
        QTest::newRow("500x400, compare") << QSize(500, 400) << "compare";
    }
    void newWindowsInView()
    {
        QFETCH(QSize, mainSize);
        QFETCH(QString, how);
        if (mainSize.isValid())
            f->main->resize(mainSize);
        QCoreApplication::processEvents();
        frmLoan* first = f->typeLoan("First");
        f->typeLoan("Second");
        if (how == "copy") {
            QVERIFY(first->save());
            f->main->mdiArea()->setActiveSubWindow(frameOf(first));
            f->run("mnuFileSaveAs");
        } else if (how == "compare") {
            f->run("mnuWindowCompare");
        } else {
            for (int i = 3; i <= 12; ++i)
                f->run("mnuFileNew");
        }
        for (QMdiSubWindow* sub : f->main->mdiArea()->subWindowList())
            QVERIFY2(areaRect(*f).contains(sub->geometry()), qPrintable(sub->windowTitle()));
    }

    // At the first size every tab's name of a new window is whole, after Cascade too.
    void tabNamesWhole_data()
    {
        QTest::addColumn<bool>("cascaded");
        QTest::newRow("first window") << false;
        QTest::newRow("cascaded") << true;
    }
    void tabNamesWhole()
    {
        QFETCH(bool, cascaded);
        frmLoan* first = f->typeLoan("First");
        f->typeLoan("Second");
        if (cascaded)
            f->run("mnuWindowCascade");
        auto* bar = child<QTabWidget>(first, "tabLoan")->tabBar();
        QVERIFY(bar->tabRect(bar->count() - 1).right() < bar->width());
        QVERIFY(areaRect(*f).contains(frameOf(first)->geometry()));
    }

    // After a maximised window the next is maximised for real, and typing
    // starts in its description.
    void newWindowAfterAMaximisedOne()
    {
        frmLoan* first = f->typeLoan("First");
        frameOf(first)->showMaximized();
        QTest::keyClick(f->main.get(), Qt::Key_N, Qt::ControlModifier);
        frmLoan* next = f->main->activeLoan();
        QVERIFY(next != first && frameOf(next)->isMaximized());
        QCOMPARE(frameOf(next)->geometry(), areaRect(*f));
        QTest::keyClicks(QApplication::focusWidget(), "Car");
        QCOMPARE(next->description(), "Car");
    }

    // The main window starts wholly on the screen (run at a scale of 2 as well).
    void mainWindowOnTheScreen()
    {
        QVERIFY(f->main->screen()->availableGeometry().contains(f->main->geometry()));
    }

    // The desktop's keys for the windows: Ctrl+F4 closes one, Ctrl+F6 goes to the next.
    void windowKeys_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<int>("windows");  // open loan windows after; "First" is active
        QTest::newRow("Ctrl+F4 closes") << QKeySequence(Qt::CTRL | Qt::Key_F4) << 1;
        QTest::newRow("Ctrl+F6 next window") << QKeySequence(Qt::CTRL | Qt::Key_F6) << 2;
    }
    void windowKeys()
    {
        QFETCH(QKeySequence, key);
        QFETCH(int, windows);
        f->typeLoan("First");
        f->typeLoan("Second")->markUnchanged();
        QTest::keySequence(QApplication::focusWidget(), key);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(f->main->openLoans().size(), windows);
        QCOMPARE(f->main->activeLoan()->description(), "First");
        QVERIFY(f->messages.shown().isEmpty());
    }

    // Alt with a letter no control answers to types nothing into a box.
    void accessKeysDoNotType()
    {
        frmLoan* w = f->typeLoan("Car");
        for (const char* name : {"txtLoan", "txtTerm", "dtStartDate"}) {
            auto* edit = child<QLineEdit>(w, name);
            edit->setFocus();
            const QString before = edit->text();
            QTest::keyClick(edit, Qt::Key_Q, Qt::AltModifier);
            QCOMPARE(edit->text(), before);
        }
    }

    // Tab enters the extra payments table once and leaves it with the next Tab.
    void tabLeavesThePaymentsTable()
    {
        frmLoan* w = f->calculatedLoan("Car");
        child<QTabWidget>(w, "tabLoan")->setCurrentIndex(1);
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(child<QPushButton>(w, "cmdAddPayment"), Qt::LeftButton);
        auto* table = child<QTableView>(w, "flxPayments");
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != table);
    }

    // The Window menu's entries take their number as access key; a caption's "&" is text.
    void windowMenuNumbersItsWindows()
    {
        f->typeLoan("Van");
        frmLoan* second = f->typeLoan("R&D");
        f->run("mnuWindowNext");
        QTest::keyClick(f->main.get(), Qt::Key_W, Qt::AltModifier);
        auto* menu = child<QMenu>(f->main.get(), "mnuWindow");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions().last()->iconText(), "2 R&D");
        QTest::keyClick(menu, Qt::Key_2);
        QCOMPARE(f->main->activeLoan(), second);
    }

    // The guide opens beside the main window, never over its menus.
    void helpBesideTheMainWindow()
    {
        f->run("mnuHelpContents");
        QWidget* help = QApplication::activeWindow();
        QVERIFY(help && help != f->main.get());
        const QRect menus(f->main->menuBar()->mapToGlobal(QPoint(0, 0)), f->main->menuBar()->size());
        QVERIFY(!help->frameGeometry().intersects(menus));
        help->close();
    }

    // A stored loan opened again brings its window forward.
    void openingAnOpenLoanBringsItForward()
    {
        const int car = f->storeLoan("Car");
        frmLoan* first = f->main->loanWindows().openLoan(car);
        f->main->loanWindows().openLoan(f->storeLoan("Van"));
        QCOMPARE(f->main->loanWindows().openLoan(car), first);
        QCOMPARE(f->main->openLoans().size(), 2);
        QCOMPARE(f->main->activeLoan(), first);
    }

    // Exit asks about each changed window with that window in front.
    void exitShowsEachWindowItAsksAbout()
    {
        frmLoan* first = f->typeLoan("First");
        frameOf(f->typeLoan("Second"))->showMaximized();
        QStringList shownWhenAsked;
        f->messages.onAsk = [&] { shownWhenAsked << f->main->activeLoan()->description(); };
        f->messages.dismiss();  // "not now" at the first question
        f->run("close box");
        QCOMPARE(shownWhenAsked, QStringList{"First"});
        QCOMPARE(f->main->activeLoan(), first);
        for (frmLoan* w : f->main->openLoans())
            w->markUnchanged();
    }
};

QTEST_MAIN(ShellDesktopTest)
#include "tst_shell_desktop.moc"
