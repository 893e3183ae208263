// The loan window driven as a user would: a new window, worked examples,
// tabs, loading a stored loan, the close prompt, a failed run.
#include "LoanWindowHarness.h"
#include "LocaleText.h"
#include "PinnedLocale.h"

#include <QLabel>
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QScrollBar>
#include <QTabBar>

using Kind = ScriptedMessages::Kind;

static const QStringList carRow1 = {"001 - 01/15/24", "330.02", "0.00", "330.02", "10.00", "10.00", "669.98"};

class tst_LoanWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    void newWindowInitialState()
    {
        LoanWindowHarness h(QDate(2024, 5, 17));
        QCOMPARE(h.open().windowTitle(), QString("Untitled"));
        QCOMPARE(h.tabs()->currentIndex(), 0);
        for (int tab = 1; tab < 6; ++tab) QVERIFY(!h.tabs()->isTabEnabled(tab));
        for (const char* name : {"txtLoan", "txtInterestRate", "txtTerm", "txtLoanAmount", "txtPaymentAmount"})
            QVERIFY2(h.text(name).isEmpty(), name);
        QCOMPARE(h.w<QComboBox>("cboTerm")->currentText(), QString("Months"));
        QCOMPARE(h.w<QComboBox>("cboppt")->currentIndex(), -1);
        QCOMPARE(h.w<DateBox>("dtStartDate")->date(), QDate(2024, 5, 17));
        QCOMPARE(h.paymentCount(), 0);
        QVERIFY(!h.window->findChild<QWidget*>("chSummary"));
    }

    // Monthly from 15 January 2024. input: rate, term unit, term, loan, payment,
    // and a lump sum added on tab 1 for 20 January, Recalculate pressed while
    // its amount is still in the box.
    void workedExamples_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("texts");
        const QStringList car = {"12", "0", "3", "1000", "", ""}, house = {"6", "1", "30", "100000", "", ""};
        const QStringList carBoxes = {"$1,000.00", "$340.02"};
        QTest::newRow("1,000 3m row 1") << car << carBoxes << 3 << 0 << carRow1;
        // Rows 2 and 3 of this loan: copyCells (Ctrl+A).
        QTest::newRow("100,000 30y row 1") << house << QStringList{"$100,000.00", "$599.55"} << 360 << 0
            << QStringList{"001 - 01/15/24", "99.55", "0.00", "99.55", "500.00", "500.00", "99,900.45"};
        QTest::newRow("100,000 30y row 360") << house << QStringList{"$100,000.00", "$599.55"} << 360 << 359
            << QStringList{"360 - 12/15/53"};
        QTest::newRow("500.00 lump sum") << QStringList{"12", "0", "3", "1000", "", "500"} << carBoxes << 2 << 1
            << QStringList{"002 - 02/15/24", "333.32", "336.66", "1,000.00", "6.70", "16.70", "0.00"};
        QTest::newRow("payment given") << QStringList{"6", "1", "30", "", "599.55", ""}
            << QStringList{"$99,999.91", "$599.55"} << 360 << 0
            << QStringList{"001 - 01/15/24", "99.55", "0.00", "99.55", "500.00", "500.00", "99,900.36"};
        QTest::newRow("both amounts: payment overwritten") << QStringList{"12", "0", "3", "1000", "5", ""}
            << carBoxes << 3 << 0 << carRow1;
    }
    void workedExamples()
    {
        QFETCH(QStringList, input);
        QFETCH(QStringList, boxes);
        QFETCH(int, rows);
        QFETCH(int, row);
        QFETCH(QStringList, texts);
        LoanWindowHarness h;
        h.open();
        h.show();
        h.enterLoan("Car", 2, input[0], input[1].toInt(), input[2], input[3], input[4], QDate(2024, 1, 15));
        h.calculate();
        if (!input[5].isEmpty()) {
            h.tabs()->setCurrentIndex(1);
            h.addPayment(true, QDate(2024, 1, 20), {}, "1");
            h.focus("txtXPaymentAmount");
            h.type("txtXPaymentAmount", input[5]);
            h.click("cmdRecalculate");
        }
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE((QStringList{h.text("txtLoanAmount"), h.text("txtPaymentAmount")}), boxes);
        QCOMPARE(h.results()->rowCount(), rows);
        QCOMPARE(h.resultRow(row).mid(0, texts.size()), texts);
        QCOMPARE(h.result(rows - 1, 6), QString("0.00"));
    }

    void recalculateGivesTheIdenticalTable()
    {
        LoanWindowHarness h;
        h.open();
        QAbstractItemModelTester tester(h.results(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        h.enterLoan("House", 2, "6", 1, "30", "100000", "", QDate(2024, 1, 15));
        h.calculate();
        auto table = [&] { QStringList all; for (int row = 0; row < 360; ++row) all << h.resultRow(row); return all; };
        const QStringList before = table();
        h.tabs()->setCurrentIndex(1);
        h.click("cmdRecalculate");
        QCOMPARE(table(), before);
        QCOMPARE(h.text("txtPaymentAmount"), QString("$599.55"));
    }

    // Today is 15 March 2024: due rows are yellow, later ones cyan; odd rows lighter.
    void rowColours_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QColor>("row1");
        QTest::addColumn<QColor>("row2");
        QTest::newRow("first due today") << QDate(2024, 3, 15) << QColor(0xFF, 0xFF, 0xC0) << QColor(0x80, 0xFF, 0xFF);
        QTest::newRow("first due tomorrow") << QDate(2024, 3, 16) << QColor(0xC0, 0xFF, 0xFF) << QColor(0x80, 0xFF, 0xFF);
    }
    void rowColours()
    {
        QFETCH(QDate, first);
        QFETCH(QColor, row1);
        QFETCH(QColor, row2);
        LoanWindowHarness h(QDate(2024, 3, 15));
        h.open();
        h.carLoan(first);
        auto colour = [&](int row, int column) { return h.results()->index(row, column).data(Qt::BackgroundRole).value<QBrush>().color(); };
        QCOMPARE(colour(0, 1), row1);
        QCOMPARE(colour(0, 6), row1);
        QCOMPARE(colour(1, 3), row2);
    }

    void tabsLockedUntilAValidCalculation()
    {
        LoanWindowHarness h;
        h.open();
        h.show();
        QTabBar* bar = h.tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
        QCOMPARE(h.tabs()->currentIndex(), 0);
        h.enterLoan("", 2, "12", 0, "3", "1000", "", QDate(2024, 1, 15));
        h.calculate();
        QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Loan Description must be entered."});
        for (int tab = 1; tab < 6; ++tab) QVERIFY(!h.tabs()->isTabEnabled(tab));
        h.type("txtLoan", "Car");
        h.calculate();
        for (int tab = 1; tab < 6; ++tab) QVERIFY(h.tabs()->isTabEnabled(tab));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
        QCOMPARE(h.tabs()->currentIndex(), 2);
    }

    void enablingFollowsTheTab_data()
    {
        QTest::addColumn<QList<int>>("path");
        QTest::addColumn<bool>("loanInputs");
        QTest::addColumn<bool>("extraInputs");
        QTest::newRow("0 -> 2 -> 0") << QList<int>{2, 0} << true << false;
        QTest::newRow("1 -> 3 -> 1") << QList<int>{1, 3, 1} << false << true;
    }
    void enablingFollowsTheTab()
    {
        QFETCH(QList<int>, path);
        QFETCH(bool, loanInputs);
        QFETCH(bool, extraInputs);
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        for (int tab : path) h.tabs()->setCurrentIndex(tab);
        for (const char* name : {"txtLoan", "dtStartDate", "cboppt", "txtInterestRate", "cboTerm", "txtTerm",
                                 "txtLoanAmount", "txtPaymentAmount", "cmdCalculate"})
            QVERIFY2(h.w(name)->isEnabled() == loanInputs, name);
        // Every extra payments input, Delete included, although the table is empty.
        for (const char* name : {"cmdAddPayment", "cmdDeletePayment", "cmdRecalculate", "optType_0", "optType_1",
                                 "dtBeginDate", "dtEndDate", "txtXPaymentAmount", "flxPayments", "chkSuppressFuture"})
            QVERIFY2(h.w(name)->isEnabled() == extraInputs, name);
    }

    // A run that overflows in the engine (after every check passed) shows
    // "6 - Overflow" and leaves the boxes and the table as they were; the
    // window calculates on and the stored loan is untouched.
    void failedRunLeavesTheWindowUnchanged_data()
    {
        QTest::addColumn<int>("termType");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("amount");
        QTest::newRow("weekly, 700 years") << 1 << "700" << "2000";
        QTest::newRow("weekly, 32767 months") << 0 << "32767" << "1000";
    }
    void failedRunLeavesTheWindowUnchanged()
    {
        QFETCH(int, termType);
        QFETCH(QString, term);
        QFETCH(QString, amount);
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        QVERIFY(h.window->save());
        h.w<QComboBox>("cboppt")->setCurrentIndex(0);
        h.w<QComboBox>("cboTerm")->setCurrentIndex(termType);
        h.type("txtTerm", term);
        h.type("txtLoanAmount", amount);
        auto boxes = [&] { QStringList all; for (QLineEdit* box : h.window->findChildren<QLineEdit*>()) all << box->text(); return all; };
        const QStringList before = boxes();
        h.calculate();
        QCOMPARE(h.messages.texts(Kind::Critical), QStringList{"6 - Overflow"});
        QCOMPARE(boxes(), before);
        QCOMPARE(h.resultRow(0), carRow1);
        QCOMPARE(h.results()->rowCount(), 3);
        h.messages.clear();
        h.w<QComboBox>("cboppt")->setCurrentIndex(2);
        h.w<QComboBox>("cboTerm")->setCurrentIndex(0);
        h.type("txtTerm", "3");
        h.type("txtLoanAmount", "1000");
        h.calculate();
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(h.text("txtPaymentAmount"), "$340.02");
        const auto stored = std::get<LoanRecord>(h.store->readLoan(h.window->Loan()));
        QCOMPARE(shownNumber(stored.origAmount) + ' ' + shownNumber(stored.term), "1000 3");
    }

    void loadsALoanWithThreeExtraPayments()
    {
        LoanWindowHarness h;
        frmLoan& window = h.open(1, h.storeLoan(1, {{"R", "2/1/2024", "6/1/2024", "100"}, {"L", "3/1/2024", "", "500"},
                                                     {"R", "7/1/2024", "9/1/2024", "$1,234.50"}}));
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(h.w<QComboBox>("cboTerm")->currentIndex(), 1);
        const QList<QStringList> grid = {{"1", "R", "2/1/2024", "6/1/2024", "$100.00"},
                                         {"2", "L", "3/1/2024", "", "$500.00"},
                                         {"3", "R", "7/1/2024", "9/1/2024", "$1,234.50"}};
        QCOMPARE(h.paymentCount(), 3);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 5; ++column) QCOMPARE(h.payment(row, column), grid[row][column]);
        QCOMPARE(h.text("txtXPaymentAmount"), QString("$100.00"));
        // Calculated with the extra payments, every tab open, counted unchanged.
        QCOMPARE((QStringList{h.result(0, 2), h.result(1, 2), h.result(2, 2)}), (QStringList{"0.00", "100.00", "600.00"}));
        for (int tab = 1; tab < 6; ++tab) QVERIFY(h.tabs()->isTabEnabled(tab));
        QVERIFY(!window.IsDataChanged());
    }

    void loadStopsAtABadTermType()
    {
        LoanWindowHarness h;
        h.open(1, h.storeLoan(2));
        QCOMPARE(h.messages.texts(Kind::Critical), QStringList{"380 - Invalid property value"});
        // What comes before the term unit is loaded, the frequency is not.
        QCOMPARE(h.text("txtTerm"), QString("3"));
        QCOMPARE(h.w<QComboBox>("cboTerm")->currentIndex(), 0);
        QCOMPARE(h.w<QComboBox>("cboppt")->currentIndex(), -1);
        QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Payment frequency must be selected."});
        QCOMPARE(h.results()->rowCount(), 0);
    }

    // Once the term passes its own check it goes back into the box as a whole
    // number, also when a later check fails.
    void wholeTermWrittenBack_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("warning");
        QTest::newRow("0.6, no amount") << "0.6" << "" << "1" << "A Loan Amount or Payment Amount must be entered.";
        QTest::newRow("12.5, amount of letters") << "12.5" << "abc" << "12" << "The Loan Amount must be numeric.";
        QTest::newRow("0.4 fails its own check") << "0.4" << "" << "0.4" << "Payment term must be greater than 0.";
        QTest::newRow(" 3 , passes") << " 3 " << "1000" << "3" << "";
    }
    void wholeTermWrittenBack()
    {
        QFETCH(QString, term);
        QFETCH(QString, amount);
        QFETCH(QString, shown);
        QFETCH(QString, warning);
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Car", 2, "12", 0, term, amount, "", QDate(2024, 1, 15));
        h.calculate();
        QCOMPARE(h.text("txtTerm"), shown);
        QCOMPARE(h.messages.texts(Kind::Warning), warning.isEmpty() ? QStringList() : QStringList{warning});
    }

    // A term that ends before its first payment is named as the term's fault,
    // with the focus in the term box, never a numbered run error.
    void termWithoutPayment_data()
    {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("termType");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("period");
        QTest::newRow("1 month quarterly") << 5 << 0 << "1" << "Quarterly";
        QTest::newRow("6 months anually") << 7 << 0 << "6" << "Anually";
    }
    void termWithoutPayment()
    {
        QFETCH(int, frequency);
        QFETCH(int, termType);
        QFETCH(QString, term);
        QFETCH(QString, period);
        LoanWindowHarness h;
        h.open();
        h.show();
        h.enterLoan("Car", frequency, "6", termType, term, "1000", "", QDate(2024, 1, 15));
        h.calculate();
        QVERIFY(h.messages.texts(Kind::Critical).isEmpty());
        const QStringList warnings = h.messages.texts(Kind::Warning);
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().contains("Payment Term of " + term) && warnings.first().contains(period),
                 qPrintable(warnings.first()));
        QCOMPARE(QApplication::focusWidget(), h.w("txtTerm"));
        QCOMPARE(h.results()->rowCount(), 0);
    }

    // The cent the last payment adds to clear the balance shows in the extra
    // payments boxes, named as rounding beneath them, so a loan without extra
    // payments does not seem to have had some.
    void lastPaymentRoundingNamed_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("loan");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("note");  // empty: hidden
        QTest::newRow("12 %: a cent of rounding") << "12" << "1000" << "$.01"
                                                  << "includes $.01 rounding on the last payment";
        QTest::newRow("no interest, 1000 in thirds") << "0" << "1000" << "$.01"
                                                     << "includes $.01 rounding on the last payment";
        QTest::newRow("no interest, even thirds: none") << "0" << "1200" << "$.00" << "";
    }
    void lastPaymentRoundingNamed()
    {
        QFETCH(QString, rate);
        QFETCH(QString, loan);
        QFETCH(QString, amount);
        QFETCH(QString, note);
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Car", 2, rate, 0, "3", loan, "", QDate(2024, 1, 15));
        h.calculate();
        for (const auto& [box, label] : {std::pair{"txtExtraPayments", "lblExtraPaymentsNote"},
                                         std::pair{"txtAdjExtraPayments", "lblAdjExtraPaymentsNote"}}) {
            QCOMPARE(h.text(box), amount);
            QCOMPARE(h.w<QLabel>(label)->isHidden(), note.isEmpty());
            QCOMPARE(h.w<QLabel>(label)->text(), note);
            QCOMPARE(h.w(box)->toolTip(), note);
        }
    }

    // Below its designed size a page scrolls; its controls keep the room
    // their texts need.
    void narrowWindowScrolls()
    {
        LoanWindowHarness h;
        h.open();
        h.show();
        h.window->resize(200, 150);
        QApplication::processEvents();
        auto* area = qobject_cast<QAbstractScrollArea*>(h.tabs()->currentWidget());
        QVERIFY(area);
        QVERIFY(area->verticalScrollBar()->isVisible() && area->horizontalScrollBar()->isVisible());
        const int amount = h.box("txtLoan")->fontMetrics().horizontalAdvance("$999,999.99");
        for (QWidget* input : h.w("fraLoan")->findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(input) && !qobject_cast<QComboBox*>(input) && !qobject_cast<QAbstractButton*>(input)
                && !qobject_cast<QAbstractSpinBox*>(input))
                continue;
            if (input->parentWidget() != h.w("fraLoan")) continue;  // a combo box's own line edit
            // A combo box measures its entries once polished; the layout follows a moment later.
            QTRY_VERIFY2(input->width() >= input->minimumSizeHint().width() && input->height() >= input->minimumSizeHint().height(),
                     qPrintable(input->objectName()));
            if (qobject_cast<QLineEdit*>(input)) QVERIFY2(input->width() >= amount, qPrintable(input->objectName()));
        }
        auto* combo = h.w<QComboBox>("cboppt");
        QVERIFY(combo->width() >= combo->fontMetrics().horizontalAdvance(combo->itemText(1)));

        // The charts keep room for their axis labels and legend (squashed, their labels turn into "...").
        h.carLoan();
        for (const auto& [name, tab] : {std::pair{"chSummary", 3}, std::pair{"chBalance", 6}}) {
            h.tabs()->setCurrentIndex(tab);
            QWidget* chart = h.w(name);
            QApplication::processEvents();
            QVERIFY2(chart->height() >= 8 * QFontMetrics(chart->font()).height(), name);
            QVERIFY2(chart->width() >= 20 * QFontMetrics(chart->font()).averageCharWidth(), name);
        }
    }

    // A stored loan with one repeating payment, edited, then closed.
    void closePrompt_data()
    {
        QTest::addColumn<int>("edit");  // 0 none, 1 Calculate, 2 extra payments only, 3 description emptied, 4 first payment date only
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("storeFails");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("warning");
        const QString car = "Car - Information has changed\r\nDo you want to save the changes?";
        QTest::newRow("opened and closed: no prompt") << 0 << false << false << "" << "";
        QTest::newRow("after Calculate, No") << 1 << false << false << car << "";
        QTest::newRow("extra payments edited only, No") << 2 << false << false << car << "";
        QTest::newRow("empty description, Yes: stays") << 3 << true << false
            << " - Information has changed\r\nDo you want to save the changes?" << "Loan Description must be entered.";
        QTest::newRow("failed save, Yes: stays") << 1 << true << true << car << "";
        QTest::newRow("first payment date only, No") << 4 << false << false << car << "";
    }
    void closePrompt()
    {
        QFETCH(int, edit);
        QFETCH(bool, yes);
        QFETCH(bool, storeFails);
        QFETCH(QString, question);
        QFETCH(QString, warning);
        LoanWindowHarness h;
        const int key = h.storeLoan(0, {{"R", "2/1/2024", "3/1/2024", "5"}});
        frmLoan& window = h.open(1, key);
        h.show();
        if (edit == 1) h.calculate();
        if (edit == 2) {
            h.tabs()->setCurrentIndex(1);
            h.click("cmdAddPayment");
            h.tabs()->setCurrentIndex(0);
        }
        if (edit == 3) h.type("txtLoan", "");
        if (edit == 4) h.type("dtStartDate", LocaleText::shortDateText(QDate(2024, 2, 15)));
        if (storeFails) QCOMPARE(rawSql(h.store->path(), "DROP TABLE tblExtraPayments"), QStringList());
        h.messages.answer(yes);
        QCOMPARE(window.close(), !yes);
        QCOMPARE(h.messages.texts(Kind::Question), question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(h.messages.texts(Kind::Warning), warning.isEmpty() ? QStringList() : QStringList{warning});
        QCOMPARE(h.messages.texts(Kind::Critical).size(), storeFails ? 1 : 0);
        if (!yes)  // No saved nothing.
            QCOMPARE(h.store->readExtraPayments(key).rows.size(), size_t(1));
        else
            QVERIFY(window.isVisible() && window.IsDataChanged());
    }

    // Ctrl+C puts the selected cells on the clipboard under their headings.
    void copyCells_data()
    {
        QTest::addColumn<QList<QPoint>>("cells");  // (column, row); none: Ctrl+A
        QTest::addColumn<QString>("expected");
        QTest::newRow("block") << QList<QPoint>{{1, 0}, {2, 0}, {1, 1}, {2, 1}}
                               << "Principal Current\tPrincipal Extra\n330.02\t0.00\n333.32\t0.00\n";
        QTest::newRow("ragged: gaps stay empty, unselected rows go")
            << QList<QPoint>{{6, 0}, {4, 2}} << "Interest Current\tInterest Cummulitive\tBalance Due\n"
                                                "\t\t669.98\n3.37\t\t\n";
        QTest::newRow("Ctrl+A") << QList<QPoint>{}
                                << "Payment Date\tPrincipal Current\tPrincipal Extra\tPrincipal Cummulitive\t"
                                   "Interest Current\tInterest Cummulitive\tBalance Due\n" +
                                       carRow1.join('\t') +
                                       "\n002 - 02/15/24\t333.32\t0.00\t663.34\t6.70\t16.70\t336.66\n"
                                       "003 - 03/15/24\t336.65\t0.01\t1,000.00\t3.37\t20.07\t0.00\n";
    }
    void copyCells()
    {
        QFETCH(QList<QPoint>, cells);
        QFETCH(QString, expected);
        LoanWindowHarness h;
        h.open();
        h.show();
        h.carLoan();
        h.tabs()->setCurrentIndex(2);
        auto* table = h.w<QTableView>("flxResults");
        table->setFocus();
        QGuiApplication::clipboard()->clear();
        if (cells.isEmpty())
            QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
        for (const QPoint& cell : cells)
            table->selectionModel()->select(h.results()->index(cell.y(), cell.x()), QItemSelectionModel::Select);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    }
};

QTEST_MAIN(tst_LoanWindow)
#include "tst_loanwindow_window.moc"
