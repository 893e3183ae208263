// The shell around the loan windows: start-up and where the store is found,
// the picker, focus and captions of new windows, the menus' access keys, the
// about box and the system information look-up behind it.
#include "ShellFixture.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

struct PickerCase { QStringList loans; bool broken; QString how; int row; bool stillOpen; QString opened; };
// Files there before the start: shipped stores ("ship...") are real stores holding
// a loan named after them, other files hold their own name; "dir:" makes a
// folder, "empty:" a zero-byte file, "text:" a file holding its name, "tables:"
// an SQLite file without the program's tables, "link:" a symbolic link to a
// missing file. Then the file picked ("" = a failure), the entry whose bytes the
// user's store holds afterwards ("" = absent) and what the failure names. "@"
// stands for the test's folder.
struct StoreCase { QString given; QStringList present; QString picked, ownAfter; QStringList errorHas = {}; bool noDataFolder = false; };

}  // namespace

class ShellStartTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

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
            << StoreCase{{}, {"home/data", ship1}, "", "", {"@/home/data/Brimvale", QString::fromLocal8Bit(std::strerror(ENOTDIR))}};
        QTest::newRow("no data folder known") << StoreCase{{}, {ship1}, "", "", {"@/prog", "--store"}, true};
        // A damaged installation: nothing is copied, so a repaired one is used at the next start.
        QTest::newRow("zero-byte shipped store")
            << StoreCase{{}, {"empty:" + ship1, ship2}, "", "", {"@/" + ship1, "empty file", "@/" + own}};
        QTest::newRow("shipped store that is no database")
            << StoreCase{{}, {"text:" + ship1}, "", "", {"@/" + ship1, "not a store", "@/" + own}};
        QTest::newRow("shipped store without the tables")
            << StoreCase{{}, {"tables:" + ship1}, "", "", {"@/" + ship1, "not a store", "@/" + own}};
        // A link whose target is gone is the user's store in name: nothing is written through it.
        QTest::newRow("broken link as the user's store")
            << StoreCase{{}, {"link:" + own, ship1}, "", "", {"@/" + own, "symbolic link", "@/gone.mdb", "does not exist"}};
        QTest::newRow("broken link beside the program")
            << StoreCase{{}, {"link:" + prog, ship1}, "", "", {"@/" + prog, "symbolic link", "@/gone.mdb"}};
    }

    void storeLocation()
    {
        QFETCH(StoreCase, c);
        QTemporaryDir root;
        const QDir dir(root.path());
        auto at = [&](QString s) { return s.replace('@', root.path()); };
        QHash<QString, QByteArray> made;  // each file's bytes, by name
        for (QString name : c.present) {
            const QString kind = name.contains(':') ? name.section(':', 0, 0) : QString();
            name = name.section(':', -1);
            const QString path = dir.filePath(name);
            QVERIFY(dir.mkpath(QFileInfo(path).path()));
            QFile file(path);
            if (kind == "dir")
                QVERIFY(dir.mkpath(name));
            else if (kind == "link")
                QVERIFY(QFile::link(dir.filePath("gone.mdb"), path));
            else if (kind == "empty")
                QVERIFY(file.open(QIODevice::WriteOnly));
            else if (kind == "tables")
                QCOMPARE(rawSql(path, "CREATE TABLE other (a)"), QStringList());
            else if (kind.isEmpty() && name.startsWith("ship")) {
                QCOMPARE(createStoreFile(path, BRIMVALE_SCHEMA_FILE), std::nullopt);
                QCOMPARE(rawSql(path, "INSERT INTO tblLoanDetail (Description) VALUES ('" + name + "')"), QStringList());
            } else
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name.toUtf8()) > 0);
            file.close();
            made[name] = rawBytes(path);
        }
        QVERIFY(dir.mkpath("prog"));
        const StoreLocation::Places places{at(c.given), dir.filePath("prog"),
                                           c.noDataFolder ? QString() : dir.filePath("home/data/Brimvale"),
                                           {dir.filePath("ship1/Brimvaledb.mdb"), dir.filePath("ship2/Brimvaledb.mdb")}};
        const mode_t mask = ::umask(0);  // what the program makes is private even so
        const StoreLocation::Found found = StoreLocation::find(places);
        ::umask(mask);
        QCOMPARE(found.ok(), !c.picked.isEmpty());
        if (found.ok())
            QCOMPARE(found.path, dir.filePath(c.picked));
        for (const QString& part : c.errorHas)
            QVERIFY2(found.error.contains(at(part)), qPrintable(found.error));
        const QString own = dir.filePath("home/data/Brimvale/Brimvaledb.mdb");
        QCOMPARE(QFileInfo(own).isFile() ? rawBytes(own) : QByteArray(), made.value(c.ownAfter));
        if (!c.ownAfter.isEmpty())  // no half-written copy is left beside it
            QCOMPARE(QDir(dir.filePath("home/data/Brimvale")).entryList(QDir::Files), QStringList{"Brimvaledb.mdb"});
        QVERIFY(!c.picked.isEmpty() || !QFileInfo(own).isFile());
        QVERIFY(!QFileInfo::exists(dir.filePath("gone.mdb")));
        // Folders the program made are its owner's only.
        for (const QString& folder : {QString("home"), QString("home/data"), QString("home/data/Brimvale")}) {
            const bool before = std::any_of(c.present.begin(), c.present.end(),
                                            [&](const QString& p) { return p.section(':', -1).startsWith(folder); });
            if (!before && QFileInfo(dir.filePath(folder)).isDir())
                QCOMPARE(QFileInfo(dir.filePath(folder)).permissions() & ~QFile::Permissions(0x7700),
                         QFile::Permissions());
        }
    }

    // $XDG_DATA_HOME only when it is an absolute path.
    void userDataFolder_data()
    {
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unset") << QString() << "/home/u/.local/share/Brimvale";
        QTest::newRow("absolute") << "/data/u" << "/data/u/Brimvale";
        QTest::newRow("absolute, trailing slash") << "/data/u/" << "/data/u/Brimvale";
        QTest::newRow("relative ignored") << "data" << "/home/u/.local/share/Brimvale";
        QTest::newRow("dot relative ignored") << "./data" << "/home/u/.local/share/Brimvale";
        QTest::newRow("tilde is no home") << "~/data" << "/home/u/.local/share/Brimvale";
    }
    void userDataFolder()
    {
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, expected);
        QCOMPARE(StoreLocation::userDataFolder(xdgDataHome, "/home/u", "Brimvale"), expected);
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
        // Esc leaves as the close box does: no new loan.
        QTest::newRow("empty, Esc leaves") << PickerCase{{}, false, "Esc", -1, false, ""};
        QTest::newRow("loans listed, Esc leaves") << PickerCase{loans, false, "Esc", 0, false, ""};
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
            auto* list = child<QListView>(&d, "lstLoan");
            for (int i = 0; i < list->model()->rowCount(); ++i)
                entries << list->model()->index(i, 0).data().toString();
            if (c.how.endsWith("Enter")) {
                // Keys go where the dialog puts its focus.
                QWidget* keys = d.focusWidget() ? d.focusWidget() : &d;
                if (c.how.startsWith("Down"))
                    QTest::keyClick(keys, Qt::Key_Down);
                QTest::keyClick(keys, Qt::Key_Return);
                stillOpen = d.isVisible();
                return;
            }
            const QModelIndex row = list->model()->index(c.row, 0);
            list->setCurrentIndex(row);
            const QPoint at = row.isValid() ? list->visualRect(row).center() : QPoint();
            if (c.how == "Esc")
                QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_Escape);
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
            QVERIFY(windows[0]->Loan() == (row >= 0 ? f->stored()[row].seqNo : 0) && !windows[0]->IsDataChanged());
        }
        QCOMPARE(f->messages.shown().size(), int(c.broken));
        if (c.broken)  // shown as "number - description"
            QVERIFY(QRegularExpression("^-?\\d+ - \\S").match(f->messages.texts(Kind::Critical).value(0)).hasMatch());
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
                auto* list = child<QListView>(&d, "lstLoan");
                list->setCurrentIndex(list->model()->index(0, 0));
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
        QCOMPARE(menu->actions().last()->text(), "&1 ");
        QTest::keyClicks(box, "B");
        QCOMPARE(w->parentWidget()->windowTitle(), "B");
    }

    // A description's line breaks show as spaces in the caption and the
    // Window menu; the description itself keeps them.
    void captionShowsLineBreaksAsSpaces_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("from the picker") << "picker";
        QTest::newRow("opened without a caption") << "reopen";
    }
    void captionShowsLineBreaksAsSpaces()
    {
        QFETCH(QString, how);
        const QString stored = QString::fromUtf8("Car\nloan\r\nfor\rAnna\xe2\x80\xa8" "and Bo");
        const int key = f->storeLoan("Car");
        f->breakStore(QStringLiteral("UPDATE tblLoanDetail SET Description = 'Car' || char(10) || 'loan' || char(13, 10) "
                                     "|| 'for' || char(13) || 'Anna' || char(8232) || 'and Bo'"));
        if (how == "picker") {
            f->main->setDialogRunner([](QDialog& d) {
                auto* list = child<QListView>(&d, "lstLoan");
                list->setCurrentIndex(list->model()->index(0, 0));
                child<QPushButton>(&d, "cmdOpen")->click();
            });
            f->run("mnuFileOpen");
        } else {
            f->main->loanWindows().openLoan(key);
        }
        frmLoan* w = f->main->activeLoan();
        QVERIFY(w);
        QCOMPARE(w->description(), stored);
        QCOMPARE(w->windowTitle(), "Car loan for Anna and Bo");
        QCOMPARE(w->parentWidget()->windowTitle(), "Car loan for Anna and Bo");
        auto* menu = child<QMenu>(f->main.get(), "mnuWindow");
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().last()->text(), "&1 Car loan for Anna and Bo");
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

    // Help > Contents and F1 open the user guide in one window of its own,
    // brought forward again rather than opened twice; Esc closes it.
    void helpContents_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Help > Contents") << false;
        QTest::newRow("F1") << true;
    }
    void helpContents()
    {
        QFETCH(bool, byKey);
        QApplication::setActiveWindow(f->main.get());
        QVERIFY(QTest::qWaitForWindowActive(f->main.get()));
        const auto open = [&] {
            if (byKey)
                QTest::keyClick(f->main.get(), Qt::Key_F1);
            else
                f->run("mnuHelpContents");
            QCoreApplication::processEvents();
        };
        open();
        const auto helpWindows = [] {
            QList<QWidget*> shown;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("frmHelp") && w->isVisible())
                    shown << w;
            return shown;
        };
        QCOMPARE(helpWindows().size(), 1);
        QWidget* help = helpWindows().first();
        auto* browser = child<QTextBrowser>(help, "txtHelp");
        const QString text = browser->toPlainText();
        for (const char* topic : {"Entering a loan", "The tabs", "Extra payments", "Comparing loans",
                                  "Exporting and printing", "Where your loans are kept", "Backing up",
                                  "Messages and what to do", "Amortization Table", "Balance",
                                  "Brimvaledb.mdb", "Do you want to save the changes?"})
            QVERIFY2(text.contains(QLatin1String(topic)), topic);
        // The contents' links lead within the page.
        browser->setSource(QUrl(browser->source().toString() + "#store"));
        QCOMPARE(browser->toPlainText(), text);
        open();
        QCOMPARE(helpWindows(), QList<QWidget*>{help});
        QApplication::setActiveWindow(help);
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keyClick(help, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(helpWindows().isEmpty());
    }

    void aboutFromTheHelpMenu()
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", f->dir.path().toLocal8Bit());  // no system information program
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
        qputenv("PATH", path);
        QCOMPARE(texts, (QStringList{"About Brimvale", "Brimvale", "Version 3.1.0",
                                     "This program is intended for personal use and should not be used to "
                                     "validate any lending institutions data."}));
        QCOMPARE(f->messages.texts(Kind::Information), QStringList{"System Information Is Unavailable At This Time"});
        // The window and the about box show the icon that is installed for the desktop.
        const QImage installed(BRIMVALE_ICON_DIR "/32x32/apps/org.brimvale.Brimvale.png");
        QVERIFY(!installed.isNull());
        QCOMPARE(aboutIcon.convertToFormat(installed.format()), installed);
        QCOMPARE(f->main->windowIcon().pixmap(32).toImage().convertToFormat(installed.format()), installed);
    }
};

QTEST_MAIN(ShellStartTest)
#include "tst_shell_start.moc"
