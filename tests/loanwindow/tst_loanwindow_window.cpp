// The loan window driven as a user would: initial state, worked examples,
// tabs and their enabling, the close prompt, a failed run.
#include "LoanWindowHarness.h"
#include "SummaryChart.h"

#include <QGroupBox>
#include <QTabBar>

using Kind = ScriptedMessages::Kind;

class tst_LoanWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    void newWindowInitialState();
    void workedExamples_data();
    void workedExamples();
    void summaryAndSavingsBoxes();
    void recalculateGivesTheIdenticalTable();
    void rowColoursFollowToday_data();
    void rowColoursFollowToday();
    void tabsLockedUntilAValidCalculation();
    void enablingFollowsTheTab_data();
    void enablingFollowsTheTab();
    void validationMessages_data();
    void validationMessages();
    void recalculateWithInvalidInputsShowsTheField();
    void failedRunLeavesTheWindowUnchanged_data();
    void failedRunLeavesTheWindowUnchanged();
    void closePrompt_data();
    void closePrompt();
    void captionFollowsTheDescription();
};

void tst_LoanWindow::newWindowInitialState()
{
    LoanWindowHarness h(QDate(2024, 5, 17));
    frmLoan& window = h.open();
    QCOMPARE(window.windowTitle(), QString("Untitled"));
    QCOMPARE(h.tabs()->count(), 6);
    const QStringList captions = {"Loan Information", "Extra Payments", "Amortization Table",
                                  "Summary Graph", "Savings Summary", "Formulas"};
    for (int tab = 0; tab < 6; ++tab) {
        QCOMPARE(h.tabs()->tabText(tab), captions[tab]);
        QCOMPARE(h.tabs()->isTabEnabled(tab), tab == 0);
    }
    QCOMPARE(h.tabs()->currentIndex(), 0);
    for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
        if (box->parent()->inherits("QAbstractSpinBox") || box->parent()->inherits("QComboBox"))
            continue;  // the date pickers' and lists' own editors
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    }
    QCOMPARE(h.w<QComboBox>("cboTerm")->currentText(), QString("Months"));
    QCOMPARE(h.w<QComboBox>("cboppt")->currentIndex(), -1);
    QCOMPARE(h.w<QComboBox>("cboppt")->count(), 8);
    QCOMPARE(h.w<QDateEdit>("dtStartDate")->date(), QDate(2024, 5, 17));
    QCOMPARE(h.payments()->rowCount(), 0);
    QCOMPARE(h.results()->rowCount(), 0);
    QVERIFY(h.w("chSummary")->isHidden());
    QVERIFY(!window.IsDataChanged());
    QVERIFY(!window.DataHasChanged);
    QCOMPARE(window.Mode, 0);
    QCOMPARE(window.Loan, 0);
    // Tab 0 inputs on, tab 1 inputs off; the entry fields reset and greyed.
    QVERIFY(h.box("txtLoan")->isEnabled());
    QVERIFY(h.w("cmdCalculate")->isEnabled());
    QVERIFY(!h.w("cmdAddPayment")->isEnabled());
    QVERIFY(!h.w("cmdDeletePayment")->isEnabled());
    QVERIFY(h.w<QRadioButton>("optType_1")->isChecked());
    QCOMPARE(h.w<QDateEdit>("dtBeginDate")->date(), QDate(2024, 5, 17));
    QCOMPARE(h.w<QDateEdit>("dtEndDate")->date(), QDate(2024, 5, 17));
    QCOMPARE(window.size(), QSize(533, 370));
    QCOMPARE(window.palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    QCOMPARE(h.box("txtSavedTotal")->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    QVERIFY(h.box("txtSavedTotal")->isReadOnly());
    QCOMPARE(h.messages.shown().size(), 0);
}

void tst_LoanWindow::workedExamples_data()
{
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("termType");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("loanAmount");
    QTest::addColumn<QString>("paymentAmount");
    QTest::addColumn<QString>("loanBox");
    QTest::addColumn<QString>("paymentBox");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("checkedRow");
    QTest::addColumn<QStringList>("rowTexts");
    QTest::addColumn<QString>("savedPayments");

    const QDate first(2024, 1, 15);
    Q_UNUSED(first);
    QTest::newRow("1,000.00 at 12 % over 3 months, row 1")
        << 2 << "12" << 0 << "3" << "1000" << "" << "$1,000.00" << "$340.02" << 3 << 0
        << QStringList{"001 - 01/15/24", "330.02", "0.00", "330.02", "10.00", "10.00", "669.98"} << "0";
    QTest::newRow("1,000.00 at 12 % over 3 months, row 2")
        << 2 << "12" << 0 << "3" << "1000" << "" << "$1,000.00" << "$340.02" << 3 << 1
        << QStringList{"002 - 02/15/24", "333.32", "0.00", "663.34", "6.70", "16.70", "336.66"} << "0";
    QTest::newRow("1,000.00 at 12 % over 3 months, last row carries the cent")
        << 2 << "12" << 0 << "3" << "1000" << "" << "$1,000.00" << "$340.02" << 3 << 2
        << QStringList{"003 - 03/15/24", "336.65", "0.01", "1,000.00", "3.37", "20.07", "0.00"} << "0";
    QTest::newRow("100,000.00 at 6 % over 30 years, row 1")
        << 2 << "6" << 1 << "30" << "100000" << "" << "$100,000.00" << "$599.55" << 360 << 0
        << QStringList{"001 - 01/15/24", "99.55", "0.00", "99.55", "500.00", "500.00", "99,900.45"} << "0";
    QTest::newRow("100,000.00 at 6 % over 30 years, row 360")
        << 2 << "6" << 1 << "30" << "100,000.00" << "" << "$100,000.00" << "$599.55" << 360 << 359
        << QStringList{"360 - 12/15/53"} << "0";
    QTest::newRow("payment given: loan derived")
        << 2 << "6" << 1 << "30" << "" << "599.55" << "$99,999.91" << "$599.55" << 360 << 0
        << QStringList{"001 - 01/15/24", "99.55", "0.00", "99.55", "500.00", "500.00", "99,900.36"} << "0";
    QTest::newRow("both amounts filled: payment overwritten")
        << 2 << "12" << 0 << "3" << "1000" << "5" << "$1,000.00" << "$340.02" << 3 << 0
        << QStringList{"001 - 01/15/24", "330.02"} << "0";
    QTest::newRow("rate 0: level principal")
        << 2 << "0" << 0 << "12" << "1200" << "" << "$1,200.00" << "$100.00" << 12 << 11
        << QStringList{"012 - 12/15/24", "100.00", "0.00", "1,200.00", "0.00", "0.00", "0.00"} << "0";
    QTest::newRow("weekly: payment 1000 shows four digits")
        << 0 << "5" << 1 << "30" << "200000" << "" << "$200,000.00" << "$247.25" << 1565 << 999
        << QStringList{"1000 - 03/09/43"} << "0";
}

void tst_LoanWindow::workedExamples()
{
    QFETCH(int, frequency);
    QFETCH(QString, rate);
    QFETCH(int, termType);
    QFETCH(QString, term);
    QFETCH(QString, loanAmount);
    QFETCH(QString, paymentAmount);
    QFETCH(QString, loanBox);
    QFETCH(QString, paymentBox);
    QFETCH(int, rows);
    QFETCH(int, checkedRow);
    QFETCH(QStringList, rowTexts);
    QFETCH(QString, savedPayments);

    LoanWindowHarness h;
    h.open();
    h.enterLoan("Car", frequency, rate, termType, term, loanAmount, paymentAmount, QDate(2024, 1, 15));
    h.calculate();
    QCOMPARE(h.messages.texts(), QStringList());
    QCOMPARE(h.text("txtLoanAmount"), loanBox);
    QCOMPARE(h.text("txtPaymentAmount"), paymentBox);
    QCOMPARE(h.results()->rowCount(), rows);
    for (int column = 0; column < rowTexts.size(); ++column)
        QCOMPARE(h.result(checkedRow, column), rowTexts[column]);
    QCOMPARE(h.result(rows - 1, 6), QString("0.00"));
    QCOMPARE(h.text("txtSavedPayments"), savedPayments);
}

void tst_LoanWindow::summaryAndSavingsBoxes()
{
    LoanWindowHarness h;
    h.open();
    h.enterLoan("Car", 2, "12", 0, "3", "1000", "", QDate(2024, 1, 15));
    h.calculate();
    const QList<QPair<const char*, QString>> expected = {
        {"txtPrincipal", "$999.99"},        {"txtExtraPayments", "$.01"},
        {"txtInterest", "$20.07"},          {"txtTotalPrincipal", "$1,000.00"},
        {"txtTotalPaid", "$1,020.07"},      {"txtOrigLoanAmount", "$1,000.00"},
        {"txtOrigPayoffDate", "3/15/2024"}, {"txtOrigInterestPaid", "$20.07"},
        {"txtOrigTotalPaid", "$1,020.07"},  {"txtAdjExtraPayments", "$.01"},
        {"txtAdjPayoffDate", "3/15/2024"},  {"txtAdjInterestPaid", "$20.07"},
        {"txtAdjTotalPaid", "$1,020.07"},   {"txtSavedPayments", "0"},
        {"txtSavedTotal", "$.00"},
    };
    for (const auto& [name, text] : expected)
        QCOMPARE(h.text(name), text);

    auto* chart = h.w<SummaryChart>("chSummary");
    QVERIFY(!chart->isHidden());
    QCOMPARE(chart->seriesNames(), QStringList({"Interest", "Extra Payments", "Principal"}));
    const auto values = chart->values();
    QVERIFY(qAbs(values[0] - 20.07) < 1e-9);
    QVERIFY(qAbs(values[1] - 0.01) < 1e-9);
    QVERIFY(qAbs(values[2] - 999.99) < 1e-9);
    // The result boxes carry change flags: a calculation counts as a change.
    QVERIFY(h.window->IsDataChanged());
}

void tst_LoanWindow::recalculateGivesTheIdenticalTable()
{
    LoanWindowHarness h;
    h.open();
    h.enterLoan("House", 2, "6", 1, "30", "100000", "", QDate(2024, 1, 15));
    h.calculate();
    QStringList before;
    for (int row = 0; row < h.results()->rowCount(); ++row)
        for (int column = 0; column < 7; ++column)
            before << h.result(row, column);
    const QString payment = h.text("txtPaymentAmount");

    h.tabs()->setCurrentIndex(1);
    h.click("cmdRecalculate");
    QStringList after;
    for (int row = 0; row < h.results()->rowCount(); ++row)
        for (int column = 0; column < 7; ++column)
            after << h.result(row, column);
    QCOMPARE(after, before);
    QCOMPARE(h.text("txtPaymentAmount"), payment);
    QCOMPARE(h.messages.texts(), QStringList());
}

void tst_LoanWindow::rowColoursFollowToday_data()
{
    QTest::addColumn<QDate>("firstPayment");
    QTest::addColumn<QColor>("row1");
    QTest::addColumn<QColor>("row2");

    // Today is 15 March 2024.
    QTest::newRow("first due today") << QDate(2024, 3, 15) << QColor(0xFF, 0xFF, 0xC0) << QColor(0x80, 0xFF, 0xFF);
    QTest::newRow("first due tomorrow") << QDate(2024, 3, 16) << QColor(0xC0, 0xFF, 0xFF)
                                        << QColor(0x80, 0xFF, 0xFF);
    QTest::newRow("both already due") << QDate(2024, 1, 15) << QColor(0xFF, 0xFF, 0xC0) << QColor(0xFF, 0xFF, 0xA0);
}

void tst_LoanWindow::rowColoursFollowToday()
{
    QFETCH(QDate, firstPayment);
    QFETCH(QColor, row1);
    QFETCH(QColor, row2);

    LoanWindowHarness h(QDate(2024, 3, 15));
    h.open();
    h.enterLoan("Car", 2, "12", 0, "3", "1000", "", firstPayment);
    h.calculate();
    QCOMPARE(h.results()->index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color(), row1);
    QCOMPARE(h.results()->index(0, 6).data(Qt::BackgroundRole).value<QBrush>().color(), row1);
    QCOMPARE(h.results()->index(1, 3).data(Qt::BackgroundRole).value<QBrush>().color(), row2);
}

void tst_LoanWindow::tabsLockedUntilAValidCalculation()
{
    LoanWindowHarness h;
    h.open();
    h.show();
    QTabBar* bar = h.tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(h.tabs()->currentIndex(), 0);

    // Inputs that fail validation unlock nothing.
    h.enterLoan("", 2, "12", 0, "3", "1000", "", QDate(2024, 1, 15));
    h.calculate();
    QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Loan Description must be entered."});
    for (int tab = 1; tab < 6; ++tab)
        QVERIFY(!h.tabs()->isTabEnabled(tab));

    h.type("txtLoan", "Car");
    h.calculate();
    for (int tab = 1; tab < 6; ++tab)
        QVERIFY(h.tabs()->isTabEnabled(tab));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(h.tabs()->currentIndex(), 2);
}

void tst_LoanWindow::enablingFollowsTheTab_data()
{
    QTest::addColumn<QList<int>>("path");
    QTest::addColumn<bool>("loanInputs");
    QTest::addColumn<bool>("extraInputs");

    QTest::newRow("0 -> 2") << QList<int>{2} << false << false;
    QTest::newRow("0 -> 2 -> 0") << QList<int>{2, 0} << true << false;
    QTest::newRow("0 -> 1") << QList<int>{1} << false << true;
    QTest::newRow("1 -> 3") << QList<int>{1, 3} << false << false;
    QTest::newRow("1 -> 3 -> 1") << QList<int>{1, 3, 1} << false << true;
    QTest::newRow("1 -> 0") << QList<int>{1, 0} << true << false;
}

void tst_LoanWindow::enablingFollowsTheTab()
{
    QFETCH(QList<int>, path);
    QFETCH(bool, loanInputs);
    QFETCH(bool, extraInputs);

    LoanWindowHarness h;
    h.open();
    h.enterLoan("Car", 2, "12", 0, "3", "1000", "", QDate(2024, 1, 15));
    h.calculate();
    for (int tab : path)
        h.tabs()->setCurrentIndex(tab);

    for (const char* name : {"txtLoan", "dtStartDate", "cboppt", "txtInterestRate", "cboTerm", "txtTerm",
                             "txtLoanAmount", "txtPaymentAmount", "cmdCalculate"})
        QVERIFY2(h.w(name)->isEnabled() == loanInputs, name);
    // Every extra payments input, Delete included, although the table is empty.
    for (const char* name : {"cmdAddPayment", "cmdDeletePayment", "cmdRecalculate", "optType_0", "optType_1",
                             "dtBeginDate", "dtEndDate", "txtXPaymentAmount", "flxPayments", "chkSuppressFuture"})
        QVERIFY2(h.w(name)->isEnabled() == extraInputs, name);
}

void tst_LoanWindow::validationMessages_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("loanAmount");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("termAfter");

    QTest::newRow("blank description") << "   " << 2 << "3" << "1000" << "Loan Description must be entered."
                                       << "txtLoan" << "3";
    QTest::newRow("no frequency") << "Car" << -1 << "3" << "1000" << "Payment frequency must be selected."
                                  << "cboppt" << "3";
    QTest::newRow("term rounds to 0") << "Car" << 2 << "0.4" << "1000" << "Payment term must be greater than 0."
                                      << "txtTerm" << "0.4";
    QTest::newRow("term past 16 bits") << "Car" << 2 << "40000" << "1000" << "6 - Overflow" << "txtTerm"
                                       << "40000";
    QTest::newRow("loan rounds to 0") << "Car" << 2 << "3" << "0.004" << "Loan Amount must be greater than $0.00."
                                      << "txtLoanAmount" << "3";
    QTest::newRow("term rewritten when valid") << "Car" << 2 << " 2.6 " << "1000" << "" << "" << "3";
}

