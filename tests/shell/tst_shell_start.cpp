// The shell around the loan windows: start-up and where the store is found,
// the picker, focus and captions of new windows, the menus' access keys, the
// user guide and the about box.
#include "StoreFile.h"
#include "StoreLocation.h"
#include "ShellFixture.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// Files there before the start: shipped stores ("ship...") are real stores, other
// files hold their own name; "dir:" makes a folder, "empty:" a zero-byte file,
// "text:" a file holding its name, "link:" a symbolic link to a missing file. Then the file picked ("" = a
// failure), the entry whose bytes the user's store holds afterwards ("" =
// absent) and what the failure names. "@" stands for the test's folder.
struct StoreCase { QString given; QStringList present; QString picked, ownAfter; QStringList errorHas = {}; };
// The stored loans, perhaps a broken store; the picker driven by keys
// (Enter, Down, Esc), a button or a double-click; the description of the
// window opened from the store.
struct PickerCase { QStringList loans; bool broken; QString how; QString opened; };

}  // namespace

class ShellStartTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

private slots:
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

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
        QTest::newRow("no shipped store") << StoreCase{{}, {}, "", "", {"@/" + own, "@/" + ship1, "not found"}};
        QTest::newRow("data folder cannot be made")
            << StoreCase{{}, {"home/data", ship1}, "", "", {"@/home/data/Brimvale", QString::fromLocal8Bit(std::strerror(ENOTDIR))}};
        // A damaged installation: nothing is copied, so a repaired one is used at the next start.
        QTest::newRow("zero-byte shipped store") << StoreCase{{}, {"empty:" + ship1, ship2}, "", "", {"@/" + ship1, "empty file"}};
        QTest::newRow("shipped store that is no database") << StoreCase{{}, {"text:" + ship1}, "", "", {"@/" + ship1, "not a store"}};
        // A link whose target is gone is the user's store in name: nothing is written through it.
        QTest::newRow("broken link as the user's store")
            << StoreCase{{}, {"link:" + own, ship1}, "", "", {"@/" + own, "symbolic link", "does not exist"}};
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
            else if (kind.isEmpty() && name.startsWith("ship"))
                QCOMPARE(createStoreFile(path, BRIMVALE_SCHEMA_FILE), std::nullopt);
            else
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name.toUtf8()) > 0);
            file.close();
            made[name] = rawBytes(path);
        }
        QVERIFY(dir.mkpath("prog"));
        const StoreLocation::Places places{at(c.given), dir.filePath("prog"), dir.filePath("home/data/Brimvale"),
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
        QVERIFY(!QFileInfo::exists(dir.filePath("gone.mdb")));
        // Folders the program made are its owner's only; no half-written copy is left.
        if (c.ownAfter.startsWith("ship")) {
            QCOMPARE(QDir(dir.filePath("home/data/Brimvale")).entryList(QDir::Files), QStringList{"Brimvaledb.mdb"});
            QCOMPARE(QFileInfo(dir.filePath("home/data/Brimvale")).permissions() & ~QFile::Permissions(0x7700),
                     QFile::Permissions());
        }
    }

    // $XDG_DATA_HOME only when it is an absolute path.
    void userDataFolder()
    {
        QCOMPARE(StoreLocation::userDataFolder({}, "/home/u", "Brimvale"), "/home/u/.local/share/Brimvale");
        QCOMPARE(StoreLocation::userDataFolder("/data/u/", "/home/u", "Brimvale"), "/data/u/Brimvale");
        for (const char* relative : {"data", "./data", "~/data"})
            QCOMPARE(StoreLocation::userDataFolder(relative, "/home/u", "Brimvale"), "/home/u/.local/share/Brimvale");
    }

    // File > Open driven as a user: the picker opens the loan chosen, a new
    // one, or nothing; typing then starts in the window's description.
    void picker_data()
    {
        QTest::addColumn<PickerCase>("c");
        const QStringList loans{"  Van  ", "Car", "Car"};
        QTest::newRow("Enter opens the first") << PickerCase{loans, false, "Enter", "  Van  "};
        QTest::newRow("Down, Enter opens the second") << PickerCase{loans, false, "Down Enter", "Car"};
        QTest::newRow("double-click on the third") << PickerCase{loans, false, "double-click", "Car"};
        QTest::newRow("Esc leaves without a loan") << PickerCase{loans, false, "Esc", ""};
        QTest::newRow("empty, Enter does nothing") << PickerCase{{}, false, "Enter", ""};
        QTest::newRow("empty, New") << PickerCase{{}, false, "cmdNew", ""};
        QTest::newRow("store error, then Exit") << PickerCase{loans, true, "cmdExit", ""};
    }
    void picker()
    {
        QFETCH(PickerCase, c);
        QList<int> keys;
        for (const QString& loan : c.loans)
            keys << f->storeLoan(loan);
        if (c.broken)
            f->breakStore("ALTER TABLE tblLoanDetail RENAME TO tblGone");
        QStringList entries;
        f->main->setDialogRunner([&](QDialog& d) {
            d.show();
            auto* list = child<QListView>(&d, "lstLoan");
            for (int i = 0; i < list->model()->rowCount(); ++i)
                entries << list->model()->index(i, 0).data().toString();
            QWidget* focus = d.focusWidget() ? d.focusWidget() : &d;
            if (c.how == "double-click") {
                const QPoint at = list->visualRect(list->model()->index(2, 0)).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            } else if (c.how.startsWith("cmd")) {
                QTest::mouseClick(child<QPushButton>(&d, qPrintable(c.how)), Qt::LeftButton);
            } else {
                for (const QString& key : c.how.split(' '))
                    QTest::keyClick(focus, key == "Down" ? Qt::Key_Down : key == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
            }
            if (d.isVisible())
                d.reject();
        });
        f->run("mnuFileOpen");
        QCOMPARE(entries, c.loans.isEmpty() || c.broken ? QStringList() : QStringList({"Van", "Car", "Car"}));
        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), c.opened.isEmpty() && c.how != "cmdNew" ? 0 : 1);
        if (!c.opened.isEmpty()) {
            const int row = c.how == "Enter" ? 0 : c.how == "Down Enter" ? 1 : 2;
            QVERIFY(windows[0]->description() == c.opened && windows[0]->Loan() == keys[row]);
            QCOMPARE(windows[0]->windowTitle(), c.opened.trimmed());
        }
        if (!windows.isEmpty()) {  // typing starts in the description
            QTest::keyClicks(windows[0]->focusWidget(), "X");
            QCOMPARE(windows[0]->description(), c.opened + "X");
        }
        QCOMPARE(f->messages.shown().size(), int(c.broken));
    }

    // The caption and the Window menu follow the description: emptied, and
    // with its line breaks shown as spaces.
    void captionFollowsTheDescription()
    {
        const int key = f->storeLoan("Car");
        f->breakStore("UPDATE tblLoanDetail SET Description = 'Car' || char(10) || 'loan' || char(13, 10) || 'for' || char(8232) || 'Bo'");
        frmLoan* w = f->main->loanWindows().openLoan(key);
        auto* menu = child<QMenu>(f->main.get(), "mnuWindow");
        const auto listed = [&] {
            emit menu->aboutToShow();
            return menu->actions().last()->text();
        };
        QCOMPARE(w->description(), QString::fromUtf8("Car\nloan\r\nfor\u2028Bo"));
        QCOMPARE(w->parentWidget()->windowTitle(), "Car loan for Bo");
        QCOMPARE(listed(), "&1 Car loan for Bo");
        QWidget* box = child<QWidget>(w, "txtLoan");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(w->parentWidget()->windowTitle(), QString());
        QCOMPARE(listed(), "&1 ");
    }

    // Within each menu every item has its own access key.
    void accessKeysUniqueInEachMenu()
    {
        f->run("mnuFileNew");
        f->run("mnuFileNew");
        for (QMenu* menu : f->main->menuBar()->findChildren<QMenu*>()) {
            emit menu->aboutToShow();
            QStringList keys;
            for (QAction* action : menu->actions()) {
                const QString key = QKeySequence::mnemonic(action->text()).toString();
                QVERIFY2(key.isEmpty() || !keys.contains(key), qPrintable(menu->title() + ": " + action->text()));
                keys << key;
            }
        }
    }

    // Help > Contents and F1 open the guide in one window of its own, brought
    // forward rather than opened twice; Esc closes it.
    void helpContents()
    {
        f->run("mnuHelpContents");
        QWidget* help = QApplication::activeWindow();
        QVERIFY(help && help->objectName() == "frmHelp");
        QVERIFY(child<QTextBrowser>(help, "txtHelp")->toPlainText().contains("Do you want to save the changes?"));
        QTest::keyClick(f->main.get(), Qt::Key_F1);
        QCOMPARE(QApplication::activeWindow(), help);
        QTest::keyClick(help, Qt::Key_Escape);
        QVERIFY(!help->isVisible());
    }

    // The about box's System Info with no system information program on the
    // PATH says so; the box shows the icon installed for the desktop.
    void aboutFromTheHelpMenu()
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", f->store.folder().toLocal8Bit());
        QImage aboutIcon;
        f->main->setDialogRunner([&](QDialog& d) {
            aboutIcon = child<QLabel>(&d, "picIcon")->pixmap().toImage();
            QTest::mouseClick(child<QPushButton>(&d, "cmdSysInfo"), Qt::LeftButton);
        });
        f->run("mnuHelpAbout");
        qputenv("PATH", path);
        QCOMPARE(f->messages.texts(Kind::Information), QStringList{"System Information Is Unavailable At This Time"});
        const QImage installed(BRIMVALE_ICON_DIR "/32x32/apps/org.brimvale.Brimvale.png");
        QVERIFY(!installed.isNull());
        QCOMPARE(aboutIcon.convertToFormat(installed.format()), installed);
    }
};

QTEST_MAIN(ShellStartTest)
#include "tst_shell_start.moc"
