// The loan window against a real store file: loading a stored loan, saving,
// deleting, and the close prompt of a stored loan.
#include "LoanWindowHarness.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using Kind = ScriptedMessages::Kind;

namespace {

struct StoredPayment {
    QString type, start, stop, amount;
};

// Stores a loan through the store itself and hands back its key.
int storeLoan(LoanStore& store, int termType, const std::vector<ExtraPaymentTexts>& extras = {},
              const QString& description = "Car")
{
    LoanRecordTexts loan;
    loan.description = description;
    loan.startDate = QDate(2024, 1, 15);
    loan.origAmount = "10000";
    loan.interestRate = "6";
    loan.term = "3";
    loan.termType = termType;
    loan.frequency = 2;
    int mode = 0;
    int key = 0;
    if (auto error = store.saveLoan(mode, key, loan, extras))
        qFatal("saveLoan: %s", qPrintable(error->text()));
    return key;
}

// A second connection for what the window can never do to the store itself.
void execDirect(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "direct");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("direct");
}

QString storePath(const LoanWindowHarness& h)
{
    return h.dir.filePath("Brimvaledb.mdb");
}

}  // namespace

class tst_LoanWindowStore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    void loadsALoanWithThreeExtraPayments();
    void loadsALoanWithoutExtraPayments();
    void loadStopsAtABadTermType();
    void loadOfAMissingKey();
    void loadStopsAtARepeatingPaymentWithoutStop();
    void saveNewLoanTwice();
    void saveFailureKeepsTheWindow();
    void deleteLoan_data();
    void deleteLoan();
    void insideAnMdiFrame();
    void closePromptOfAStoredLoan_data();
    void closePromptOfAStoredLoan();
};

void tst_LoanWindowStore::loadsALoanWithThreeExtraPayments()
{
    LoanWindowHarness h;
    const int key = storeLoan(*h.store, 1,
                              {{"R", "2/1/2024", "6/1/2024", "100"},
                               {"L", "3/1/2024", "", "500"},
                               {"R", "7/1/2024", "9/1/2024", "$1,234.50"}});
    frmLoan& window = h.open(1, key);
    QCOMPARE(h.messages.texts(), QStringList());
    QCOMPARE(h.text("txtLoan"), QString("Car"));
    QCOMPARE(window.windowTitle(), QString("Car"));
    QCOMPARE(h.text("txtInterestRate"), QString("6"));
    QCOMPARE(h.text("txtTerm"), QString("3"));
    QCOMPARE(h.w<QComboBox>("cboTerm")->currentIndex(), 1);
    QCOMPARE(h.w<QComboBox>("cboppt")->currentIndex(), 2);
    QCOMPARE(h.w<QDateEdit>("dtStartDate")->date(), QDate(2024, 1, 15));

    const QList<QStringList> grid = {{"1", "R", "2/1/2024", "6/1/2024", "$100.00"},
                                     {"2", "L", "3/1/2024", "", "$500.00"},
                                     {"3", "R", "7/1/2024", "9/1/2024", "$1,234.50"}};
    QCOMPARE(h.payments()->rowCount(), 3);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 5; ++column)
            QCOMPARE(h.payment(row, column), grid[row][column]);
    // The editor shows row 1.
    QVERIFY(h.w<QRadioButton>("optType_1")->isChecked());
    QCOMPARE(h.w<QDateEdit>("dtBeginDate")->date(), QDate(2024, 2, 1));
    QCOMPARE(h.w<QDateEdit>("dtEndDate")->date(), QDate(2024, 6, 1));
    QCOMPARE(h.text("txtXPaymentAmount"), QString("$100.00"));

    // Calculated with the extra payments; every tab open; counted unchanged.
    QCOMPARE(h.text("txtLoanAmount"), QString("$10,000.00"));
    QVERIFY(!h.text("txtPaymentAmount").isEmpty());
    QCOMPARE(h.result(0, 2), QString("0.00"));
    QCOMPARE(h.result(1, 2), QString("100.00"));
    QCOMPARE(h.result(2, 2), QString("600.00"));
    for (int tab = 0; tab < 6; ++tab)
        QVERIFY(h.tabs()->isTabEnabled(tab));
    QCOMPARE(h.tabs()->currentIndex(), 0);
    QVERIFY(!window.IsDataChanged());
    QVERIFY(!window.DataHasChanged);
    QVERIFY(!h.w("cmdAddPayment")->isEnabled());
}

