// The loan window as a user meets it: a new window, a loan typed and
// calculated, the refusals that name a box, the tabs, the close prompt.
#include "LoanWindowHarness.h"

#include <QClipboard>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

static const QStringList carRow1 = {"001 - 01/15/24", "330.02", "0.00", "330.02", "10.00", "10.00", "669.98"};

class tst_LoanWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinUnitedStates(); }

    void newWindow()
    {
        LoanWindowHarness h(QDate(2024, 5, 17));
        QCOMPARE(h.open().windowTitle(), QString("Untitled"));
        QCOMPARE(QApplication::focusWidget(), h.w("txtLoan"));
        for (int tab = 1; tab < h.tabs()->count(); ++tab) QVERIFY(!h.tabs()->isTabEnabled(tab));
        QCOMPARE(h.w<QComboBox>("cboppt")->currentIndex(), -1);
        QCOMPARE(h.w<DateBox>("dtStartDate")->date(), QDate(2024, 5, 17));
        QVERIFY(!h.window->DataHasChanged());
    }

    // Typed, and Enter in a box presses Calculate: the run's figures go into
    // the boxes and the table, every tab opens, and the window is changed.
    void typedLoanCalculates()
    {
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Car", 2, "12", 0, "3", "1000");
        h.w("txtLoanAmount")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(h.w("txtLoanAmount"), Qt::Key_Return);
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(h.text("txtLoanAmount") + ' ' + h.text("txtPaymentAmount"), QString("$1,000.00 $340.02"));
        QCOMPARE(h.row("flxResults", 0), carRow1);
        QCOMPARE(h.text("txtTotalPaid"), QString("$1,020.07"));
        QCOMPARE(h.text("txtSavedPayments"), QString("0"));
        // The cent the last payment adds is named under the extra payments.
        QCOMPARE(h.w<QLabel>("lblExtraPaymentsNote")->text(), QString("includes $.01 rounding on the last payment"));
        for (int tab = 1; tab < h.tabs()->count(); ++tab) QVERIFY(h.tabs()->isTabEnabled(tab));
        QVERIFY(h.window->DataHasChanged());
        // The amounts as the run wrote them read back to the same loan.
        h.calculate();
        QCOMPARE(h.row("flxResults", 0), carRow1);
        // Typed over and calculated by the access key, never leaving the box.
        h.type("txtLoanAmount", "2000", false);
        QTest::keyClick(h.window.get(), Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(h.text("txtPaymentAmount"), QString("$680.04"));
    }

    // The formula's rate is a fraction per period, as a user following it by hand needs it.
    void formulasLegend()
    {
        LoanWindowHarness h;
        h.open();
        const QString legend = h.w<QLabel>("Picture1")->text();
        QVERIFY2(legend.contains("i = interest rate per period, as a fraction") && legend.contains("0.005"),
                 qPrintable(legend));
    }

    // A refusal names the box, puts the focus there and changes nothing else;
    // a term that passed its own check goes back into its box whole.
    void refusalsNameTheBox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("term");
        QTest::newRow("rate, other decimal separator") << "txtInterestRate" << "6,5"
            << "Interest rate must be numeric. Your regional settings write the decimal separator as \".\", as in 6.5."
            << "3";
        QTest::newRow("amount beyond the largest") << "txtLoanAmount" << "99,999,999,999,999,999,999"
            << "The Loan Amount cannot be more than $9,999,999,999,999.99, the largest amount this program keeps."
            << "3";
        QTest::newRow("term, half to even, then no amount") << "txtLoanAmount" << ""
            << "A Loan Amount or Payment Amount must be entered." << "2";
        QTest::newRow("term ends before a payment") << "txtTerm" << "1"
            << "A Payment Term of 1 month is shorter than one payment period (Quarterly), so there would be no "
               "payments. Enter a longer Payment Term." << "1";
    }
    void refusalsNameTheBox()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, warning);
        QFETCH(QString, term);
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Car", term == "1" ? 5 : 2, "12", 0, term == "2" ? "2.5" : "3", "1000");
        h.type(qPrintable(box), typed);
        h.calculate();
        QCOMPARE(h.messages.texts(Kind::Warning), QStringList{warning});
        QCOMPARE(QApplication::focusWidget(), h.w(qPrintable(box)));
        QCOMPARE(h.text("txtTerm"), term);
        QCOMPARE(h.model("flxResults")->rowCount(), 0);
    }

    // A run the engine refuses after every check passed leaves the window as it was.
    void failedRunLeavesTheWindowAlone()
    {
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        h.choose("cboppt", 0);
        h.type("txtTerm", "32767");
        h.calculate();
        QCOMPARE(h.messages.texts(Kind::Critical), QStringList{"6 - Overflow"});
        QCOMPARE(h.row("flxResults", 0), carRow1);
        QCOMPARE(h.text("txtPaymentAmount"), QString("$340.02"));
    }

    void enablingFollowsTheTab()
    {
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        h.tabs()->setCurrentIndex(2);
        QVERIFY(!h.w("txtLoan")->isEnabled() && !h.w("cmdCalculate")->isEnabled());
        h.tabs()->setCurrentIndex(1);
        QVERIFY(h.w("cmdAddPayment")->isEnabled() && h.w("chkSuppressFuture")->isEnabled());
        h.tabs()->setCurrentIndex(0);
        QVERIFY(h.w("txtLoan")->isEnabled() && h.w("cmdCalculate")->isEnabled() && !h.w("cmdAddPayment")->isEnabled());
    }

    // The caption is exactly the description, also what Qt would take for its
    // "modified" mark; the MDI frame and its menu entry follow it.
    void captionIsTheDescription()
    {
        LoanWindowHarness h;
        QMdiArea area;
        h.window = std::make_unique<frmLoan>(*h.store, h.messages, h.clock);
        QMdiSubWindow* frame = area.addSubWindow(h.window.get());
        h.window->load();
        area.show();
        QApplication::setActiveWindow(&area);
        QVERIFY(QTest::qWaitForWindowActive(&area));
        h.type("txtLoan", "Car [*] 2024");
        QCOMPARE(h.window->windowTitle(), QString("Car [*] 2024"));
        QVERIFY(h.window->isWindowModified());
        QCOMPARE(frame->windowTitle(), QString("Car [*] 2024"));
        h.type("txtLoan", "");
        QCOMPARE(frame->windowTitle(), QString());
        h.window->markUnchanged();
        h.window.release();  // the frame owns it
    }

    // The rows of one stored loan with a repeating payment, edited, closed.
    void closePrompt_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("answer");  // 1 Yes, 0 No, -1 the box dismissed
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("storedRows");
        const QString car = "Loan - Information has changed\r\nDo you want to save the changes?";
        QTest::newRow("opened and closed: no prompt") << "" << 0 << "" << true << 1;
        QTest::newRow("after Calculate, No") << "calculate" << 0 << car << true << 1;
        QTest::newRow("a row added only, Yes: saved") << "row" << 1 << car << true << 2;
        QTest::newRow("date typed, not left, No") << "date" << 0 << car << true << 1;
        QTest::newRow("dismissed: stays") << "row" << -1 << car << false << 1;
        QTest::newRow("empty description, Yes: stays")
            << "description" << 1 << " - Information has changed\r\nDo you want to save the changes?" << false << 1;
    }
    void closePrompt()
    {
        QFETCH(QString, edit);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(bool, closes);
        QFETCH(int, storedRows);
        LoanWindowHarness h;
        const ExtraPaymentRow repeating{engine::ExtraPaymentKind::Repeating, QDate(2024, 2, 1), QDate(2024, 3, 1), 5};
        const int key = h.storeLoan({}, {repeating});
        frmLoan& window = h.open(key);
        if (edit == "calculate") h.calculate();
        if (edit == "row") h.click("cmdAddPayment");
        if (edit == "date") h.type("dtStartDate", "2/15/2024", false);
        if (edit == "description") h.type("txtLoan", "");
        if (answer == -1) h.messages.dismiss();
        else h.messages.answer(answer == 1);
        QCOMPARE(window.close(), closes);
        QCOMPARE(h.messages.texts(Kind::Question), question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(h.store->readExtraPayments(key).rows.size(), size_t(storedRows));
        if (edit == "description")
            QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Loan Description must be entered."});
        if (!closes) QVERIFY(window.isVisible() && window.DataHasChanged());
    }

    // Ctrl+A, Ctrl+C: every cell under its headings, tab-separated.
    void copyCells()
    {
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        h.tabs()->setCurrentIndex(2);
        auto* table = h.w<QTableView>("flxResults");
        table->setFocus();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[1], carRow1.join('\t'));
    }
};

QTEST_MAIN(tst_LoanWindow)
#include "tst_loanwindow_window.moc"
