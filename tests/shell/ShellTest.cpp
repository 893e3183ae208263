// The shell end to end: the main window's File commands through the menu and
// the toolbar on a real store file, the picker, the about box, start-up, and
// the system information look-up behind the about box.
#include "LoanStore.h"
#include "SaveTexts.h"
#include "LoanWindowFactory.h"
#include "ScriptedMessages.h"
#include "Startup.h"
#include "StoreLocation.h"
#include "StoreFile.h"
#include "SystemInfo.h"
#include "frmLoan.h"
#include "mdiMain.h"

#include <QtPrintSupport>
#include <QtSql>
#include <QtTest>
#include <QtWidgets>

using Kind = ScriptedMessages::Kind;

namespace {

template <class T> T* child(const QObject* parent, const char* name) { return parent->findChild<T*>(name); }
QString amountShown(const frmLoan* w) { return child<QLineEdit>(w, "txtLoanAmount")->text(); }

// A registry filled by the test; remembers which values were asked for.
struct FakeKeyValues : KeyValueSource {
    QMap<QString, KeyValue> values;  // by "key|value"
    mutable QStringList asked;
    std::optional<KeyValue> lookup(std::uint32_t root, const QString& key, const QString& value) const override
    {
        asked << key + u'|' + value;
        const auto it = values.find(key + u'|' + value);
        return it == values.end() || root != KeyRoot::LocalMachine ? std::nullopt : std::optional(*it);
    }
};

// Every folder but /empty holds the tool; programs whose path holds "broken" fail to start.
struct FakeLauncher : ProgramLauncher {
    QStringList started;
    bool fileExists(const QString& path) const override { return !path.startsWith(QLatin1String("/empty/")); }
    bool start(const QString& program) override
    {
        const bool ok = !program.isEmpty() && !program.contains(QLatin1String("broken"));
        if (ok)
            started << program;
        return ok;
    }
};

// A real store file in a temporary folder and a shown main window on it,
// answering questions from a script.
struct ShellFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    std::unique_ptr<LoanStore> store;
    ScriptedMessages messages;
    QtMessages realBoxes;
    FixedClock clock{QDate(2026, 1, 15)};
    std::unique_ptr<mdiMain> main;  // last, so it goes first: its windows hold the store

    // realMessages: the program's own message boxes instead of the script.
    explicit ShellFixture(bool realMessages = false)
    {
        if (const auto failure = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)))
            qFatal("cannot create the test store: %s", qPrintable(*failure));
        store = std::get<std::unique_ptr<LoanStore>>(LoanStore::open(path));
        main = std::make_unique<mdiMain>(*store, realMessages ? static_cast<Messages&>(realBoxes) : messages, clock);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }

    // A menu item by name ("mnuFileSave"), the "close box", else a real click on the
    // toolbar button of that key ("Save").
    void run(const QString& command)
    {
        auto* bar = child<QToolBar>(main.get(), "Toolbar1");
        if (command.startsWith(QLatin1String("mnu")))
            main->findChild<QAction*>(command)->trigger();
        if (command == QLatin1String("close box"))
            main->close();
        for (QAction* a : bar->actions())
            if (a->data().toString() == command)
                QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // closed windows go
    }
    frmLoan* newWindow(const QString& description, const QString& rate = QStringLiteral("6.5"))
    {
        run(QStringLiteral("mnuFileNew"));
        frmLoan* w = main->activeLoan();
        child<QLineEdit>(w, "txtLoan")->setText(description);
        child<QComboBox>(w, "cboppt")->setCurrentIndex(2);  // monthly
        child<QComboBox>(w, "cboTerm")->setCurrentIndex(1);  // years
        child<QLineEdit>(w, "txtInterestRate")->setText(rate);
        child<QLineEdit>(w, "txtTerm")->setText(QStringLiteral("30"));
        child<QLineEdit>(w, "txtLoanAmount")->setText(QStringLiteral("150000"));
        return w;
    }
    // An edit of the extra payments only: a lump sum added through the window's editor.
    static void addLumpSum(frmLoan* w)
    {
        child<QPushButton>(w, "cmdCalculate")->click();
        child<QTabWidget>(w, "tabLoan")->setCurrentIndex(1);
        child<QRadioButton>(w, "optType_0")->setChecked(true);
        child<QDateEdit>(w, "dtBeginDate")->setDate(QDate(2027, 3, 1));
        child<QLineEdit>(w, "txtXPaymentAmount")->setText(QStringLiteral("500"));
        child<QPushButton>(w, "cmdAddPayment")->click();
    }
    int storeLoan(const QString& description, const QString& amount = QStringLiteral("150000"))
    {
        int mode = 0, key = 0;
        const LoanSaveTexts texts{description, QDate(2026, 2, 1), amount, {}, "6.5", "30", 1, 2};
        if (const auto error = saveTexts(*store, mode, key, texts, {}))
            qFatal("cannot store a test loan: %s", error->text().c_str());
        return key;
    }
    std::vector<LoanListEntry> stored() const { return store->listLoans().loans; }
    LoanRecord record(int key) const { return std::get<LoanRecord>(store->readLoan(key)); }
    // A statement on a second connection to the same file, to break the store under the window.
    void breakStore(const QString& statement)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);  // a connection of its own
        db.setDatabaseName(path);
        QVERIFY(db.open() && QSqlQuery(db).exec(statement));
        db.close();
    }
};