void tst_LoanWindow::validationMessages()
{
    QFETCH(QString, description);
    QFETCH(int, frequency);
    QFETCH(QString, term);
    QFETCH(QString, loanAmount);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, termAfter);

    LoanWindowHarness h;
    h.open();
    h.show();
    h.enterLoan(description, frequency, "12", 0, term, loanAmount, "", QDate(2024, 1, 15));
    h.focus("txtPaymentAmount");
    const bool ok = h.window->ValidateLoan();
    QCOMPARE(ok, message.isEmpty());
    if (!ok) {
        QCOMPARE(h.messages.shown().size(), 1);
        QCOMPARE(int(h.messages.shown().first().kind), int(Kind::Warning));
        QCOMPARE(h.messages.shown().first().text, message);
        QCOMPARE(QApplication::focusWidget(), h.w(qPrintable(focus)));
    }
    QCOMPARE(h.text("txtTerm"), termAfter);
}

void tst_LoanWindow::recalculateWithInvalidInputsShowsTheField()
{
    LoanWindowHarness h;
    h.open();
    h.show();
    h.enterLoan("Car", 2, "12", 0, "3", "1000", "", QDate(2024, 1, 15));
    h.calculate();
    h.type("txtInterestRate", "abc");
    h.tabs()->setCurrentIndex(1);
    h.click("cmdRecalculate");
    QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Interest rate must be numeric."});
    QCOMPARE(h.tabs()->currentIndex(), 0);
    QVERIFY(h.w("txtInterestRate")->isEnabled());
    QCOMPARE(QApplication::focusWidget(), h.w("txtInterestRate"));
    QCOMPARE(h.results()->rowCount(), 3);
}

