// The main window's File commands through the menu and the toolbar on a real
// store file: Save, Save As Copy, Delete, Close and Exit with their prompts.
#include "ShellFixture.h"

namespace {

struct CommandCase { bool storedFirst; QString command; bool yes = false; };

// A lump sum as a user adds one: Add Payment first, then its fields.
void addLumpSum(frmLoan* w)
{
    QTest::mouseClick(child<QPushButton>(w, "cmdCalculate"), Qt::LeftButton);
    child<QTabWidget>(w, "tabLoan")->setCurrentIndex(1);
    QTest::mouseClick(child<QPushButton>(w, "cmdAddPayment"), Qt::LeftButton);
    QTest::mouseClick(child<QRadioButton>(w, "optType_0"), Qt::LeftButton);
    typeInto(child<QWidget>(w, "dtBeginDate"), QStringLiteral("3/1/2027"));
    typeInto(child<QWidget>(w, "txtXPaymentAmount"), QStringLiteral("500"));
}

}  // namespace

class ShellFileTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;
    QString saved(int key) const { return std::get<LoanRecord>(f->store->readLoan(key)).description.value_or(""); }

private slots:
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

    // Without a window the loan commands do nothing at all.
    void commandsWithoutAWindow()
    {
        for (const char* c : {"mnuFileClose", "mnuFileSave", "mnuFileSaveAs", "mnuFileDelete", "Save", "Copy", "Delete"})
            f->run(c);
        for (auto command : {&mdiMain::fileClose, &mdiMain::fileSave, &mdiMain::fileSaveAs, &mdiMain::fileDelete})
            (f->main.get()->*command)();
        QVERIFY(f->main->isVisible() && f->messages.shown().isEmpty() && f->storedDescriptions().isEmpty());
    }

    // Saved, edited (an extra payment, a new rate) and saved again: one loan
    // stored with both, the status bar naming it, nothing asked on Close.
    void saveThenClose()
    {
        frmLoan* w = f->typeLoan("House");
        f->run("mnuFileSave");
        const int key = w->Loan();
        QVERIFY(key > 0 && !w->DataHasChanged());
        addLumpSum(w);
        child<QTabWidget>(w, "tabLoan")->setCurrentIndex(0);
        typeInto(child<QWidget>(w, "txtInterestRate"), "7.25");
        QVERIFY(w->DataHasChanged());
        f->run("Save");
        QCOMPARE(w->Loan(), key);
        QCOMPARE(f->status(), "The loan \"House\" was saved.");
        f->run("mnuFileClose");
        QVERIFY(f->main->openLoans().isEmpty() && f->messages.shown().isEmpty());
        QCOMPARE(f->storedDescriptions(), QStringList{"House"});
        QCOMPARE(std::get<LoanRecord>(f->store->readLoan(key)).interestRate.value_or(0), 7.25);
        QCOMPARE(f->store->readExtraPayments(key).rows.size(), size_t(1));
    }

    // The copy holds what the window shows; the user goes on in it, the
    // stored original opens beside it unchanged.
    void saveAsCopy_data()
    {
        QTest::addColumn<CommandCase>("c");
        QTest::newRow("stored loan, menu") << CommandCase{true, "mnuFileSaveAs"};
        QTest::newRow("never-saved loan, toolbar") << CommandCase{false, "Copy"};
    }
    void saveAsCopy()
    {
        QFETCH(CommandCase, c);
        frmLoan* w = f->typeLoan("Car");
        if (c.storedFirst)
            f->run("mnuFileSave");
        const int original = w->Loan();
        typeInto(child<QWidget>(w, "txtLoanAmount"), "90000");
        child<QWidget>(w, "txtLoanAmount")->setFocus();
        f->run(c.command);
        QVERIFY(w->Loan() > 0 && w->Loan() != original && !w->DataHasChanged());
        QCOMPARE(saved(w->Loan()), "Copy of Car");
        QCOMPARE(*std::get<LoanRecord>(f->store->readLoan(w->Loan())).origAmount, 90000.0);
        QCOMPARE(f->status(), "The loan \"Copy of Car\" was saved.");
        QCOMPARE(f->main->activeLoan(), w);
        QTest::keyClicks(QApplication::focusWidget(), "1");
        QVERIFY(w->DataHasChanged());
        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), c.storedFirst ? 2 : 1);
        if (c.storedFirst)
            QVERIFY(windows[1]->Loan() == original && windows[1]->description() == "Car" && !windows[1]->DataHasChanged());
        QVERIFY(f->messages.shown().isEmpty());
    }

    // A store that refuses the save: one message, the window as it was, still
    // changed, nothing opened, no word of a save.
    void failedSaveKeepsTheWindow_data()
    {
        QTest::addColumn<CommandCase>("c");
        QTest::newRow("Save of a new loan") << CommandCase{false, "mnuFileSave"};
        QTest::newRow("Save of a stored loan") << CommandCase{true, "Save"};
        QTest::newRow("Save As Copy of a new loan") << CommandCase{false, "mnuFileSaveAs"};
        QTest::newRow("Save As Copy of a stored loan") << CommandCase{true, "Copy"};
    }
    void failedSaveKeepsTheWindow()
    {
        QFETCH(CommandCase, c);
        frmLoan* w = f->typeLoan(" Truck ");
        if (c.storedFirst)
            f->run("mnuFileSave");
        addLumpSum(w);
        const int key = w->Loan();
        f->main->statusBar()->clearMessage();
        f->breakStore("DROP TABLE tblExtraPayments");
        f->run(c.command);
        QCOMPARE(f->messages.texts(Kind::Critical).size(), 1);
        QVERIFY(w->Loan() == key && w->description() == " Truck " && w->DataHasChanged());
        QCOMPARE(f->status(), QString());
        QCOMPARE(f->main->openLoans().size(), 1);
        QCOMPARE(f->storedDescriptions().size(), c.storedFirst ? 1 : 0);
    }

    void deleteCommand_data()
    {
        QTest::addColumn<CommandCase>("c");
        QTest::newRow("stored, No") << CommandCase{true, "mnuFileDelete", false};
        QTest::newRow("stored, Yes") << CommandCase{true, "Delete", true};
        QTest::newRow("never saved, Yes") << CommandCase{false, "mnuFileDelete", true};
    }
    void deleteCommand()
    {
        QFETCH(CommandCase, c);
        f->storeLoan("Other");
        frmLoan* w = f->typeLoan(" Car ");
        if (c.storedFirst)
            f->run("mnuFileSave");
        f->messages.answer(c.yes);
        f->run(c.command);
        QCOMPARE(f->messages.texts(Kind::Question), QStringList{"Car - Are you sure you wish to delete this loan?"});
        QCOMPARE(f->main->openLoans().size(), c.yes ? 0 : 1);
        QCOMPARE(f->storedDescriptions(), c.storedFirst && !c.yes ? QStringList({"Other", " Car "}) : QStringList{"Other"});
        if (!c.yes)
            QCOMPARE(f->main->activeLoan(), w);
    }

    // A loan another program deleted meanwhile is said to be gone, once, and
    // no window opens for it: from a picker listed before, and as the
    // original reopened after Save As Copy.
    void openingALoanAnotherProgramDeleted_data()
    {
        QTest::addColumn<bool>("copy");
        QTest::newRow("stale picker") << false;
        QTest::newRow("original reopened after Save As Copy") << true;
    }
    void openingALoanAnotherProgramDeleted()
    {
        QFETCH(bool, copy);
        const int car = f->storeLoan("Car");
        const QString deleteCar = QStringLiteral("DELETE FROM tblLoanDetail WHERE SeqNo = %1").arg(car);
        if (!copy) {
            f->main->setDialogRunner([&](QDialog& d) {
                d.show();
                f->breakStore(deleteCar);  // after the list was read
                QTest::mouseClick(child<QPushButton>(&d, "cmdOpen"), Qt::LeftButton);
            });
            f->run("mnuFileOpen");
        } else {
            QVERIFY(f->main->loanWindows().openLoan(car));
            f->breakStore(deleteCar);
            f->run("mnuFileSaveAs");
        }
        QCOMPARE(f->messages.texts(),
                 QStringList{"This loan is no longer in the store: another program has deleted it, so it is not opened."});
        QCOMPARE(f->main->openLoans().size(), int(copy));
        QCOMPARE(f->main->mdiArea()->subWindowList().size(), int(copy));
    }

    // Exit asks about every changed window first; one refusal (here a save
    // that fails its checks) keeps everything open.
    void exit_data()
    {
        QTest::addColumn<CommandCase>("c");  // storedFirst: the second window's rate is left out
        QTest::newRow("Exit, No and No") << CommandCase{false, "mnuFileExit", false};
        QTest::newRow("close box, Yes and Yes") << CommandCase{false, "close box", true};
        QTest::newRow("close box, Yes and Yes on invalid inputs") << CommandCase{true, "close box", true};
    }
    void exit()
    {
        QFETCH(CommandCase, c);
        f->typeLoan("One");
        f->typeLoan("Two", c.storedFirst ? QString() : QStringLiteral("5"));
        f->messages.answer(c.yes);
        f->messages.answer(c.yes);
        f->run(c.command);
        const QString changed = QStringLiteral(" - Information has changed\r\nDo you want to save the changes?");
        QCOMPARE(f->messages.texts(Kind::Question), (QStringList{"One" + changed, "Two" + changed}));
        QCOMPARE(f->main->openLoans().size(), c.storedFirst ? 2 : 0);
        QCOMPARE(f->main->isVisible(), c.storedFirst);
        QCOMPARE(f->storedDescriptions().size(), c.yes ? 2 - int(c.storedFirst) : 0);
    }

    // The close prompt in a real box dismissed (Esc, or its close button)
    // during Close of one window, or during Exit of three after an answer for
    // the first: nothing discarded, every window open with its content. A Yes
    // before saves the first once and leaves it unchanged.
    void dismissedClosePromptKeepsTheWork_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("windows");
        QTest::addColumn<bool>("yesFirst");
        QTest::newRow("Close, Esc") << "Esc" << 1 << false;
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
            loans << f->typeLoan("Loan " + QString::number(n));
        const int dismissAt = windows == 1 ? 1 : 2;
        // Each box as it comes up: the first answered, the next dismissed.
        QStringList asked;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || asked.contains(box->text()))
                return;
            asked << box->text();
            if (asked.size() != dismissAt)
                box->button(yesFirst ? QMessageBox::Yes : QMessageBox::No)->click();
            else if (how == "Esc")
                QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
            else
                box->close();
        });
        poll.start(10);
        f->run(windows == 1 ? "mnuFileClose" : "mnuFileExit");
        QCOMPARE(asked.size(), dismissAt);
        QVERIFY(asked.last().startsWith("Loan " + QString::number(dismissAt) + " - Information has changed"));
        QVERIFY(f->main->isVisible());
        for (int n = 0; n < windows; ++n) {
            QVERIFY(loans[n] && loans[n]->isVisible() && loans[n]->description() == "Loan " + QString::number(n + 1));
            QCOMPARE(loans[n]->DataHasChanged(), n > 0 || !yesFirst);
        }
        QCOMPARE(f->storedDescriptions().size(), int(yesFirst));
    }
};

QTEST_MAIN(ShellFileTest)
#include "tst_shell_file.moc"