void tst_LoanWindowStore::loadsALoanWithoutExtraPayments()
{
    LoanWindowHarness h;
    const int key = storeLoan(*h.store, 0);
    h.open(1, key);
    QCOMPARE(h.messages.texts(), QStringList());
    QCOMPARE(h.payments()->rowCount(), 0);
    QCOMPARE(h.results()->rowCount(), 3);
    h.tabs()->setCurrentIndex(1);
    // Entering the tab enables Delete, but with nothing selected it does nothing.
    h.click("cmdDeletePayment");
    QVERIFY(!h.window->DataHasChanged);
    QCOMPARE(h.text("txtXPaymentAmount"), QString());
}

void tst_LoanWindowStore::loadStopsAtABadTermType()
{
    LoanWindowHarness h;
    const int key = storeLoan(*h.store, 2);
    h.open(1, key);
    QCOMPARE(h.messages.texts(Kind::Critical), QStringList{"380 - Invalid property value"});
    // Everything before the term unit is loaded, the frequency is not.
    QCOMPARE(h.text("txtLoan"), QString("Car"));
    QCOMPARE(h.text("txtLoanAmount"), QString("10000"));
    QCOMPARE(h.text("txtInterestRate"), QString("6"));
    QCOMPARE(h.text("txtTerm"), QString("3"));
    QCOMPARE(h.w<QDateEdit>("dtStartDate")->date(), QDate(2024, 1, 15));
    QCOMPARE(h.w<QComboBox>("cboTerm")->currentIndex(), 0);
    QCOMPARE(h.w<QComboBox>("cboppt")->currentIndex(), -1);
    // Loading goes on: the calculation reports the missing frequency.
    QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Payment frequency must be selected."});
    QCOMPARE(h.results()->rowCount(), 0);
    QVERIFY(!h.window->IsDataChanged());
}

void tst_LoanWindowStore::loadOfAMissingKey()
{
    LoanWindowHarness h;
    h.open(1, 99);
    const QStringList errors = h.messages.texts(Kind::Critical);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(QRegularExpression("^\\d+ - .+").match(errors.first()).hasMatch(), qPrintable(errors.first()));
    QCOMPARE(h.text("txtLoan"), QString());
    QCOMPARE(h.text("txtLoanAmount"), QString());
    QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Loan Description must be entered."});
}

void tst_LoanWindowStore::loadStopsAtARepeatingPaymentWithoutStop()
{
    LoanWindowHarness h;
    const int key = storeLoan(*h.store, 0);
    execDirect(storePath(h),
               {QString("INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, EndDate, Amount) "
                        "VALUES (%1, 0, '2024-02-01', NULL, 50)").arg(key),
                QString("INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, EndDate, Amount) "
                        "VALUES (%1, 1, '2024-03-01', NULL, 75)").arg(key),
                QString("INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, EndDate, Amount) "
                        "VALUES (%1, 0, '2024-04-01', NULL, 25)").arg(key)});
    h.open(1, key);
    const QStringList errors = h.messages.texts(Kind::Critical);
    QVERIFY(errors.size() >= 1);
    QCOMPARE(errors.first(), QString("94 - Invalid use of Null"));
    // The failing row keeps its number, type and start; later rows are not read.
    QCOMPARE(h.payments()->rowCount(), 2);
    QCOMPARE(h.payment(0, 1), QString("L"));
    QCOMPARE(h.payment(1, 0), QString("2"));
    QCOMPARE(h.payment(1, 1), QString("R"));
    QCOMPARE(h.payment(1, 2), QString("3/1/2024"));
    QCOMPARE(h.payment(1, 3), QString());
    QCOMPARE(h.payment(1, 4), QString());
    // The half-loaded row cannot be calculated: the run says why and stops.
    QCOMPARE(errors.size(), 2);
    QVERIFY(errors[1].startsWith("13 - Type mismatch: extra payment 2, Stop"));
    QCOMPARE(h.results()->rowCount(), 0);
}