void tst_LoanWindow::failedRunLeavesTheWindowUnchanged_data()
{
    QTest::addColumn<int>("frequency");
    QTest::addColumn<int>("termType");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("error");

    QTest::newRow("weekly over 700 years overflows") << 0 << 1 << "700" << "6 - Overflow";
    QTest::newRow("term shorter than one period") << 7 << 0 << "1" << "11 - ";
}

void tst_LoanWindow::failedRunLeavesTheWindowUnchanged()
{
    QFETCH(int, frequency);
    QFETCH(int, termType);
    QFETCH(QString, term);
    QFETCH(QString, error);

    LoanWindowHarness h;
    h.open();
    h.enterLoan("Car", 2, "12", 0, "3", "1000", "", QDate(2024, 1, 15));
    h.calculate();
    QCOMPARE(h.results()->rowCount(), 3);

    h.w<QComboBox>("cboppt")->setCurrentIndex(frequency);
    h.w<QComboBox>("cboTerm")->setCurrentIndex(termType);
    h.type("txtTerm", term);
    h.type("txtLoanAmount", "2000");
    QStringList before;
    for (QLineEdit* box : h.window->findChildren<QLineEdit*>())
        before << box->objectName() + "=" + box->text();
    h.calculate();

    QCOMPARE(h.messages.texts(Kind::Critical).size(), 1);
    QVERIFY2(h.messages.texts(Kind::Critical).first().startsWith(error),
             qPrintable(h.messages.texts(Kind::Critical).first()));
    QStringList after;
    for (QLineEdit* box : h.window->findChildren<QLineEdit*>())
        after << box->objectName() + "=" + box->text();
    QCOMPARE(after, before);
    QCOMPARE(h.results()->rowCount(), 3);
    QCOMPARE(h.result(2, 3), QString("1,000.00"));
}

