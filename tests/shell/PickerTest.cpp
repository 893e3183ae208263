// The loan picker, the about box as the main window shows it, and start-up.
#include "LoanStore.h"
#include "ShellFixture.h"
#include "Startup.h"
#include "SystemInfo.h"
#include "frmAbout.h"
#include "frmLoan.h"
#include "frmOpen.h"
#include "mdiMain.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <functional>

using Kind = ScriptedMessages::Kind;

namespace {

struct NoValues : KeyValueSource {
    std::optional<KeyValue> lookup(std::uint32_t, const QString&, const QString&) const override { return {}; }
};

struct NoPrograms : ProgramLauncher {
    QStringList started;
    bool fileExists(const QString&) const override { return false; }
    bool start(const QString& program) override
    {
        started << program;
        return true;
    }
};

// What the picker looked like after the test's steps.
struct PickerRun {
    bool ran = false;
    QStringList entries;
    QList<int> keys;
    bool stillOpen = false;
};

QListWidget* list(QDialog& d) { return d.findChild<QListWidget*>(QStringLiteral("lstLoan")); }
QPushButton* button(QDialog& d, const char* name) { return d.findChild<QPushButton*>(QString::fromLatin1(name)); }

void select(QDialog& d, int row)
{
    QListWidget* l = list(d);
    l->setCurrentRow(row);
    QVERIFY(l->item(row)->isSelected());
}

}  // namespace

class PickerTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

    // File > Open with the picker driven by `steps` instead of the user.
    PickerRun openPicker(const std::function<void(QDialog&)>& steps, bool viaToolbar = false)
    {
        PickerRun run;
        f->main->setDialogRunner([&](QDialog& d) {
            run.ran = qobject_cast<frmOpen*>(&d) != nullptr;
            d.show();
            if (!QTest::qWaitForWindowActive(&d))
                qWarning("picker not active");
            for (int i = 0; i < list(d)->count(); ++i) {
                run.entries << list(d)->item(i)->text();
                run.keys << list(d)->item(i)->data(Qt::UserRole).toInt();
            }
            steps(d);
            run.stillOpen = d.isVisible();
        });
        if (viaToolbar)
            f->main->toolbarButtonClick(QStringLiteral("Open"));
        else
            f->action(QStringLiteral("mnuFileOpen"))->trigger();
        ShellFixture::settle();
        return run;
    }