void tst_LoanWindowStore::saveNewLoanTwice()
{
    LoanWindowHarness h;
    frmLoan& window = h.open();
    h.show();
    h.enterLoan("Car", 2, "12", 0, "3", "1000", "", QDate(2024, 1, 15));
    h.calculate();
    h.tabs()->setCurrentIndex(1);
    h.click("cmdAddPayment");
    h.click("optType_0");
    h.focus("txtXPaymentAmount");
    h.type("txtXPaymentAmount", "500");
    h.click("cmdAddPayment");

    QVERIFY(window.SaveLoan(window.Mode, window.Loan));
    QCOMPARE(window.Mode, 1);
    const int key = window.Loan;
    QVERIFY(key > 0);
    QVERIFY(window.SaveLoan(window.Mode, window.Loan));
    QCOMPARE(window.Loan, key);

    QCOMPARE(int(std::get<std::vector<LoanListEntry>>(h.store->listLoans()).size()), 1);
    const auto extras = std::get<std::vector<ExtraPaymentRecord>>(h.store->readExtraPayments(key));
    QCOMPARE(int(extras.size()), 2);
    QCOMPARE(extras[0].type, QString("L"));
    QCOMPARE(extras[0].amount.value_or(""), QString("$500.00"));
    QCOMPARE(extras[1].type, QString("R"));
    const auto loan = std::get<LoanRecord>(h.store->readLoan(key));
    QCOMPARE(loan.origAmount.value_or(""), QString("1000"));
    QCOMPARE(h.messages.texts(), QStringList());
}

void tst_LoanWindowStore::saveFailureKeepsTheWindow()
{
    LoanWindowHarness h;
    frmLoan& window = h.open();
    h.show();
    h.enterLoan("Car", 2, "12", 0, "3", "1000", "", QDate(2024, 1, 15));
    h.calculate();
    execDirect(storePath(h), {"DROP TABLE tblExtraPayments"});

    int mode = window.Mode;
    int key = window.Loan;
    QVERIFY(!window.SaveLoan(mode, key));
    QCOMPARE(mode, 0);
    QCOMPARE(key, 0);
    QCOMPARE(h.messages.texts(Kind::Critical).size(), 1);

    // At the close prompt a failed save keeps the window open, still changed.
    h.messages.clear();
    h.messages.answer(true);
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QCOMPARE(h.messages.texts(Kind::Critical).size(), 1);
    QVERIFY(window.IsDataChanged());
    QCOMPARE(h.text("txtLoanAmount"), QString("$1,000.00"));
}

void tst_LoanWindowStore::deleteLoan_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("breakStore");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("loansLeft");

    QTest::newRow("No: nothing changes") << false << false << false << 1;
    QTest::newRow("Yes: deleted and closed without prompt") << true << false << true << 0;
    QTest::newRow("Yes, store fails: window stays") << true << true << false << 1;
}

void tst_LoanWindowStore::deleteLoan()
{
    QFETCH(bool, answerYes);
    QFETCH(bool, breakStore);
    QFETCH(bool, closed);
    QFETCH(int, loansLeft);

    LoanWindowHarness h;
    const int key = storeLoan(*h.store, 0, {{"L", "2/1/2024", "", "5"}}, "  Car  ");
    frmLoan& window = h.open(1, key);
    h.show();
    h.type("txtTerm", "4");  // a change, so a close would ask
    if (breakStore)
        execDirect(storePath(h), {"DROP TABLE tblExtraPayments"});
    h.messages.answer(answerYes);
    window.DeleteLoan(window.Loan);

    QCOMPARE(h.messages.texts(Kind::Question),
             QStringList{"Car - Are you sure you wish to delete this loan?"});
    QCOMPARE(h.messages.unexpectedQuestions(), 0);
    QCOMPARE(window.isVisible(), !closed);
    QCOMPARE(h.messages.texts(Kind::Critical).size(), breakStore ? 1 : 0);
    QCOMPARE(int(std::get<std::vector<LoanListEntry>>(h.store->listLoans()).size()), loansLeft);
    if (!closed)
        QVERIFY(window.IsDataChanged());
}