void tst_LoanWindow::closePrompt_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("calculate");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("prompted");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("storedLoans");

    QTest::newRow("untouched new window: no prompt") << "" << false << false << false << true << 0;
    QTest::newRow("after Calculate, No") << "Car" << true << false << true << true << 0;
    QTest::newRow("after Calculate, Yes saves") << "Car" << true << true << true << true << 1;
    QTest::newRow("empty description, Yes: window stays") << "" << true << true << true << false << 0;
}

void tst_LoanWindow::closePrompt()
{
    QFETCH(QString, description);
    QFETCH(bool, calculate);
    QFETCH(bool, answerYes);
    QFETCH(bool, prompted);
    QFETCH(bool, closes);
    QFETCH(int, storedLoans);

    LoanWindowHarness h;
    h.open();
    h.show();
    if (calculate) {
        h.enterLoan("Car", 2, "12", 0, "3", "1000", "", QDate(2024, 1, 15));
        h.calculate();
        h.type("txtLoan", description);
    }
    h.messages.answer(answerYes);
    QCOMPARE(h.window->close(), closes);
    QCOMPARE(h.window->isVisible(), !closes);

    const QStringList questions = h.messages.texts(Kind::Question);
    QCOMPARE(questions.size(), prompted ? 1 : 0);
    if (prompted)
        QCOMPARE(questions.first(),
                 description + " - Information has changed\r\nDo you want to save the changes?");
    if (prompted && answerYes && !closes)
        QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Loan Description must be entered."});
    if (!closes)
        QVERIFY(h.window->IsDataChanged());

    const auto loans = h.store->listLoans();
    QCOMPARE(int(std::get<std::vector<LoanListEntry>>(loans).size()), storedLoans);
    if (storedLoans) {
        QCOMPARE(h.window->Mode, 1);
        QVERIFY(h.window->Loan > 0);
    }
}

void tst_LoanWindow::captionFollowsTheDescription()
{
    LoanWindowHarness h;
    h.open();
    h.type("txtLoan", "Boat");
    QCOMPARE(h.window->windowTitle(), QString("Boat"));
    h.window->setDescription("Copy of Boat");
    QCOMPARE(h.window->windowTitle(), QString("Copy of Boat"));
    QCOMPARE(h.window->description(), QString("Copy of Boat"));
    h.type("txtLoan", "");
    QCOMPARE(h.window->windowTitle(), QString());
    // Long texts are kept whole, past QLineEdit's usual 32,767 characters.
    const QString longText(40000, QLatin1Char('x'));
    for (const char* name : {"txtLoan", "txtInterestRate", "txtXPaymentAmount"}) {
        h.box(name)->setText(longText);
        QCOMPARE(h.text(name).size(), longText.size());
    }
}

QTEST_MAIN(tst_LoanWindow)
#include "tst_loanwindow_window.moc"