private slots:
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

    void pickerFrame()
    {
        openPicker([](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Open"));
            QCOMPARE(d.size(), QSize(288, 169));
            QCOMPARE(d.findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(), QStringLiteral("Select a Loan"));
            QVERIFY(!list(d)->isSortingEnabled());
            QCOMPARE(list(d)->selectionMode(), QAbstractItemView::SingleSelection);
            QCOMPARE(button(d, "cmdOpen")->text(), QStringLiteral("Open"));
            QCOMPARE(button(d, "cmdExit")->text(), QStringLiteral("Exit"));
            QCOMPARE(button(d, "cmdNew")->text(), QStringLiteral("New"));
            QVERIFY(button(d, "cmdOpen")->isDefault());
            QCOMPARE(button(d, "cmdOpen")->nextInFocusChain(), button(d, "cmdExit"));
            QCOMPARE(button(d, "cmdExit")->nextInFocusChain(), button(d, "cmdNew"));
            d.reject();
        });
    }

    // On an empty store: what each way out of the picker does.
    void emptyStore_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("stillOpen");
        QTest::addColumn<QStringList>("windows");
        QTest::newRow("Open without a selection") << "open" << true << QStringList{};
        QTest::newRow("New") << "new" << false << QStringList{"Untitled"};
        QTest::newRow("Esc answers New") << "esc" << false << QStringList{"Untitled"};
        QTest::newRow("Exit") << "exit" << false << QStringList{};
        QTest::newRow("close box") << "close" << false << QStringList{};
    }
    void emptyStore()
    {
        QFETCH(QString, how);
        QFETCH(bool, stillOpen);
        QFETCH(QStringList, windows);
        const PickerRun run = openPicker([&](QDialog& d) {
            if (how == QLatin1String("open"))
                QTest::mouseClick(button(d, "cmdOpen"), Qt::LeftButton);
            else if (how == QLatin1String("new"))
                QTest::mouseClick(button(d, "cmdNew"), Qt::LeftButton);
            else if (how == QLatin1String("esc"))
                QTest::keyClick(&d, Qt::Key_Escape);
            else if (how == QLatin1String("exit"))
                QTest::mouseClick(button(d, "cmdExit"), Qt::LeftButton);
            else
                d.close();
        });
        QVERIFY(run.ran);
        QVERIFY(run.entries.isEmpty());
        QCOMPARE(run.stillOpen, stillOpen);
        QStringList captions;
        for (frmLoan* w : f->main->openLoans()) {
            captions << w->windowTitle();
            QCOMPARE(w->Mode, 0);
        }
        QCOMPARE(captions, windows);
        QVERIFY(f->messages.shown().isEmpty());
    }

    void entriesInStoreOrderTrimmed()
    {
        const int b = f->storeLoan({QStringLiteral("Boat")});
        const int c = f->storeLoan({QStringLiteral("  Car  ")});
        const int a = f->storeLoan({QStringLiteral("\tAuto ")});
        const PickerRun run = openPicker([](QDialog& d) { d.reject(); }, true);
        QCOMPARE(run.entries, (QStringList{"Boat", "Car", "Auto"}));
        QCOMPARE(run.keys, (QList<int>{b, c, a}));
    }

    // Each way of opening gives the chosen record, captioned without blanks.
    void openChosenLoan_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Open button") << "button";
        QTest::newRow("double-click") << "double-click";
        QTest::newRow("Enter") << "enter";
    }
    void openChosenLoan()
    {
        QFETCH(QString, how);
        f->storeLoan({QStringLiteral("Boat")});
        const int car = f->storeLoan({QStringLiteral("  Car  "), QStringLiteral("12345")});
        const PickerRun run = openPicker([&](QDialog& d) {
            select(d, 1);
            if (how == QLatin1String("button")) {
                QTest::mouseClick(button(d, "cmdOpen"), Qt::LeftButton);
            } else if (how == QLatin1String("enter")) {
                QTest::keyClick(&d, Qt::Key_Return);
            } else {
                QListWidget* l = list(d);
                const QPoint at = l->visualItemRect(l->item(1)).center();
                QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
            }
        });
        QVERIFY(!run.stillOpen);
        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows[0]->Mode, 1);
        QCOMPARE(windows[0]->Loan, car);
        QCOMPARE(windows[0]->windowTitle(), QStringLiteral("Car"));
        QCOMPARE(windows[0]->description(), QStringLiteral("  Car  "));
        QVERIFY(ShellFixture::text(windows[0], "txtLoanAmount").contains(QStringLiteral("12,345.00")));
        QVERIFY(!windows[0]->IsDataChanged());
        QVERIFY2(f->messages.shown().isEmpty(), qPrintable(f->messages.texts().join('|')));
    }

    void sameDescriptionTwiceOpensEachRecord_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("amount");
        QTest::newRow("first") << 0 << "1,000.00";
        QTest::newRow("second") << 1 << "2,000.00";
    }
    void sameDescriptionTwiceOpensEachRecord()
    {
        QFETCH(int, row);
        QFETCH(QString, amount);
        const QList<int> keys{f->storeLoan({QStringLiteral("Car"), QStringLiteral("1000")}),
                              f->storeLoan({QStringLiteral("Car"), QStringLiteral("2000")})};
        const PickerRun run = openPicker([&](QDialog& d) {
            select(d, row);
            button(d, "cmdOpen")->click();
        });
        QCOMPARE(run.entries, (QStringList{"Car", "Car"}));
        const QList<frmLoan*> windows = f->main->openLoans();
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows[0]->Loan, keys[row]);
        QVERIFY2(ShellFixture::text(windows[0], "txtLoanAmount").contains(amount),
                 qPrintable(ShellFixture::text(windows[0], "txtLoanAmount")));
    }

    // The error is shown as "number - description"; New and Exit still work.
    void storeErrorWhileFilling_data()
    {
        QTest::addColumn<QString>("then");
        QTest::addColumn<int>("windows");
        QTest::newRow("then New") << "cmdNew" << 1;
        QTest::newRow("then Exit") << "cmdExit" << 0;
        QTest::newRow("then Open") << "cmdOpen" << 0;
    }
    void storeErrorWhileFilling()
    {
        QFETCH(QString, then);
        QFETCH(int, windows);
        f->storeLoan({QStringLiteral("Car")});
        QVERIFY(f->runSql(QStringLiteral("ALTER TABLE tblLoanDetail RENAME TO tblGone")));
        const PickerRun run = openPicker([&](QDialog& d) { button(d, then.toLatin1().constData())->click(); });
        const QStringList errors = f->messages.texts(Kind::Critical);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^-?\\d+ - \\S")).match(errors[0]).hasMatch(), qPrintable(errors[0]));
        QVERIFY(run.entries.isEmpty());
        QCOMPARE(run.stillOpen, then == QLatin1String("cmdOpen"));
        QCOMPARE(int(f->main->openLoans().size()), windows);
    }

    void aboutFromTheHelpMenu()
    {
        NoValues nothing;
        NoPrograms launcher;
        f->main->setSystemInfo(nothing, launcher);
        QString title;
        bool closedByOk = false;
        f->main->setDialogRunner([&](QDialog& d) {
            QVERIFY(qobject_cast<frmAbout*>(&d));
            d.show();
            title = d.windowTitle();
            button(d, "cmdSysInfo")->click();
            button(d, "cmdOK")->click();
            closedByOk = !d.isVisible() && d.result() == QDialog::Accepted;
        });
        f->action(QStringLiteral("mnuHelpAbout"))->trigger();
        QCOMPARE(title, QStringLiteral("About Brimvale"));
        QVERIFY(closedByOk);
        QCOMPARE(f->messages.shown().size(), 1);
        QCOMPARE(f->messages.shown()[0].kind, Kind::Information);
        QCOMPARE(f->messages.shown()[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
        QVERIFY(launcher.started.isEmpty());
    }

    void helpContentsDoesNothing()
    {
        bool dialog = false;
        f->main->setDialogRunner([&](QDialog&) { dialog = true; });
        f->action(QStringLiteral("mnuHelpContents"))->trigger();
        QVERIFY(!dialog);
        QVERIFY(f->messages.shown().isEmpty());
        QVERIFY(f->main->openLoans().isEmpty());
    }

    void startUp_data()
    {
        QTest::addColumn<bool>("fileThere");
        QTest::newRow("store present") << true;
        QTest::newRow("store missing") << false;
    }
    void startUp()
    {
        QFETCH(bool, fileThere);
        QTemporaryDir folder;
        const QString path = storePathIn(folder.path());
        QCOMPARE(path, folder.path() + QStringLiteral("/Brimvaledb.mdb"));
        if (fileThere)
            QVERIFY(QFile::copy(f->path, path));
        ScriptedMessages messages;
        const auto session = startSession(path, messages, f->clock);
        QCOMPARE(bool(session), fileThere);
        if (fileThere) {
            QVERIFY(messages.shown().isEmpty());
            QVERIFY(!session->window->isVisible());
            QCOMPARE(session->window->windowTitle(), QStringLiteral("Brimvale"));
            QVERIFY(session->window->openLoans().isEmpty());
        } else {
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown()[0].kind, Kind::Critical);
            const auto error = LoanStore::open(path);
            QCOMPARE(messages.shown()[0].text, std::get<StoreError>(error).description);
            QVERIFY(!QFile::exists(path));
        }
    }
};

QTEST_MAIN(PickerTest)
#include "PickerTest.moc"