// One row each of the tables below.
struct SaveCase { bool storedFirst; QString command; bool edited = false; };
struct ExitCase { QString how; QList<bool> answers; bool secondInvalid; int storedAfter; };
struct PickerCase { QStringList loans; bool broken; QString how; int row; bool stillOpen; QString opened; };
struct DeleteCase { bool storedFirst; QString command; bool yes; };
// value: what GetKeyValue leaves of "stale" on reading the first place; asked2: the second place read.
// command: the menu item; answer: the file name given ("" cancels); written: the file that appears.
struct ExportCase { QString command, answer, written; QByteArray starts; bool error = false; };
// Files there before the start (each holding its own name; "dir:" makes a folder),
// the file picked ("" = a failure), what the user's store holds afterwards ("" =
// absent) and what the failure names. "@" stands for the test's folder.
struct StoreCase { QString given; QStringList present; QString picked, ownAfter; QStringList errorHas = {}; bool noDataFolder = false; };
struct SysInfoCase { std::optional<KeyValue> first; QString second, value; QStringList started; bool asked2, message; };

}  // namespace

class ShellTest : public QObject {
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
            QVERIFY(window->windowTitle() == "Untitled" && window->Mode == 0 && window->Loan == 0);
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
            QVERIFY(w->Mode == 1 && w->Loan > 0 && !w->IsDataChanged());
        }
        const int key = w->Loan;
        if (c.edited) {
            ShellFixture::addLumpSum(w);
            child<QLineEdit>(w, "txtInterestRate")->setText("7.25");
        }
        QCOMPARE(w->DataHasChanged, c.edited);
        f->run(c.command);
        QVERIFY(w->Mode == 1 && w->Loan > 0 && (!c.storedFirst || w->Loan == key));
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
        frmLoan* w = f->newWindow("Car");
        if (c.storedFirst)
            f->run("mnuFileSave");
        const int original = w->Loan;
        child<QLineEdit>(w, "txtLoanAmount")->setText("90000");  // goes with the copy, not into the original
        f->run(c.command);
        QCOMPARE(w->windowTitle(), "Copy of Car");
        QVERIFY(w->Mode == 1 && w->Loan > 0 && w->Loan != original && !w->IsDataChanged());
        QCOMPARE(f->record(w->Loan).description.value_or(""), "Copy of Car");
        QCOMPARE(shownNumber(f->record(w->Loan).origAmount), "90000");
        QCOMPARE(int(f->stored().size()), c.storedFirst ? 2 : 1);
        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), c.storedFirst ? 2 : 1);
        if (c.storedFirst) {
            QVERIFY(windows[1]->windowTitle() == "Car" && windows[1]->Mode == 1 && windows[1]->Loan == original);
            QCOMPARE(shownNumber(f->record(original).origAmount), "150000");
            QCOMPARE(amountShown(windows[1]), "$150,000.00");
            QCOMPARE(f->main->activeLoan(), windows[1]);
        }
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
        const int mode = w->Mode, key = w->Loan;
        f->breakStore("DROP TABLE tblExtraPayments");
        f->run(c.command);
        QCOMPARE(f->messages.texts(Kind::Critical).size(), 1);
        QVERIFY(w->Mode == mode && w->Loan == key);
        QCOMPARE(w->description(), " Truck ");
        QCOMPARE(w->windowTitle(), c.storedFirst ? "Truck" : " Truck ");
        QVERIFY(w->DataHasChanged == c.edited && w->IsDataChanged() == c.edited);
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
            QVERIFY(w->Loan != key && w->loadedWhole() && !w->IsDataChanged());
            QCOMPARE(f->record(w->Loan).termType, std::optional<int>(1));
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
    // after a No for the first: nothing saved, nothing discarded, every window
    // open with its content and still changed, the program running.
    void dismissedClosePromptKeepsTheWork_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("windows");
        QTest::newRow("Close, Esc") << "Esc" << 1;
        QTest::newRow("Close, close button") << "close" << 1;
        QTest::newRow("Exit of three, No then Esc") << "Esc" << 3;
        QTest::newRow("Exit of three, No then close button") << "close" << 3;
    }
    void dismissedClosePromptKeepsTheWork()
    {
        QFETCH(QString, how);
        QFETCH(int, windows);
        f = std::make_unique<ShellFixture>(true);
        QList<QPointer<frmLoan>> loans;
        for (int n = 1; n <= windows; ++n)
            loans << f->newWindow("Loan " + QString::number(n));
        const int dismissAt = windows == 1 ? 1 : 2;
        // Answers every box that comes up (No, then the dismissal, then No to
        // any further one), polling a bounded number of times.
        struct Script { QStringList asked; int polls = 0; bool done = false; std::function<void()> next; };
        auto script = std::make_shared<Script>();
        script->next = [how, dismissAt, weak = std::weak_ptr<Script>(script)] {
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
                box->button(QMessageBox::No)->click();
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
            QVERIFY(loans[n]->IsDataChanged());
        }
        QVERIFY(f->stored().empty());
    }

    // Ctrl+N, or the picker's Open, gives a window whose focus is in the
    // description: typing goes there.
    void newAndOpenedWindowsTakeTyping_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::newRow("Ctrl+N") << false;
        QTest::newRow("opened from the store") << true;
    }
    void newAndOpenedWindowsTakeTyping()
    {
        QFETCH(bool, opened);
        f->main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->main.get()));
        if (opened) {
            f->storeLoan("Van");
            f->main->setDialogRunner([](QDialog& d) {
                child<QListWidget>(&d, "lstLoan")->setCurrentRow(0);
                child<QPushButton>(&d, "cmdOpen")->click();
            });
            f->run("mnuFileOpen");
        } else {
            QTest::keyClick(f->main.get(), Qt::Key_N, Qt::ControlModifier);
        }
        frmLoan* w = f->main->activeLoan();
        QVERIFY(w);
        QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>(w, "txtLoan"));
        QTest::keyClicks(QApplication::focusWidget(), "Car");
        QCOMPARE(w->description(), opened ? "VanCar" : "Car");
    }

    // Clearing the description empties the caption and the Window menu entry.
    void captionFollowsAnEmptiedDescription()
    {
        f->run("mnuFileNew");
        frmLoan* w = f->main->activeLoan();
        auto* box = child<QLineEdit>(w, "txtLoan");
        QTest::keyClicks(box, "A");
        QCOMPARE(w->parentWidget()->windowTitle(), "A");
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(w->windowTitle(), QString());
        QCOMPARE(w->parentWidget()->windowTitle(), QString());
        auto* menu = child<QMenu>(f->main.get(), "mnuWindow");
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().last()->text(), QString());
        QTest::keyClicks(box, "B");
        QCOMPARE(w->parentWidget()->windowTitle(), "B");
    }

    // Within each menu every item has its own access key.
    void accessKeysUniqueInEachMenu()
    {
        f->run("mnuFileNew");
        for (QMenu* menu : f->main->menuBar()->findChildren<QMenu*>()) {
            emit menu->aboutToShow();
            QStringList keys;
            for (QAction* action : menu->actions()) {
                const QKeySequence key = QKeySequence::mnemonic(action->text());
                if (!key.isEmpty()) {
                    QVERIFY2(!keys.contains(key.toString()), qPrintable(menu->title() + ": " + action->text()));
                    keys << key.toString();
                }
            }
        }
    }

    // File > Open: the stored loans ("description|amount"), perhaps a broken store; the
    // picker then driven by `how` (a button, "Esc" or "double-click") on `row` if >= 0.
    // opened: caption and amount of the one window after, if any.
    void picker_data()
    {
        QTest::addColumn<PickerCase>("c");
        const QStringList loans{"  Van  |3000", "Car|1000", "Car|2000"};
        QTest::newRow("empty, Open without a selection") << PickerCase{{}, false, "cmdOpen", -1, true, ""};
        QTest::newRow("empty, New") << PickerCase{{}, false, "cmdNew", -1, false, "Untitled"};
        QTest::newRow("empty, Esc answers New") << PickerCase{{}, false, "Esc", -1, false, "Untitled"};
        QTest::newRow("empty, Exit") << PickerCase{{}, false, "cmdExit", -1, false, ""};
        QTest::newRow("blanks around, Open") << PickerCase{loans, false, "cmdOpen", 0, false, "Van $3,000.00"};
        QTest::newRow("same description, first") << PickerCase{loans, false, "cmdOpen", 1, false, "Car $1,000.00"};
        QTest::newRow("same description, second, double-click")
            << PickerCase{loans, false, "double-click", 2, false, "Car $2,000.00"};
        QTest::newRow("store error, then New") << PickerCase{loans, true, "cmdNew", -1, false, "Untitled"};
        QTest::newRow("store error, then Exit") << PickerCase{loans, true, "cmdExit", -1, false, ""};
        QTest::newRow("store error, then Open") << PickerCase{loans, true, "cmdOpen", -1, true, ""};
        // The keyboard alone: the entry it is on is the chosen one.
        QTest::newRow("Enter opens the first") << PickerCase{loans, false, "Enter", -1, false, "Van $3,000.00"};
        QTest::newRow("Down, Enter opens the second") << PickerCase{loans, false, "Down Enter", -1, false, "Car $1,000.00"};
        QTest::newRow("empty, Enter does nothing") << PickerCase{{}, false, "Enter", -1, true, ""};
    }
    void picker()
    {
        QFETCH(PickerCase, c);
        for (const QString& loan : c.loans)
            f->storeLoan(loan.section('|', 0, 0), loan.section('|', 1));
        if (c.broken)
            f->breakStore("ALTER TABLE tblLoanDetail RENAME TO tblGone");
        QStringList entries;
        bool stillOpen = false;
        f->main->setDialogRunner([&](QDialog& d) {
            d.show();
            auto* list = child<QListWidget>(&d, "lstLoan");
            for (int i = 0; i < list->count(); ++i)
                entries << list->item(i)->text();
            if (c.how.endsWith("Enter")) {
                // Keys go where the dialog puts its focus.
                QWidget* keys = d.focusWidget() ? d.focusWidget() : &d;
                if (c.how.startsWith("Down"))
                    QTest::keyClick(keys, Qt::Key_Down);
                QTest::keyClick(keys, Qt::Key_Return);
                stillOpen = d.isVisible();
                return;
            }
            list->setCurrentRow(c.row);
            const QPoint at = c.row >= 0 ? list->visualItemRect(list->item(c.row)).center() : QPoint();
            if (c.how == "Esc")
                QTest::keyClick(&d, Qt::Key_Escape);
            else if (c.how != "double-click")
                QTest::mouseClick(child<QPushButton>(&d, qPrintable(c.how)), Qt::LeftButton);
            else {  // a double-click starts with a click
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            }
            stillOpen = d.isVisible();
        });
        f->run("mnuFileOpen");
        QCOMPARE(entries, c.loans.isEmpty() || c.broken ? QStringList() : QStringList({"Van", "Car", "Car"}));
        QCOMPARE(stillOpen, c.stillOpen);
        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), c.opened.isEmpty() ? 0 : 1);
        if (!windows.isEmpty()) {
            QCOMPARE((windows[0]->windowTitle() + ' ' + amountShown(windows[0])).trimmed(), c.opened);
            const int row = c.how == "Enter" ? 0 : c.how == "Down Enter" ? 1 : c.row;
            QCOMPARE(windows[0]->description(), row >= 0 ? c.loans[row].section('|', 0, 0) : QString());
            QVERIFY(windows[0]->Loan == (row >= 0 ? f->stored()[row].seqNo : 0) && !windows[0]->IsDataChanged());
        }
        QCOMPARE(f->messages.shown().size(), int(c.broken));
        if (c.broken)  // shown as "number - description"
            QVERIFY(QRegularExpression("^-?\\d+ - \\S").match(f->messages.texts(Kind::Critical).value(0)).hasMatch());
    }

    void aboutFromTheHelpMenu()
    {
        FakeKeyValues nothing;
        FakeLauncher launcher;
        f->main->setSystemInfo(nothing, launcher);
        QStringList texts;
        QImage aboutIcon;
        f->main->setDialogRunner([&](QDialog& d) {
            texts << d.windowTitle();
            for (const char* label : {"lblTitle", "lblVersion", "lblDescription"})
                texts << child<QLabel>(&d, label)->text();
            aboutIcon = child<QLabel>(&d, "picIcon")->pixmap().toImage();
            child<QPushButton>(&d, "cmdSysInfo")->click();
        });
        f->run("mnuHelpAbout");
        QCOMPARE(texts, (QStringList{"About Brimvale", "Brimvale", "Version 3.1.0",
                                     "This program is intended for personal use and should not be used to "
                                     "validate any lending institutions data."}));
        QCOMPARE(f->messages.texts(Kind::Information), QStringList{"System Information Is Unavailable At This Time"});
        QVERIFY(launcher.started.isEmpty());
        // The window and the about box show the icon that is installed for the desktop.
        const QImage installed(BRIMVALE_ICON_DIR "/32x32/apps/org.brimvale.Brimvale.png");
        QVERIFY(!installed.isNull());
        QCOMPARE(aboutIcon.convertToFormat(installed.format()), installed);
        QCOMPARE(f->main->windowIcon().pixmap(32).toImage().convertToFormat(installed.format()), installed);
    }

    void startUpRefusesAMissingStore()
    {
        QTemporaryDir folder;
        const QString path = storePathIn(folder.path());
        QCOMPARE(path, folder.path() + "/Brimvaledb.mdb");
        ScriptedMessages messages;
        QVERIFY(!startSession(path, messages, f->clock));
        QCOMPARE(messages.texts(Kind::Critical), QStringList{QString::fromStdString(std::get<engine::NumberedError>(LoanStore::open(path)).description)});
        QVERIFY(!QFile::exists(path));
        QVERIFY(QFile::copy(f->path, path));
        QVERIFY(startSession(path, messages, f->clock));
        QCOMPARE(messages.shown().size(), 1);
    }

    void storeLocation_data()
    {
        QTest::addColumn<StoreCase>("c");
        const QString prog = "prog/Brimvaledb.mdb", own = "home/data/Brimvale/Brimvaledb.mdb";
        const QString ship1 = "ship1/Brimvaledb.mdb", ship2 = "ship2/Brimvaledb.mdb";
        QTest::newRow("command line first") << StoreCase{"@/other.mdb", {prog, own, ship1}, "other.mdb", own};
        QTest::newRow("beside the program") << StoreCase{{}, {prog, ship1}, prog, ""};
        QTest::newRow("user's store kept") << StoreCase{{}, {own, ship1}, own, own};
        QTest::newRow("first start copies the shipped store") << StoreCase{{}, {ship1, ship2}, own, ship1};
        QTest::newRow("second shipped place") << StoreCase{{}, {"dir:" + ship1, ship2}, own, ship2};
        QTest::newRow("an entry in the way is not replaced") << StoreCase{{}, {"dir:" + own, ship1}, own, ""};
        QTest::newRow("no shipped store")
            << StoreCase{{}, {}, "", "", {"@/" + own, "@/" + ship1, "@/" + ship2, "not found"}};
        QTest::newRow("data folder cannot be made")
            << StoreCase{{}, {"home/data", ship1}, "", "", {"@/home/data/Brimvale", "Not a directory"}};
        QTest::newRow("no data folder known") << StoreCase{{}, {ship1}, "", "", {"@/prog", "--store"}, true};
    }
    void storeLocation()
    {
        QFETCH(StoreCase, c);
        QTemporaryDir root;
        const QDir dir(root.path());
        auto at = [&](QString s) { return s.replace('@', root.path()); };
        for (QString name : c.present) {
            const bool folder = name.startsWith("dir:");
            name.remove("dir:");
            QVERIFY(dir.mkpath(QFileInfo(dir.filePath(name)).path()));
            QFile file(dir.filePath(name));
            QVERIFY(folder ? dir.mkpath(name) : file.open(QIODevice::WriteOnly) && file.write(name.toUtf8()) > 0);
        }
        QVERIFY(dir.mkpath("prog"));
        const StoreLocation::Places places{at(c.given), dir.filePath("prog"),
                                           c.noDataFolder ? QString() : dir.filePath("home/data/Brimvale"),
                                           {dir.filePath("ship1/Brimvaledb.mdb"), dir.filePath("ship2/Brimvaledb.mdb")}};
        const StoreLocation::Found found = StoreLocation::find(places);
        QCOMPARE(found.ok(), !c.picked.isEmpty());
        if (found.ok())
            QCOMPARE(found.path, dir.filePath(c.picked));
        for (const QString& part : c.errorHas)
            QVERIFY2(found.error.contains(at(part)), qPrintable(found.error));
        QFile own(dir.filePath("home/data/Brimvale/Brimvaledb.mdb"));
        QCOMPARE(own.open(QIODevice::ReadOnly) ? QString::fromUtf8(own.readAll()) : QString(), c.ownAfter);
        if (!c.ownAfter.isEmpty())  // no half-written copy is left beside it
            QCOMPARE(QDir(dir.filePath("home/data/Brimvale")).entryList(QDir::Files), QStringList{"Brimvaledb.mdb"});
        QVERIFY(!c.picked.isEmpty() || !QFileInfo::exists(own.fileName()));
    }

    // Printing and exporting wait for a calculated active window; without one
    // they do nothing at all.
    void exportCommandsFollowTheActiveWindow()
    {
        const QStringList names{"mnuFileExportTable", "mnuFileExportPdf", "mnuFilePrintPreview", "mnuFilePrint"};
        auto enabled = [&] {
            QList<bool> states;
            for (const QString& name : names)
                states << f->main->findChild<QAction*>(name)->isEnabled();
            return states;
        };
        const QList<bool> off(4, false), on(4, true);
        int asked = 0, dialogs = 0;
        f->main->setSaveFileNameAsker([&](auto&&...) { ++asked; return QString(); });
        f->main->setDialogRunner([&](QDialog&) { ++dialogs; });
        auto runAll = [&] {
            for (auto command : {&mdiMain::fileExportTable, &mdiMain::fileExportPdf, &mdiMain::filePrintPreview,
                                 &mdiMain::filePrint})
                (f->main.get()->*command)();
        };
        QCOMPARE(enabled(), off);
        runAll();
        frmLoan* first = f->newWindow("House");
        QCOMPARE(enabled(), off);
        runAll();
        QVERIFY(asked == 0 && dialogs == 0);
        child<QPushButton>(first, "cmdCalculate")->click();
        QCOMPARE(enabled(), on);
        f->newWindow("Car");
        QCOMPARE(enabled(), off);
        f->main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QCOMPARE(enabled(), on);
    }

    void exportAndPrint_data()
    {
        QTest::addColumn<ExportCase>("c");
        QTest::newRow("table, suffix added") << ExportCase{"mnuFileExportTable", "out", "out.csv", "Payment,Date,"};
        QTest::newRow("PDF") << ExportCase{"mnuFileExportPdf", "out.pdf", "out.pdf", "%PDF"};
        QTest::newRow("cancelled") << ExportCase{"mnuFileExportTable", "", "", ""};
        QTest::newRow("missing folder") << ExportCase{"mnuFileExportPdf", "gone/out.pdf", "", "", true};
        QTest::newRow("over the loan store") << ExportCase{"mnuFileExportTable", "Brimvaledb.mdb", "", "", true};
        QTest::newRow("printed") << ExportCase{"mnuFilePrint", "out.pdf", "out.pdf", "%PDF"};
        QTest::newRow("print cancelled") << ExportCase{"mnuFilePrint", "", "", ""};
        QTest::newRow("printed over the loan store") << ExportCase{"mnuFilePrint", "Brimvaledb.mdb", "", "", true};
        QTest::newRow("printer fails to start") << ExportCase{"mnuFilePrint", "gone/out.pdf", "", "", true};
        QTest::newRow("preview") << ExportCase{"mnuFilePrintPreview", "", "", ""};
    }
    void exportAndPrint()
    {
        QFETCH(ExportCase, c);
        QStringList suggested;
        f->main->setSaveFileNameAsker([&](const QString&, const QString& path, const QString&) {
            suggested << path;
            return c.answer.isEmpty() ? QString() : f->dir.filePath(c.answer);
        });
        int previewPages = 0;
        // The print dialog's answer: print into a PDF file, or cancel.
        f->main->setDialogRunner([&](QDialog& dialog) {
            if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
                print->printer()->setOutputFormat(QPrinter::PdfFormat);
                print->printer()->setOutputFileName(f->dir.filePath(c.answer));
                print->done(c.answer.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
            } else if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
                preview->updatePreview();
                previewPages = preview->pageCount();
            }
        });
        frmLoan* w = f->newWindow("House: 30/6.5 %");
        child<QPushButton>(w, "cmdCalculate")->click();
        f->run(c.command);

        if (c.command.startsWith("mnuFileExport")) {
            QCOMPARE(suggested.size(), 1);
            QCOMPARE(QFileInfo(suggested[0]).fileName(), c.command.endsWith("Pdf") ? "House 30 6.5 %.pdf" : "House 30 6.5 %.csv");
        }
        QCOMPARE(previewPages > 1, c.command == "mnuFilePrintPreview");
        QCOMPARE(f->messages.texts(Kind::Critical).size(), c.error ? 1 : 0);
        QCOMPARE(QDir(f->dir.path()).entryList({"out*"}, QDir::Files), c.written.isEmpty() ? QStringList() : QStringList{c.written});
        QFile store(f->path);
        QVERIFY(store.open(QIODevice::ReadOnly) && store.read(16) == QByteArray("SQLite format 3", 16));
        if (!c.written.isEmpty()) {
            QFile file(f->dir.filePath(c.written));
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().startsWith(c.starts));
        }
    }

    // GetKeyValue on the first place, and where StartSysInfo looks: the first
    // place's program, else the tool in the second place's folder, else the message.
    void systemInfo_data()
    {
        QTest::addColumn<SysInfoCase>("c");
        const auto text = [](const QString& s) { return std::optional(KeyValue{KeyValue::Type::String, s, 0}); };
        const auto dword = [](std::uint32_t n) { return std::optional(KeyValue{KeyValue::Type::DWord, {}, n}); };
        QTest::newRow("string as it is") << SysInfoCase{text(" /a b "), "/tools", " /a b ", {" /a b "}, false, false};
        QTest::newRow("string, no ending zero") << SysInfoCase{text(QString("/a") + QChar()), "", "/a", {"/a"}, false, false};
        QTest::newRow("32-bit small") << SysInfoCase{dword(0x0102), "", "&h00000102", {"&h00000102"}, false, false};
        QTest::newRow("32-bit high") << SysInfoCase{dword(0xDEADBEEF), "", "&hDEADBEEF", {"&hDEADBEEF"}, false, false};
        QTest::newRow("other type leaves the value") << SysInfoCase{KeyValue{}, "/tools", "stale", {}, false, true};
        QTest::newRow("first program fails") << SysInfoCase{text("/broken"), "/tools", "/broken", {}, false, true};
        QTest::newRow("neither place") << SysInfoCase{{}, "", "", {}, true, true};
        QTest::newRow("second folder's tool") << SysInfoCase{{}, "/tools", "", {"/tools/MSINFO32.EXE"}, true, false};
        QTest::newRow("second folder without the tool") << SysInfoCase{{}, "/empty", "", {}, true, true};
        QTest::newRow("second tool fails to start") << SysInfoCase{{}, "/broken", "", {}, true, true};
    }
    void systemInfo()
    {
        QFETCH(SysInfoCase, c);
        FakeKeyValues source;
        if (c.first)
            source.values[kMsInfoKey + u'|' + kMsInfoValue] = *c.first;
        if (!c.second.isEmpty())
            source.values[kMsInfoLocationKey + u'|' + kMsInfoLocationValue] = {KeyValue::Type::String, c.second, 0};
        QString read = QStringLiteral("stale");
        QCOMPARE(GetKeyValue(source, KeyRoot::LocalMachine, kMsInfoKey, kMsInfoValue, read), c.first.has_value());
        QCOMPARE(read, c.value);
        FakeLauncher launcher;
        ScriptedMessages messages;
        source.asked.clear();
        StartSysInfo(source, launcher, messages, nullptr);
        QCOMPARE(launcher.started, c.started);
        const QStringList places{kMsInfoKey + "|PATH", kMsInfoLocationKey + "|MSINFO"};
        QCOMPARE(source.asked, places.mid(0, c.asked2 ? 2 : 1));
        QCOMPARE(messages.texts(Kind::Information),
                 c.message ? QStringList{"System Information Is Unavailable At This Time"} : QStringList());
    }
};

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
