// Working in the main window all day: where new windows appear, the keys
// between tabs and windows, the access keys that must not type, the picker's
// Esc, the dialogs' frames and default buttons, one window per stored loan,
// and Exit showing each window it asks about.
#include "DialogFlags.h"
#include "ShellFixture.h"

namespace {

// What a desktop user presses, sent where the focus is.
void press(const QKeySequence& key)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    QVERIFY(target);
    QTest::keySequence(target, key);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QRect areaRect(const ShellFixture& f)
{
    return child<QMdiArea>(f.main.get(), "mdiArea")->viewport()->rect();
}

}  // namespace

class ShellDesktopTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

    frmLoan* calculatedWindow(const QString& description)
    {
        frmLoan* w = f->newWindow(description);
        child<QPushButton>(w, "cmdCalculate")->click();
        return w;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { QVERIFY(startActive(f)); }
    void cleanup() { endUnprompted(f); }

    // Each new window lies wholly inside the area, on a small main window too.
    void newWindowsInView_data()
    {
        QTest::addColumn<QSize>("mainSize");
        QTest::addColumn<QString>("how");
        for (const QSize size : {QSize(1024, 700), QSize(681, 560), QSize(500, 400)}) {
            const QByteArray at = QByteArray::number(size.width()) + "x" + QByteArray::number(size.height());
            QTest::newRow(at + " third loan") << size << "third";
            QTest::newRow(at + " save as copy") << size << "copy";
            QTest::newRow(at + " compare") << size << "compare";
            QTest::newRow(at + " twelve loans") << size << "twelve";
        }
    }
    void newWindowsInView()
    {
        QFETCH(QSize, mainSize);
        QFETCH(QString, how);
        f->main->resize(mainSize);
        QCoreApplication::processEvents();
        frmLoan* first = calculatedWindow("First");
        calculatedWindow("Second");
        if (how == "third") {
            calculatedWindow("Third");
        } else if (how == "copy") {
            QVERIFY(first->save());
            child<QMdiArea>(f->main.get(), "mdiArea")->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
            f->run("mnuFileSaveAs");
        } else if (how == "compare") {
            f->run("mnuWindowCompare");
        } else {
            for (int i = 3; i <= 12; ++i)
                calculatedWindow(QStringLiteral("Loan %1").arg(i));
        }
        const QRect area = areaRect(*f);
        const QList<QMdiSubWindow*> windows = child<QMdiArea>(f->main.get(), "mdiArea")->subWindowList();
        QVERIFY(windows.size() >= 3);
        for (QMdiSubWindow* sub : windows)
            QVERIFY2(area.contains(sub->geometry()),
                     qPrintable(sub->windowTitle() + QStringLiteral(" at %1,%2 %3x%4 outside %5x%6")
                                                         .arg(sub->x()).arg(sub->y()).arg(sub->width())
                                                         .arg(sub->height()).arg(area.width()).arg(area.height())));
    }

    // After a maximised window, the next one is maximised for real: it fills the area.
    void newWindowAfterAMaximisedOne_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Ctrl+N") << "new";
        QTest::newRow("compare") << "compare";
    }
    void newWindowAfterAMaximisedOne()
    {
        QFETCH(QString, how);
        frmLoan* first = calculatedWindow("First");
        qobject_cast<QMdiSubWindow*>(first->parentWidget())->showMaximized();
        QCoreApplication::processEvents();
        if (how == "new")
            QTest::keyClick(f->main.get(), Qt::Key_N, Qt::ControlModifier);
        else
            f->run("mnuWindowCompare");
        QCoreApplication::processEvents();
        QMdiSubWindow* current = child<QMdiArea>(f->main.get(), "mdiArea")->currentSubWindow();
        QVERIFY(current && current->widget() != first);
        QVERIFY(current->isMaximized());
        QCOMPARE(current->geometry(), areaRect(*f));
        // Typing starts in the new loan's description.
        if (auto* loan = qobject_cast<frmLoan*>(current->widget())) {
            QTest::keyClicks(QApplication::focusWidget(), "Car");
            QCOMPARE(loan->description(), "Car");
        }
    }

    // Every tab's name whole in a new window, after Cascade too (never squashed).
    void tabNamesWhole_data()
    {
        QTest::addColumn<bool>("cascaded");
        QTest::newRow("first window") << false;
        QTest::newRow("cascaded") << true;
    }
    void tabNamesWhole()
    {
        QFETCH(bool, cascaded);
        frmLoan* first = f->newWindow("First");
        f->newWindow("Second");
        if (cascaded)
            f->run("mnuWindowCascade");
        auto* bar = child<QTabWidget>(first, "tabLoan")->tabBar();
        QVERIFY(bar->tabRect(bar->count() - 1).right() < bar->width());
        QVERIFY(areaRect(*f).contains(first->parentWidget()->geometry()));
    }

    // The guide opens beside the main window, never over its menus.
    void helpBesideTheMainWindow()
    {
        f->run("mnuHelpContents");
        auto* help = qobject_cast<QWidget*>(QApplication::activeWindow());
        QVERIFY(help && help != f->main.get());
        const QRect menus(f->main->menuBar()->mapToGlobal(QPoint(0, 0)), f->main->menuBar()->size());
        QVERIFY(!help->frameGeometry().intersects(menus));
        help->close();
    }

    // The Window menu's entries take their number as access key; a caption's "&" is text.
    void windowMenuNumbersItsWindows()
    {
        f->newWindow("Van");
        frmLoan* second = f->newWindow("R&D");
        f->run("mnuWindowNext");
        QTest::keyClick(f->main.get(), Qt::Key_W, Qt::AltModifier);
        auto* menu = child<QMenu>(f->main.get(), "mnuWindow");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions().last()->iconText(), "2 R&D");
        QTest::keyClick(menu, Qt::Key_2);
        QCOMPARE(f->main->activeLoan(), second);
    }

    // The main window starts wholly on the screen (run at a scale of 2 as well).
    void mainWindowOnTheScreen()
    {
        const QRect screen = f->main->screen()->availableGeometry();
        QVERIFY2(screen.contains(f->main->geometry()),
                 qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                .arg(f->main->width()).arg(f->main->height()).arg(screen.width()).arg(screen.height())));
    }

    // The desktop's keys: tabs of the loan window, closing it, the next window.
    void keys_data()
    {
        QTest::addColumn<bool>("calculated");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<int>("tab");           // the loan window's tab after
        QTest::addColumn<QString>("active");    // the active window's caption after
        QTest::addColumn<int>("windows");       // open loan windows after
        const auto ctrl = [](int key) { return QKeySequence(Qt::CTRL | key); };
        const auto ctrlShift = [](int key) { return QKeySequence(Qt::CTRL | Qt::SHIFT | key); };
        QTest::newRow("Ctrl+Tab") << true << ctrl(Qt::Key_Tab) << 1 << "Second" << 2;
        QTest::newRow("Ctrl+PgDn") << true << ctrl(Qt::Key_PageDown) << 1 << "Second" << 2;
        // Round to the last tab, Rate Changes.
        QTest::newRow("Ctrl+Shift+Tab wraps") << true << ctrlShift(Qt::Key_Backtab) << 7 << "Second" << 2;
        QTest::newRow("Ctrl+PgUp wraps") << true << ctrl(Qt::Key_PageUp) << 7 << "Second" << 2;
        QTest::newRow("Ctrl+Tab before a run stays") << false << ctrl(Qt::Key_Tab) << 0 << "Second" << 2;
        QTest::newRow("Ctrl+W closes") << true << ctrl(Qt::Key_W) << -1 << "First" << 1;
        QTest::newRow("Ctrl+F4 closes") << true << ctrl(Qt::Key_F4) << -1 << "First" << 1;
        QTest::newRow("Ctrl+F6 next window") << true << ctrl(Qt::Key_F6) << -1 << "First" << 2;
        QTest::newRow("Ctrl+Shift+F6 previous window") << true << ctrlShift(Qt::Key_F6) << -1 << "First" << 2;
    }
    void keys()
    {
        QFETCH(bool, calculated);
        QFETCH(QKeySequence, key);
        QFETCH(int, tab);
        QFETCH(QString, active);
        QFETCH(int, windows);
        calculated ? calculatedWindow("First") : f->newWindow("First");
        frmLoan* second = calculated ? calculatedWindow("Second") : f->newWindow("Second");
        second->markUnchanged();
        child<QLineEdit>(second, "txtInterestRate")->setFocus();
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(second, "txtInterestRate"));
        press(key);
        if (tab >= 0)
            QCOMPARE(child<QTabWidget>(second, "tabLoan")->currentIndex(), tab);
        QCOMPARE(f->main->openLoans().size(), windows);
        QVERIFY(f->main->activeLoan());
        QCOMPARE(f->main->activeLoan()->windowTitle(), active);
        QVERIFY(f->messages.shown().isEmpty());
    }

    // Alt with a letter no control answers to types nothing into a box.
    void accessKeysDoNotType_data()
    {
        QTest::addColumn<QByteArray>("box");
        for (const char* box : {"txtLoan", "txtInterestRate", "txtTerm", "dtStartDate"})
            QTest::newRow(box) << QByteArray(box);
    }
    void accessKeysDoNotType()
    {
        QFETCH(QByteArray, box);
        frmLoan* w = f->newWindow("Car");
        auto* edit = child<QLineEdit>(w, box.constData());
        edit->setFocus();
        const QString before = edit->text();
        QTest::keyClick(edit, Qt::Key_Y, Qt::AltModifier);
        QTest::keyClick(edit, Qt::Key_Q, Qt::AltModifier);
        QCOMPARE(edit->text(), before);
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, "7");
        QCOMPARE(edit->text(), before + "7");  // typing still types
    }

    // Tab enters the extra payments table once and leaves it with the next Tab.
    void tabLeavesThePaymentsTable()
    {
        frmLoan* w = calculatedWindow("Car");
        child<QTabWidget>(w, "tabLoan")->setCurrentIndex(1);
        child<QPushButton>(w, "cmdAddPayment")->click();
        child<QPushButton>(w, "cmdAddPayment")->click();
        auto* table = child<QTableView>(w, "flxPayments");
        QVERIFY(table);
        table->setFocus();
        const QModelIndex before = table->currentIndex();
        QTest::keyClick(table, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != table);
        QCOMPARE(table->currentIndex(), before);
        QCOMPARE(table->horizontalScrollBar()->value(), 0);
    }

    // A stored loan opened again brings its window forward.
    void openingAnOpenLoanBringsItForward()
    {
        const int car = f->storeLoan("Car");
        f->storeLoan("Van");
        frmLoan* first = f->main->loanWindows().openLoan(car);
        QVERIFY(first);
        f->main->loanWindows().openLoan(car + 1);
        QCOMPARE(f->main->activeLoan()->description(), "Van");
        QCOMPARE(f->main->loanWindows().openLoan(car), first);
        QCOMPARE(f->main->openLoans().size(), 2);
        QCOMPARE(f->main->activeLoan(), first);
    }

    // Exit asks about each changed window with that window in front.
    void exitShowsEachWindowItAsksAbout()
    {
        frmLoan* first = calculatedWindow("First");
        frmLoan* second = calculatedWindow("Second");
        qobject_cast<QMdiSubWindow*>(second->parentWidget())->showMaximized();
        QStringList shownWhenAsked;
        f->messages.onAsk = [&] { shownWhenAsked << f->main->activeLoan()->windowTitle(); };
        f->messages.dismiss();  // "not now" at the first question
        f->run("close box");
        QCOMPARE(shownWhenAsked, QStringList{"First"});
        QCOMPARE(f->main->activeLoan(), first);
        f->messages.onAsk = nullptr;
        first->markUnchanged();
        second->markUnchanged();
    }

    // The frames and default buttons of the real dialogs.
    // No dialog can be minimised or maximised; Enter in a question answers No.
    void questionsAndFrames_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("question") << "question";
        QTest::newRow("close prompt") << "ask";
        QTest::newRow("warning") << "warning";
        QTest::newRow("picker") << "picker";
        QTest::newRow("about") << "about";
    }
    void questionsAndFrames()
    {
        QFETCH(QString, dialog);
        ShellFixture f(true);
        bool seen = false;
        Qt::WindowFlags flags;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            seen = true;
            flags = box->windowFlags();
            QWidget* keys = box->focusWidget() ? box->focusWidget() : box;
            if (dialog == "question" || dialog == "ask")
                QTest::keyClick(keys, Qt::Key_Return);
            else
                QTest::keyClick(keys, Qt::Key_Escape);
        });
        QtMessages boxes;
        if (dialog == "question") {
            QCOMPARE(boxes.question(f.main.get(), "Car - Are you sure you wish to delete this loan?"), false);
        } else if (dialog == "ask") {
            QCOMPARE(boxes.ask(f.main.get(), "Car - Information has changed"), Messages::Answer::Yes);
        } else if (dialog == "warning") {
            boxes.warning(f.main.get(), "Interest rate must be numeric.");
        } else {
            f.main->findChild<QAction*>(dialog == "picker" ? "mnuFileOpen" : "mnuHelpAbout")->trigger();
            QVERIFY(f.main->openLoans().isEmpty());  // Esc opened nothing
        }
        QVERIFY(seen);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(flags & Qt::CustomizeWindowHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
    }
};

QTEST_MAIN(ShellDesktopTest)

#include "tst_shell_desktop.moc"
