#pragma once

// A real store file in a temporary folder and a shown main window on it, for
// the shell's tests; and doubles for the registry and the program launcher.
#include "LoanStore.h"
#include "LocaleText.h"
#include "SaveTexts.h"
#include "LoanWindowFactory.h"
#include "RawStore.h"
#include "ScriptedMessages.h"
#include "Startup.h"
#include "StoreLocation.h"
#include "StoreFile.h"
#include "DateBox.h"
#include "frmLoan.h"
#include "mdiMain.h"

#include <QtPrintSupport>
#include <QtSql>
#include <QtTest>
#include <QtWidgets>

using Kind = ScriptedMessages::Kind;


template <class T> inline T* child(const QObject* parent, const char* name) { return parent->findChild<T*>(name); }
inline QString amountShown(const frmLoan* w) { return child<QLineEdit>(w, "txtLoanAmount")->text(); }

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
        auto* begin = child<DateBox>(w, "dtBeginDate");
        begin->setFocus();
        begin->selectAll();
        QTest::keyClicks(begin, LocaleText::shortDateText(QDate(2027, 3, 1)));
        QTest::keyClick(begin, Qt::Key_Tab);
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
    void breakStore(const QString& statement) { QCOMPARE(rawSql(path, statement), QStringList()); }
};

// For test classes that start each test on a main window of its own, active
// as a user's is, and end it with the windows let go without their prompts.
inline bool startActive(std::unique_ptr<ShellFixture>& f)
{
    f = std::make_unique<ShellFixture>();
    QApplication::setActiveWindow(f->main.get());
    return QTest::qWaitForWindowActive(f->main.get());
}
inline void endUnprompted(std::unique_ptr<ShellFixture>& f)
{
    for (frmLoan* w : f->main->openLoans())
        w->markUnchanged();
    f.reset();
}