void tst_LoanWindowStore::insideAnMdiFrame()
{
    LoanWindowHarness h;
    const int key = storeLoan(*h.store, 0);
    QMdiArea area;
    area.resize(900, 700);
    // As the main window does it: into the frame first, then load.
    auto* window = new frmLoan(*h.store, h.messages, h.clock);
    QMdiSubWindow* frame = area.addSubWindow(window);
    window->Mode = 1;
    window->Loan = key;
    window->load();
    area.show();
    frame->show();
    QCOMPARE(frame->size(), QSize(533, 370));
    QCOMPARE(frame->windowTitle(), QString("Car"));

    // The frame's close box goes through the prompt; No closes.
    window->findChild<QLineEdit*>("txtTerm")->setText("4");
    h.messages.answer(false);
    QVERIFY(frame->close());
    QCOMPARE(h.messages.texts(Kind::Question).size(), 1);

    // A confirmed delete closes the frame without a prompt.
    auto* second = new frmLoan(*h.store, h.messages, h.clock);
    QPointer<QMdiSubWindow> secondFrame = area.addSubWindow(second);
    secondFrame->setAttribute(Qt::WA_DeleteOnClose);
    second->Mode = 1;
    second->Loan = key;
    second->load();
    secondFrame->show();
    second->findChild<QLineEdit*>("txtTerm")->setText("5");
    h.messages.clear();
    h.messages.answer(true);
    second->DeleteLoan(second->Loan);
    QCOMPARE(h.messages.texts(Kind::Question).size(), 1);
    QTRY_VERIFY(secondFrame.isNull());
    QCOMPARE(h.messages.unexpectedQuestions(), 0);
}

void tst_LoanWindowStore::closePromptOfAStoredLoan_data()
{
    QTest::addColumn<int>("edit");  // 0 none, 1 Calculate, 2 extra payments only, 3 suppress box
    QTest::addColumn<bool>("prompted");

    QTest::newRow("opened and closed: no prompt") << 0 << false;
    QTest::newRow("after Calculate: prompt") << 1 << true;
    QTest::newRow("extra payments edited only: prompt") << 2 << true;
    QTest::newRow("suppress box ticked: prompt") << 3 << true;
}

void tst_LoanWindowStore::closePromptOfAStoredLoan()
{
    QFETCH(int, edit);
    QFETCH(bool, prompted);

    LoanWindowHarness h;
    const int key = storeLoan(*h.store, 0, {{"R", "2/1/2024", "3/1/2024", "5"}});
    frmLoan& window = h.open(1, key);
    h.show();
    switch (edit) {
    case 1: h.calculate(); break;
    case 2: h.tabs()->setCurrentIndex(1); h.click("cmdAddPayment"); h.tabs()->setCurrentIndex(0); break;
    case 3: h.tabs()->setCurrentIndex(1); h.w<QCheckBox>("chkSuppressFuture")->setChecked(true); break;
    }
    h.messages.answer(false);
    QVERIFY(window.close());
    QCOMPARE(h.messages.texts(Kind::Question).size(), prompted ? 1 : 0);
    if (prompted)
        QCOMPARE(h.messages.texts(Kind::Question).first(),
                 QString("Car - Information has changed\r\nDo you want to save the changes?"));
    // No saved nothing.
    const auto extras = std::get<std::vector<ExtraPaymentRecord>>(h.store->readExtraPayments(key));
    QCOMPARE(int(extras.size()), 1);
}

QTEST_MAIN(tst_LoanWindowStore)
#include "tst_loanwindow_store.moc"
