// The main window end to end on a real store: the File commands, Exit and the
// close box, the Window menu and the toolbar.
#include "LoanStore.h"
#include "LoanWindowFactory.h"
#include "ShellFixture.h"
#include "frmLoan.h"
#include "mdiMain.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolBar>
#include <QtTest>

using Kind = ScriptedMessages::Kind;

namespace {

QString prompt(const QString& description)
{
    return description + QStringLiteral(" - Information has changed\r\nDo you want to save the changes?");
}

QString deleteQuestion(const QString& description)
{
    return description.trimmed() + QStringLiteral(" - Are you sure you wish to delete this loan?");
}

QStringList captions(const QList<frmLoan*>& windows)
{
    QStringList out;
    for (frmLoan* w : windows)
        out << w->windowTitle();
    return out;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

private slots:
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

    void frame()
    {
        QCOMPARE(f->main->windowTitle(), QStringLiteral("Brimvale"));
        QCOMPARE(f->main->mdiArea()->background().color(), QColor(0, 128, 128));
        QCOMPARE(f->main->centralWidget()->size(), QSize(681, 534 - f->main->findChild<QToolBar*>("Toolbar1")->height()));
        QVERIFY(f->main->openLoans().isEmpty());
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("items");  // "name=text=shortcut"; "-" a separator
        QTest::newRow("File") << "mnuFile" << "&File"
                              << QStringList{"mnuFileNew=&New=Ctrl+N", "mnuFileOpen=&Open ...=Ctrl+O",
                                             "mnuFileClose=&Close=", "-", "mnuFileSave=&Save=Ctrl+S",
                                             "mnuFileSaveAs=Save &As Copy=", "mnuFileDelete=&Delete=", "-",
                                             "mnuFileExit=E&xit="};
        QTest::newRow("Window") << "mnuWindow" << "&Window"
                                << QStringList{"mnuWindowTileHorizontally=Tile &Horizontally=",
                                               "mnuWindowTileVertically=Tile &Vertically=",
                                               "mnuWindowCascade=&Cascade=", "mnuWindowArrangeIcons=&Arrange Icons="};
        QTest::newRow("Help") << "mnuHelp" << "&Help"
                              << QStringList{"mnuHelpContents=&Contents=", "mnuHelpAbout=&About="};
    }
    void menuItems()
    {
        QFETCH(QString, menu);
        QFETCH(QString, title);
        QFETCH(QStringList, items);
        auto* m = f->main->findChild<QMenu*>(menu);
        QVERIFY(m);
        QCOMPARE(m->title(), title);
        emit m->aboutToShow();
        QStringList found;
        for (QAction* a : m->actions())
            found << (a->isSeparator() ? QStringLiteral("-")
                                       : a->objectName() + '=' + a->text() + '=' + a->shortcut().toString());
        QCOMPARE(found, items);
    }

    void shortcuts_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("windows");
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("picker");
        QTest::newRow("Ctrl+N") << int(Qt::Key_N) << 2 << 0 << false;
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << 1 << 1 << false;
        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << 1 << 0 << true;
    }
    void shortcuts()
    {
        QFETCH(int, key);
        QFETCH(int, windows);
        QFETCH(int, stored);
        QFETCH(bool, picker);
        bool pickerShown = false;
        f->main->setDialogRunner([&](QDialog&) { pickerShown = true; });
        ShellFixture::fill(f->newWindow(), {QStringLiteral("Car")});
        f->main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->main.get()));
        QTest::keyClick(f->main.get(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(int(f->main->openLoans().size()), windows);
        QCOMPARE(int(f->stored().size()), stored);
        QCOMPARE(pickerShown, picker);
    }

    void toolbarButtons()
    {
        auto* bar = f->main->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QVERIFY(bar);
        QStringList keys;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) {
                keys << QStringLiteral("-");
                continue;
            }
            keys << a->data().toString();
            QCOMPARE(a->toolTip(), a->data().toString());
            QVERIFY2(!a->icon().isNull(), qPrintable(a->data().toString()));
            QCOMPARE(a->icon().pixmap(16, 16).size(), QSize(16, 16));
        }
        QCOMPARE(keys, (QStringList{"New", "Open", "-", "Save", "Copy", "Delete"}));
    }

    // The buttons themselves, clicked: each reaches its command through its key.
    void toolbarButtonsClicked()
    {
        auto* bar = f->main->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        auto click = [bar](const char* key) {
            for (QAction* a : bar->actions())
                if (a->data().toString() == QLatin1String(key))
                    QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
        };
        bool pickerShown = false;
        f->main->setDialogRunner([&](QDialog&) { pickerShown = true; });

        click("New");
        QCOMPARE(f->main->openLoans().size(), 1);
        ShellFixture::fill(f->main->activeLoan(), {QStringLiteral("Car")});
        click("Save");
        QCOMPARE(f->stored().size(), size_t(1));
        click("Copy");
        QCOMPARE(f->stored().size(), size_t(2));
        QCOMPARE(captions(f->main->openLoans()), (QStringList{"Copy of Car", "Car"}));
        f->messages.answer(true);
        click("Delete");
        ShellFixture::settle();
        QCOMPARE(f->messages.texts(Kind::Question), QStringList{deleteQuestion(QStringLiteral("Car"))});
        QCOMPARE(captions(f->main->openLoans()), QStringList{"Copy of Car"});
        QCOMPARE(f->stored().size(), size_t(1));
        click("Open");
        QVERIFY(pickerShown);
    }

    // Close, Save, Save As Copy and Delete, whichever way they are reached,
    // do nothing without a loan window.
    void commandsWithoutWindowDoNothing_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<QString>("toolKey");
        QTest::newRow("Close") << "mnuFileClose" << "";
        QTest::newRow("Save") << "mnuFileSave" << "Save";
        QTest::newRow("Save As Copy") << "mnuFileSaveAs" << "Copy";
        QTest::newRow("Delete") << "mnuFileDelete" << "Delete";
        QTest::newRow("unknown toolbar key") << "" << "Print";
    }
    void commandsWithoutWindowDoNothing()
    {
        QFETCH(QString, menuItem);
        QFETCH(QString, toolKey);
        if (!menuItem.isEmpty()) {
            QVERIFY(!f->action(menuItem)->isEnabled());
            f->action(menuItem)->trigger();
        }
        if (!toolKey.isEmpty())
            f->main->toolbarButtonClick(toolKey);
        f->main->fileClose();
        f->main->fileSave();
        f->main->fileSaveAs();
        f->main->fileDelete();
        ShellFixture::settle();
        QVERIFY(f->main->openLoans().isEmpty());
        QVERIFY(f->messages.shown().isEmpty());
        QVERIFY(f->stored().empty());
        QVERIFY(f->main->isVisible());
    }

    void twoNewsGiveTwoUntitledWindows()
    {
        f->action(QStringLiteral("mnuFileNew"))->trigger();
        f->main->toolbarButtonClick(QStringLiteral("New"));
        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), 2);
        QVERIFY(windows[0] != windows[1]);
        for (frmLoan* w : windows) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Untitled"));
            QCOMPARE(w->Mode, 0);
            QCOMPARE(w->Loan, 0);
        }
        for (QMdiSubWindow* sub : f->main->mdiArea()->subWindowList())
            QCOMPARE(sub->windowTitle(), QStringLiteral("Untitled"));
        QCOMPARE(f->main->activeLoan(), windows[1]);
        QVERIFY(f->action(QStringLiteral("mnuFileSave"))->isEnabled());
    }

    void savingANewLoanTwiceStoresItOnce()
    {
        frmLoan* w = f->newWindow();
        ShellFixture::fill(w, {QStringLiteral("Car")});
        f->action(QStringLiteral("mnuFileSave"))->trigger();
        QCOMPARE(w->Mode, 1);
        const int key = w->Loan;
        QVERIFY(key > 0);
        QVERIFY(!w->IsDataChanged());
        QCOMPARE(f->stored().size(), size_t(1));

        w->findChild<QLineEdit*>(QStringLiteral("txtInterestRate"))->setText(QStringLiteral("7.25"));
        f->main->toolbarButtonClick(QStringLiteral("Save"));
        QCOMPARE(w->Mode, 1);
        QCOMPARE(w->Loan, key);
        const auto rows = f->stored();
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].seqNo, key);
        QCOMPARE(f->record(key)->interestRate.value_or(QString()), QStringLiteral("7.25"));
        QVERIFY(f->messages.shown().isEmpty());
    }

    void invalidInputsAreNotSaved()
    {
        frmLoan* w = f->newWindow();
        ShellFixture::fill(w, {QStringLiteral("Car"), QStringLiteral("200000"), QString()});
        f->action(QStringLiteral("mnuFileSave"))->trigger();
        f->action(QStringLiteral("mnuFileSaveAs"))->trigger();
        QCOMPARE(f->messages.texts(Kind::Warning),
                 (QStringList{"Interest rate must be entered.", "Interest rate must be entered."}));
        QCOMPARE(w->Mode, 0);
        QCOMPARE(w->description(), QStringLiteral("Car"));
        QVERIFY(f->stored().empty());
        QCOMPARE(f->main->openLoans().size(), 1);
    }

    // After a save the window counts as unchanged, whatever was edited before.
    void saveThenCloseAsksNothing_data()
    {
        QTest::addColumn<bool>("extraPayment");
        QTest::addColumn<bool>("storedFirst");
        QTest::newRow("new loan") << false << false;
        QTest::newRow("new loan with an extra payment") << true << false;
        QTest::newRow("stored loan with an extra payment") << true << true;
    }
    void saveThenCloseAsksNothing()
    {
        QFETCH(bool, extraPayment);
        QFETCH(bool, storedFirst);
        frmLoan* w = f->newWindow();
        ShellFixture::fill(w, {QStringLiteral("House")});
        if (storedFirst)
            f->main->fileSave();
        if (extraPayment) {
            ShellFixture::addLumpSum(w, QStringLiteral("1000"));
            QVERIFY(w->DataHasChanged);
        }
        f->main->fileSave();
        QVERIFY(!w->DataHasChanged);
        f->action(QStringLiteral("mnuFileClose"))->trigger();
        ShellFixture::settle();
        QVERIFY(f->main->openLoans().isEmpty());
        QVERIFY2(f->messages.texts(Kind::Question).isEmpty(), qPrintable(f->messages.texts().join('|')));
        QCOMPARE(f->stored().size(), size_t(1));
        auto payments = f->store->readExtraPayments(f->stored()[0].seqNo);
        QCOMPARE(std::get<std::vector<ExtraPaymentRecord>>(payments).size(), size_t(extraPayment ? 1 : 0));
    }

    void closeOfAChangedWindowAsks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No discards") << false;
        QTest::newRow("Yes saves") << true;
    }
    void closeOfAChangedWindowAsks()
    {
        QFETCH(bool, yes);
        frmLoan* w = f->newWindow();
        ShellFixture::fill(w, {QStringLiteral("Boat")});
        f->messages.answer(yes);
        f->action(QStringLiteral("mnuFileClose"))->trigger();
        ShellFixture::settle();
        QCOMPARE(f->messages.texts(Kind::Question), QStringList{prompt(QStringLiteral("Boat"))});
        QVERIFY(f->main->openLoans().isEmpty());
        QVERIFY(!f->action(QStringLiteral("mnuFileSave"))->isEnabled());
        QCOMPARE(f->stored().size(), size_t(yes ? 1 : 0));
    }

    void saveAsCopyOfAStoredLoan_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("plain") << "Car";
        QTest::newRow("with an ampersand") << "Home & Garden";
        QTest::newRow("with blanks around it") << "  Van  ";
    }
    void saveAsCopyOfAStoredLoan()
    {
        QFETCH(QString, description);
        frmLoan* w = f->newWindow();
        ShellFixture::fill(w, {description, QStringLiteral("150000")});
        f->main->fileSave();
        const int original = w->Loan;
        // An unsaved edit goes with the copy, not into the original.
        w->findChild<QLineEdit*>(QStringLiteral("txtLoanAmount"))->setText(QStringLiteral("90000"));

        f->action(QStringLiteral("mnuFileSaveAs"))->trigger();

        QCOMPARE(w->windowTitle(), QStringLiteral("Copy of ") + description);
        QCOMPARE(w->Mode, 1);
        QVERIFY(w->Loan != original && w->Loan > 0);
        QVERIFY(!w->IsDataChanged());
        QCOMPARE(f->record(w->Loan)->description.value_or(QString()), QStringLiteral("Copy of ") + description);
        QCOMPARE(f->record(w->Loan)->origAmount.value_or(QString()), QStringLiteral("90000"));
        QCOMPARE(f->record(original)->description.value_or(QString()), description);
        QCOMPARE(f->record(original)->origAmount.value_or(QString()), QStringLiteral("150000"));

        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), 2);
        frmLoan* reopened = windows[1];
        QCOMPARE(reopened->Mode, 1);
        QCOMPARE(reopened->Loan, original);
        QCOMPARE(reopened->windowTitle(), description);
        QCOMPARE(ShellFixture::text(reopened, "txtLoanAmount").remove(QRegularExpression("[^0-9.]")),
                 QStringLiteral("150000.00"));
        QCOMPARE(f->main->activeLoan(), reopened);
        QVERIFY(f->messages.shown().isEmpty());
    }

    void saveAsCopyViaToolbar()
    {
        frmLoan* w = f->newWindow();
        ShellFixture::fill(w, {QStringLiteral("Car")});
        f->main->fileSave();
        f->main->toolbarButtonClick(QStringLiteral("Copy"));
        QCOMPARE(f->stored().size(), size_t(2));
        QCOMPARE(captions(f->main->openLoans()), (QStringList{"Copy of Car", "Car"}));
    }

    // Nothing stored under key 0, so nothing is opened beside the copy.
    void saveAsCopyOfANeverSavedLoan()
    {
        frmLoan* w = f->newWindow();
        ShellFixture::fill(w, {QStringLiteral("Boat")});
        f->main->fileSaveAs();
        QCOMPARE(f->main->openLoans(), QList<frmLoan*>{w});
        QCOMPARE(w->windowTitle(), QStringLiteral("Copy of Boat"));
        QCOMPARE(w->Mode, 1);
        QVERIFY(w->Loan > 0);
        const auto rows = f->stored();
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].description, QStringLiteral("Copy of Boat"));
        QVERIFY(f->messages.shown().isEmpty());
    }

    // A failing store keeps the window as it was, changed, and opens nothing.
    void failedSaveKeepsTheWindow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("storedFirst");
        QTest::newRow("Save of a new loan") << "mnuFileSave" << false;
        QTest::newRow("Save of a stored loan") << "mnuFileSave" << true;
        QTest::newRow("Save As Copy of a new loan") << "mnuFileSaveAs" << false;
        QTest::newRow("Save As Copy of a stored loan") << "mnuFileSaveAs" << true;
    }
    void failedSaveKeepsTheWindow()
    {
        QFETCH(QString, command);
        QFETCH(bool, storedFirst);
        frmLoan* w = f->newWindow();
        ShellFixture::fill(w, {QStringLiteral(" Truck ")});
        if (storedFirst) {
            f->main->fileSave();
            w->setWindowTitle(QStringLiteral("Truck"));  // as the picker captions it
        }
        ShellFixture::addLumpSum(w, QStringLiteral("500"));
        const int mode = w->Mode;
        const int key = w->Loan;
        const QString caption = w->windowTitle();
        QVERIFY(f->runSql(QStringLiteral("DROP TABLE tblExtraPayments")));

        f->action(command)->trigger();

        QCOMPARE(f->messages.texts(Kind::Critical).size(), 1);
        QCOMPARE(w->Mode, mode);
        QCOMPARE(w->Loan, key);
        QCOMPARE(w->description(), QStringLiteral(" Truck "));
        QCOMPARE(w->windowTitle(), caption);
        QVERIFY(w->DataHasChanged);
        QVERIFY(w->IsDataChanged());
        QCOMPARE(f->main->openLoans().size(), 1);
        QCOMPARE(f->stored().size(), size_t(storedFirst ? 1 : 0));
    }

    // Save As Copy that fails on a window that was unchanged leaves it unchanged.
    void failedCopyOfAnUnchangedWindowStaysUnchanged()
    {
        const int key = f->storeLoan({QStringLiteral("Car")});
        frmLoan* w = f->main->loanWindows().openLoan(key, QStringLiteral("Car"));
        QVERIFY(!w->IsDataChanged());
        QVERIFY(f->runSql(QStringLiteral("DROP TABLE tblExtraPayments")));
        f->main->fileSaveAs();
        QCOMPARE(f->messages.texts(Kind::Critical).size(), 1);
        QCOMPARE(w->description(), QStringLiteral("Car"));
        QVERIFY(!w->IsDataChanged());
        QVERIFY(!w->DataHasChanged);
    }

    void deleteCommand_data()
    {
        QTest::addColumn<bool>("storedFirst");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("viaToolbar");
        QTest::newRow("stored, No") << true << false << false;
        QTest::newRow("stored, Yes") << true << true << false;
        QTest::newRow("stored, Yes, toolbar") << true << true << true;
        QTest::newRow("never saved, No") << false << false << false;
        QTest::newRow("never saved, Yes") << false << true << false;
    }
    void deleteCommand()
    {
        QFETCH(bool, storedFirst);
        QFETCH(bool, yes);
        QFETCH(bool, viaToolbar);
        const int other = f->storeLoan({QStringLiteral("Other")});
        frmLoan* w = f->newWindow();
        ShellFixture::fill(w, {QStringLiteral(" Car ")});
        if (storedFirst)
            f->main->fileSave();
        else
            ShellFixture::addLumpSum(w, QStringLiteral("100"));  // changed, yet no close prompt on Yes
        const size_t before = f->stored().size();

        f->messages.answer(yes);
        if (viaToolbar)
            f->main->toolbarButtonClick(QStringLiteral("Delete"));
        else
            f->action(QStringLiteral("mnuFileDelete"))->trigger();
        ShellFixture::settle();

        QCOMPARE(f->messages.texts(Kind::Question), QStringList{deleteQuestion(QStringLiteral(" Car "))});
        QCOMPARE(f->messages.unexpectedQuestions(), 0);
        QCOMPARE(f->main->openLoans().size(), yes ? 0 : 1);
        const auto rows = f->stored();
        QCOMPARE(rows.size(), (yes && storedFirst) ? before - 1 : before);
        QVERIFY(f->record(other).has_value());
    }

    // Exit and the close box: all prompts first; one refusal keeps everything.
    void exit_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("secondInvalid");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<int>("storedAfter");
        QTest::newRow("Exit, No and No") << false << QList<bool>{false, false} << false << true << 0;
        QTest::newRow("close box, No and No") << true << QList<bool>{false, false} << false << true << 0;
        QTest::newRow("Exit, Yes and Yes") << false << QList<bool>{true, true} << false << true << 2;
        QTest::newRow("Exit, No then Yes on invalid inputs") << false << QList<bool>{false, true} << true << false << 0;
        QTest::newRow("close box, Yes then Yes on invalid inputs") << true << QList<bool>{true, true} << true << false << 1;
    }
    void exit()
    {
        QFETCH(bool, closeBox);
        QFETCH(QList<bool>, answers);
        QFETCH(bool, secondInvalid);
        QFETCH(bool, ends);
        QFETCH(int, storedAfter);
        frmLoan* first = f->newWindow();
        ShellFixture::fill(first, {QStringLiteral("One")});
        frmLoan* second = f->newWindow();
        ShellFixture::fill(second, {QStringLiteral("Two"), QStringLiteral("1000"),
                                    secondInvalid ? QString() : QStringLiteral("5")});
        for (bool a : answers)
            f->messages.answer(a);

        if (closeBox)
            f->main->close();
        else
            f->action(QStringLiteral("mnuFileExit"))->trigger();
        ShellFixture::settle();

        QCOMPARE(f->messages.texts(Kind::Question), (QStringList{prompt("One"), prompt("Two")}));
        QCOMPARE(f->messages.unexpectedQuestions(), 0);
        QCOMPARE(f->main->isVisible(), !ends);
        QCOMPARE(f->main->openLoans().size(), ends ? 0 : 2);
        if (secondInvalid)
            QCOMPARE(f->messages.texts(Kind::Warning), QStringList{"Interest rate must be entered."});
        QCOMPARE(int(f->stored().size()), storedAfter);
    }

    // A loan saved by the first Exit's prompt is not added a second time
    // when Exit is tried again after another window refused.
    void exitAgainAfterARefusalStoresEachLoanOnce()
    {
        ShellFixture::fill(f->newWindow(), {QStringLiteral("One")});
        frmLoan* second = f->newWindow();
        ShellFixture::fill(second, {QStringLiteral("Two"), QStringLiteral("1000"), QString()});
        f->messages.answer(true);
        f->messages.answer(true);
        f->main->fileExit();
        QVERIFY(f->main->isVisible());
        QCOMPARE(f->stored().size(), size_t(1));

        second->findChild<QLineEdit*>(QStringLiteral("txtInterestRate"))->setText(QStringLiteral("5"));
        f->messages.answer(true);
        f->messages.answer(true);
        f->main->fileExit();
        ShellFixture::settle();
        QVERIFY(!f->main->isVisible());
        QCOMPARE(f->messages.unexpectedQuestions(), 0);
        const auto rows = f->stored();
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows[0].description, QStringLiteral("One"));
        QCOMPARE(rows[1].description, QStringLiteral("Two"));
    }

    void exitWithoutWindowsEnds()
    {
        f->main->fileExit();
        QVERIFY(!f->main->isVisible());
        QVERIFY(f->messages.shown().isEmpty());
    }

    void windowMenuListsAndActivates()
    {
        frmLoan* first = f->newWindow();
        first->setDescription(QStringLiteral("Car & Co"));
        frmLoan* second = f->newWindow();
        QCOMPARE(f->main->activeLoan(), second);

        auto* menu = f->main->findChild<QMenu*>(QStringLiteral("mnuWindow"));
        emit menu->aboutToShow();
        QStringList listed;
        QAction* firstEntry = nullptr;
        const QList<QAction*> actions = menu->actions();
        for (qsizetype i = 5; i < actions.size(); ++i) {
            listed << actions[i]->text() + (actions[i]->isChecked() ? QStringLiteral(" *") : QString());
            if (i == 5)
                firstEntry = actions[i];
        }
        QVERIFY(actions.size() > 4 && actions[4]->isSeparator());
        QCOMPARE(listed, (QStringList{"Car && Co", "Untitled *"}));
        firstEntry->trigger();
        QCOMPARE(f->main->activeLoan(), first);
    }

    // The two normal windows share the space above the row of icons.
    void windowArrangements_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("withIcon");
        QTest::newRow("tile horizontally") << "mnuWindowTileHorizontally" << false;
        QTest::newRow("tile vertically") << "mnuWindowTileVertically" << false;
        QTest::newRow("tile horizontally above an icon") << "mnuWindowTileHorizontally" << true;
        QTest::newRow("tile vertically above an icon") << "mnuWindowTileVertically" << true;
    }
    void windowArrangements()
    {
        QFETCH(QString, item);
        QFETCH(bool, withIcon);
        f->newWindow();
        f->newWindow();
        QMdiSubWindow* icon = nullptr;
        if (withIcon) {
            f->newWindow();
            icon = f->main->mdiArea()->subWindowList().last();
            icon->showMinimized();
        }
        f->action(item)->trigger();
        QRect area = f->main->mdiArea()->viewport()->rect();
        if (icon) {
            QCOMPARE(icon->geometry().bottom(), area.bottom());
            area.setBottom(icon->geometry().top() - 1);
        }
        const QList<QMdiSubWindow*> subs = f->main->mdiArea()->subWindowList();
        const QRect a = subs[0]->geometry();
        const QRect b = subs[1]->geometry();
        QVERIFY(!a.intersects(b));
        QCOMPARE(a.united(b), area);
        if (item == QLatin1String("mnuWindowTileHorizontally")) {
            QCOMPARE(a.width(), area.width());  // one above the other
            QCOMPARE(b.width(), area.width());
        } else {
            QCOMPARE(a.height(), area.height());  // side by side
            QCOMPARE(b.height(), area.height());
        }
    }

    void arrangeIconsLinesUpMinimisedWindows()
    {
        f->newWindow();
        f->newWindow();
        f->newWindow();
        const QList<QMdiSubWindow*> subs = f->main->mdiArea()->subWindowList();
        subs[0]->showMinimized();
        subs[2]->showMinimized();
        subs[0]->move(200, 30);
        f->action(QStringLiteral("mnuWindowArrangeIcons"))->trigger();
        const int bottom = f->main->mdiArea()->viewport()->rect().bottom();
        QCOMPARE(subs[0]->geometry().bottom(), bottom);
        QCOMPARE(subs[2]->geometry().bottom(), bottom);
        QVERIFY(!subs[0]->geometry().intersects(subs[2]->geometry()));
        QCOMPARE(std::min(subs[0]->x(), subs[2]->x()), 0);
    }

    void cascadePutsWindowsOnTopOfEachOther()
    {
        f->newWindow();
        f->newWindow();
        f->action(QStringLiteral("mnuWindowTileVertically"))->trigger();
        f->action(QStringLiteral("mnuWindowCascade"))->trigger();
        const QList<QMdiSubWindow*> subs = f->main->mdiArea()->subWindowList();
        QVERIFY(subs[0]->geometry().intersects(subs[1]->geometry()));
        QVERIFY(subs[0]->pos() != subs[1]->pos());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
