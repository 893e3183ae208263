// The main window's File commands through the menu and the toolbar on a real
// store file: New, Save, Save As Copy, Delete, Close and Exit with their prompts.
#include "ShellFixture.h"

namespace {

struct SaveCase { bool storedFirst; QString command; bool edited = false; };
struct ExitCase { QString how; QList<bool> answers; bool secondInvalid; int storedAfter; };
struct DeleteCase { bool storedFirst; QString command; bool yes; };

}  // namespace

class ShellFileTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

    // Close, Save, Save As Copy and Delete do nothing; two News give two windows.
    void emptyMainWindow()
    {
        for (const char* c : {"mnuFileClose", "mnuFileSave", "mnuFileSaveAs", "mnuFileDelete", "Save", "Copy", "Delete"})
            f->run(c);
        // The commands themselves too, past any disabled action.
        for (auto command : {&mdiMain::fileClose, &mdiMain::fileSave, &mdiMain::fileSaveAs, &mdiMain::fileDelete})
            (f->main.get()->*command)();
        QVERIFY(f->main->openLoans().isEmpty() && f->main->isVisible());
        QVERIFY(f->messages.shown().isEmpty() && f->stored().empty());

        f->run("mnuFileNew");
        f->run("New");
        const QList<frmLoan*> w = f->main->openLoans();
        QVERIFY(w.size() == 2 && w[0] != w[1]);
        for (frmLoan* window : w)
            QVERIFY(window->windowTitle() == "Untitled" && window->Mode() == 0 && window->Loan() == 0);
    }

    // Saved (once, or twice with edits between), then closed: stored once, nothing asked.
    // edited: an extra payment and a new rate before the last save.
    void saveThenClose_data()
    {
        QTest::addColumn<SaveCase>("c");
        QTest::newRow("new loan") << SaveCase{false, "mnuFileSave", false};
        QTest::newRow("new loan with an extra payment") << SaveCase{false, "Save", true};
        QTest::newRow("new loan saved twice, edited between") << SaveCase{true, "Save", true};
    }

    void saveThenClose()
    {
        QFETCH(SaveCase, c);
        frmLoan* w = f->newWindow("House");
        if (c.storedFirst) {
            f->run("mnuFileSave");
            QVERIFY(w->Mode() == 1 && w->Loan() > 0 && !w->IsDataChanged());
        }
        const int key = w->Loan();
        if (c.edited) {
            ShellFixture::addLumpSum(w);
            child<QLineEdit>(w, "txtInterestRate")->setText("7.25");
        }
        QVERIFY(w->DataHasChanged());
        f->run(c.command);
        QVERIFY(w->Mode() == 1 && w->Loan() > 0 && (!c.storedFirst || w->Loan() == key));
        QCOMPARE(f->main->statusBar()->currentMessage(), "The loan \"House\" was saved.");
        f->run("mnuFileClose");
        QVERIFY(f->main->openLoans().isEmpty() && f->messages.shown().isEmpty());
        const auto rows = f->stored();
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(shownNumber(f->record(rows[0].seqNo).interestRate), c.edited ? "7.25" : "6.5");
        QCOMPARE(f->store->readExtraPayments(rows[0].seqNo).rows.size(),
                 size_t(c.edited));
    }

    void saveAsCopy_data()
    {
        QTest::addColumn<SaveCase>("c");
        QTest::newRow("stored loan, menu") << SaveCase{true, "mnuFileSaveAs"};
        QTest::newRow("stored loan, toolbar") << SaveCase{true, "Copy"};
        QTest::newRow("never-saved loan") << SaveCase{false, "mnuFileSaveAs"};
    }

    void saveAsCopy()
    {
        QFETCH(SaveCase, c);
        QApplication::setActiveWindow(f->main.get());
        QVERIFY(QTest::qWaitForWindowActive(f->main.get()));
        frmLoan* w = f->newWindow("Car");
        if (c.storedFirst)
            f->run("mnuFileSave");
        const int original = w->Loan();
        child<QLineEdit>(w, "txtLoanAmount")->setText("90000");  // goes with the copy, not into the original
        child<QLineEdit>(w, "txtLoanAmount")->setFocus();
        f->run(c.command);
        QCOMPARE(w->windowTitle(), "Copy of Car");
        QVERIFY(w->Mode() == 1 && w->Loan() > 0 && w->Loan() != original && !w->IsDataChanged());
        QCOMPARE(f->record(w->Loan()).description.value_or(""), "Copy of Car");
        QCOMPARE(shownNumber(f->record(w->Loan()).origAmount), "90000");
        QCOMPARE(int(f->stored().size()), c.storedFirst ? 2 : 1);
        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), c.storedFirst ? 2 : 1);
        if (c.storedFirst) {
            QVERIFY(windows[1]->windowTitle() == "Car" && windows[1]->Mode() == 1 && windows[1]->Loan() == original);
            QCOMPARE(shownNumber(f->record(original).origAmount), "150000");
            QCOMPARE(amountShown(windows[1]), "$150,000.00");
        }
        // The user goes on in the copy: typing lands there.
        QCOMPARE(f->main->activeLoan(), w);
        QTest::keyClicks(QApplication::focusWidget(), "1");
        QVERIFY(w->DataHasChanged());
        QCOMPARE(f->main->statusBar()->currentMessage(), "The loan \"Copy of Car\" was saved.");
        QVERIFY(f->messages.shown().isEmpty());
    }

    // A failing store keeps the window as it was and opens nothing. edited: an extra payment added.
    void failedSaveKeepsTheWindow_data()
    {
        QTest::addColumn<SaveCase>("c");
        QTest::newRow("Save of a new loan") << SaveCase{false, "mnuFileSave", true};
        QTest::newRow("Save of a stored loan") << SaveCase{true, "Save", true};
        QTest::newRow("Save As Copy of a new loan") << SaveCase{false, "mnuFileSaveAs", true};
        QTest::newRow("Save As Copy of a stored loan") << SaveCase{true, "Copy", true};
        QTest::newRow("Save As Copy of an unchanged stored loan") << SaveCase{true, "mnuFileSaveAs", false};
    }

    void failedSaveKeepsTheWindow()
    {
        QFETCH(SaveCase, c);
        frmLoan* w = f->newWindow(" Truck ");
        if (c.storedFirst) {
            f->run("mnuFileSave");
            w->setWindowTitle("Truck");  // as the picker captions it
        }
        if (c.edited)
            ShellFixture::addLumpSum(w);
        const int mode = w->Mode(), key = w->Loan();
        f->breakStore("DROP TABLE tblExtraPayments");
        f->run(c.command);
        QCOMPARE(f->messages.texts(Kind::Critical).size(), 1);
        QCOMPARE(f->main->statusBar()->currentMessage(), c.storedFirst ? "The loan \" Truck \" was saved." : "");
        QVERIFY(w->Mode() == mode && w->Loan() == key);
        QCOMPARE(w->description(), " Truck ");
        QCOMPARE(w->windowTitle(), c.storedFirst ? "Truck" : " Truck ");
        QCOMPARE(w->DataHasChanged(), c.edited);
        QCOMPARE(f->main->openLoans().size(), 1);
        QCOMPARE(int(f->stored().size()), c.storedFirst ? 1 : 0);
    }

    // A loan whose term unit cannot be shown loads part-way: Save through the
    // menu or the toolbar refuses, and its offer's Yes runs Save As Copy.
    void saveOfAPartLoadOffersACopy_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        QTest::newRow("menu, Yes") << "mnuFileSave" << true;
        QTest::newRow("toolbar, No") << "Save" << false;
    }

    void saveOfAPartLoadOffersACopy()
    {
        QFETCH(QString, command);
        QFETCH(bool, yes);
        const int key = f->storeLoan("Truck");
        f->breakStore(QStringLiteral("UPDATE tblLoanDetail SET TermType = 2"));
        frmLoan* w = f->main->loanWindows().openLoan(key);
        QCOMPARE(f->messages.texts(Kind::Critical), QStringList{"380 - Invalid property value"});
        child<QComboBox>(w, "cboTerm")->setCurrentIndex(1);
        child<QComboBox>(w, "cboppt")->setCurrentIndex(2);
        f->messages.clear();
        f->messages.answer(yes);
        f->run(command);
        QCOMPARE(f->messages.texts(Kind::Question).size(), 1);
        QVERIFY(f->messages.texts(Kind::Question)[0].startsWith("Truck - This loan was not read completely"));
        QCOMPARE(f->record(key).termType, std::optional<int>(2));  // the stored loan as it was
        QCOMPARE(int(f->stored().size()), yes ? 2 : 1);
        QCOMPARE(f->main->openLoans().size(), yes ? 2 : 1);
        if (yes) {
            QCOMPARE(w->description(), "Copy of Truck");
            QVERIFY(w->Loan() != key && w->loadedWhole() && !w->IsDataChanged());
            QCOMPARE(f->record(w->Loan()).termType, std::optional<int>(1));
        }
    }

    void deleteCommand_data()
    {
        QTest::addColumn<DeleteCase>("c");
        QTest::newRow("stored, No") << DeleteCase{true, "mnuFileDelete", false};
        QTest::newRow("stored, Yes") << DeleteCase{true, "Delete", true};
        QTest::newRow("never saved, No") << DeleteCase{false, "Delete", false};
        QTest::newRow("never saved, Yes") << DeleteCase{false, "mnuFileDelete", true};
    }

    void deleteCommand()
    {
        QFETCH(DeleteCase, c);
        const int other = f->storeLoan("Other");
        frmLoan* w = f->newWindow(" Car ");
        if (c.storedFirst)
            f->run("mnuFileSave");
        else
            ShellFixture::addLumpSum(w);  // changed, yet Yes asks nothing more
        f->messages.answer(c.yes);
        f->run(c.command);
        QCOMPARE(f->messages.texts(Kind::Question), QStringList{"Car - Are you sure you wish to delete this loan?"});
        QCOMPARE(f->main->openLoans().size(), c.yes ? 0 : 1);
        QCOMPARE(int(f->stored().size()), c.storedFirst && !c.yes ? 2 : 1);
        QCOMPARE(f->record(other).description.value_or(""), "Other");
    }

    // Opening a loan that another program (a real second connection) deleted
    // meanwhile says so once and opens no window: from a picker listed before
    // the delete, and when Save As Copy reopens the original beside its copy.
    void openingALoanAnotherProgramDeleted_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("stale picker") << "picker";
        QTest::newRow("original reopened after Save As Copy") << "copy";
    }
    void openingALoanAnotherProgramDeleted()
    {
        QFETCH(QString, how);
        const int car = f->storeLoan("Car");
        f->storeLoan("Van");
        const QString deleteCar = QStringLiteral("DELETE FROM tblLoanDetail WHERE SeqNo = %1").arg(car);
        if (how == "picker") {
            f->main->setDialogRunner([&](QDialog& d) {
                d.show();
                auto* list = child<QListView>(&d, "lstLoan");
                QCOMPARE(list->model()->index(0, 0).data().toString(), "Car");
                f->breakStore(deleteCar);  // after the list was read
                list->setCurrentIndex(list->model()->index(0, 0));
                QTest::mouseClick(child<QPushButton>(&d, "cmdOpen"), Qt::LeftButton);
            });
            f->run("mnuFileOpen");
        } else {
            frmLoan* w = f->main->loanWindows().openLoan(car);
            QVERIFY(w && w->loadedWhole());
            f->breakStore(deleteCar);
            f->run("mnuFileSaveAs");
            QCOMPARE(w->description(), "Copy of Car");
        }
        QCOMPARE(f->messages.texts(),
                 QStringList{"This loan is no longer in the store: another program has deleted it, so it is not opened."});
        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), how == "copy" ? 1 : 0);
        auto* menu = child<QMenu>(f->main.get(), "mnuWindow");
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction* action : menu->actions())
            if (action->isCheckable()) entries << action->text();
        QCOMPARE(entries, how == "copy" ? QStringList{"&1 Copy of Car"} : QStringList());
    }

    // All prompts come first; one refusal keeps everything open.
    void exit_data()
    {
        QTest::addColumn<ExitCase>("c");
        QTest::newRow("Exit, No and No") << ExitCase{"mnuFileExit", {false, false}, false, 0};
        QTest::newRow("close box, Yes and Yes") << ExitCase{"close box", {true, true}, false, 2};
        QTest::newRow("Exit, No then Yes on invalid inputs") << ExitCase{"mnuFileExit", {false, true}, true, 0};
        QTest::newRow("close box, Yes then Yes on invalid inputs") << ExitCase{"close box", {true, true}, true, 1};
    }

    void exit()
    {
        QFETCH(ExitCase, c);
        f->newWindow("One");
        f->newWindow("Two", c.secondInvalid ? QString() : QStringLiteral("5"));
        for (bool a : c.answers)
            f->messages.answer(a);
        f->run(c.how);
        const QString changed = QStringLiteral(" - Information has changed\r\nDo you want to save the changes?");
        QCOMPARE(f->messages.texts(Kind::Question), (QStringList{"One" + changed, "Two" + changed}));
        QCOMPARE(f->main->isVisible(), c.secondInvalid);
        QCOMPARE(f->main->openLoans().size(), c.secondInvalid ? 2 : 0);
        QCOMPARE(f->messages.texts(Kind::Warning),
                 c.secondInvalid ? QStringList{"Interest rate must be entered."} : QStringList());
        QCOMPARE(int(f->stored().size()), c.storedAfter);
    }

    // The close prompt in a real box dismissed (Esc, or the box's close button)
    // during File > Close of one changed window, or during Exit with three
    // after an answer for the first: nothing discarded, every window open with
    // its content, the program running. A No leaves the first window changed;
    // a Yes saves it once and leaves it unchanged, so a later Exit neither
    // asks about it nor saves it again.
    void dismissedClosePromptKeepsTheWork_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("windows");
        QTest::addColumn<bool>("yesFirst");
        QTest::newRow("Close, Esc") << "Esc" << 1 << false;
        QTest::newRow("Close, close button") << "close" << 1 << false;
        QTest::newRow("Exit of three, No then Esc") << "Esc" << 3 << false;
        QTest::newRow("Exit of three, No then close button") << "close" << 3 << false;
        QTest::newRow("Exit of three, Yes then Esc") << "Esc" << 3 << true;
    }
    void dismissedClosePromptKeepsTheWork()
    {
        QFETCH(QString, how);
        QFETCH(int, windows);
        QFETCH(bool, yesFirst);
        f = std::make_unique<ShellFixture>(true);
        QList<QPointer<frmLoan>> loans;
        for (int n = 1; n <= windows; ++n)
            loans << f->newWindow("Loan " + QString::number(n));
        const int dismissAt = windows == 1 ? 1 : 2;
        // Answers every box that comes up (the first answer, then the
        // dismissal, then No to any further one), polling a bounded number of times.
        struct Script { QStringList asked; int polls = 0; bool done = false; std::function<void()> next; };
        auto script = std::make_shared<Script>();
        script->next = [how, dismissAt, yesFirst, weak = std::weak_ptr<Script>(script)] {
            auto s = weak.lock();
            if (!s || s->done)
                return;
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                if (++s->polls < 200) QTimer::singleShot(10, s->next);
                return;
            }
            s->asked << box->text();
            if (s->asked.size() != dismissAt)
                box->button(s->asked.size() == 1 && yesFirst ? QMessageBox::Yes : QMessageBox::No)->click();
            else if (how == "Esc")
                QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
            else
                box->close();
            QTimer::singleShot(0, s->next);
        };
        QTimer::singleShot(0, script->next);
        f->run(windows == 1 ? "mnuFileClose" : "mnuFileExit");
        const QStringList asked = script->asked;
        script->done = true;  // ends the polling
        QCOMPARE(asked.size(), dismissAt);
        QVERIFY(asked.last().startsWith("Loan " + QString::number(dismissAt) + " - Information has changed"));
        QVERIFY(f->main->isVisible());
        QCOMPARE(f->main->openLoans().size(), windows);
        for (int n = 0; n < windows; ++n) {
            QVERIFY(loans[n] && loans[n]->isVisible());
            QCOMPARE(loans[n]->description(), "Loan " + QString::number(n + 1));
            QCOMPARE(child<QLineEdit>(loans[n], "txtLoanAmount")->text(), "150000");
            QCOMPARE(loans[n]->IsDataChanged(), n > 0 || !yesFirst);
        }
        QCOMPARE(int(f->stored().size()), int(yesFirst));
    }
};

QTEST_MAIN(ShellFileTest)
#include "tst_shell_file.moc"
