// The extra payments editor on tab 1: adding, selecting, type options, dates
// and amount written back on focus loss, deleting, and Recalculate using the
// edited rows.
#include "LoanWindowHarness.h"

#include <QLabel>

using Kind = ScriptedMessages::Kind;

namespace {

// A calculated loan on tab 1, shown so focus moves as for a user. Today is
// 10 January 2024; the loan pays monthly from 15 January 2024.
struct EditorHarness : LoanWindowHarness {
    explicit EditorHarness(QDate today = QDate(2024, 1, 10), const QString& term = "3")
        : LoanWindowHarness(today)
    {
        open();
        show();
        enterLoan("Car", 2, "12", 0, term, "1000", "", QDate(2024, 1, 15));
        calculate();
        tabs()->setCurrentIndex(1);
        window->DataHasChanged = false;
    }

    // Adds a row and edits it through the entry fields.
    void addRow(bool lumpSum, QDate start, QDate stop, const QString& amount)
    {
        click("cmdAddPayment");
        if (lumpSum)
            click("optType_0");
        focus("dtBeginDate");
        w<QDateEdit>("dtBeginDate")->setDate(start);
        if (!lumpSum) {
            focus("dtEndDate");
            w<QDateEdit>("dtEndDate")->setDate(stop);
        }
        focus("txtXPaymentAmount");
        type("txtXPaymentAmount", amount);
        focus("cmdAddPayment");
    }
    QString cell(int row, int column) const { return payment(row, column); }
    void clickRow(int row)
    {
        auto* table = payments();
        const QRect rect = table->visualItemRect(table->item(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    }
};

}  // namespace

class tst_LoanWindowEditor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    void addPaymentOnANewWindow();
    void amountWrittenOnFocusLoss_data();
    void amountWrittenOnFocusLoss();
    void amountMustBeNumeric_data();
    void amountMustBeNumeric();
    void leavingTheTabKeepsTheRowsAmount();
    void typeOptions();
    void selectingRowsShowsThem();
    void dateWrittenOnlyWhenChanged();
    void deleteRows_data();
    void deleteRows();
    void deleteTheOnlyRow();
    void deleteWithNothingSelected();
    void recalculateUsesTheEditedRows();
    void suppressFuturePayments_data();
    void suppressFuturePayments();
};

void tst_LoanWindowEditor::addPaymentOnANewWindow()
{
    EditorHarness h;
    h.click("cmdAddPayment");
    QCOMPARE(h.payments()->rowCount(), 1);
    QCOMPARE(h.cell(0, 0), QString());
    QCOMPARE(h.cell(0, 1), QString("R"));
    QCOMPARE(h.cell(0, 2), QString("1/10/2024"));
    QCOMPARE(h.cell(0, 3), QString("1/10/2024"));
    QCOMPARE(h.cell(0, 4), QString("0.00"));
    QCOMPARE(h.payments()->currentRow(), 0);
    QVERIFY(h.w<QRadioButton>("optType_1")->isChecked());
    QVERIFY(!h.w("dtEndDate")->isHidden());
    QCOMPARE(h.w<QDateEdit>("dtBeginDate")->date(), QDate(2024, 1, 10));
    QCOMPARE(h.text("txtXPaymentAmount"), QString("0.00"));
    QVERIFY(h.w("cmdDeletePayment")->isEnabled());
    QCOMPARE(h.box("txtXPaymentAmount")->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Base));
    QVERIFY(h.window->DataHasChanged);
    QVERIFY(h.payments()->isColumnHidden(0));
    QCOMPARE(h.payments()->horizontalHeaderItem(4)->text(), QString("Amount"));
}

void tst_LoanWindowEditor::amountWrittenOnFocusLoss_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");

    QTest::newRow("plain number") << "1500" << "$1,500.00";
    QTest::newRow("currency text") << "$2,000.5" << "$2,000.50";
    QTest::newRow("below one keeps the leading zero") << "0.5" << "$0.50";
    QTest::newRow("negative in the regional style") << "-5" << "($5.00)";
    QTest::newRow("blanks around") << "  12  " << "$12.00";
}

void tst_LoanWindowEditor::amountWrittenOnFocusLoss()
{
    QFETCH(QString, typed);
    QFETCH(QString, cell);

    EditorHarness h;
    h.click("cmdAddPayment");
    h.focus("txtXPaymentAmount");
    h.type("txtXPaymentAmount", typed);
    h.window->DataHasChanged = false;
    h.focus("cmdAddPayment");
    QCOMPARE(h.cell(0, 4), cell);
    QCOMPARE(h.text("txtXPaymentAmount"), typed);  // the box keeps what was typed
    QVERIFY(h.window->DataHasChanged);

    // Leaving again without a change is no new change.
    h.window->DataHasChanged = false;
    h.focus("txtXPaymentAmount");
    h.focus("cmdRecalculate");
    QVERIFY(!h.window->DataHasChanged);
    QCOMPARE(h.messages.texts(Kind::Warning), QStringList());
}

void tst_LoanWindowEditor::amountMustBeNumeric_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters") << "abc";
    QTest::newRow("cleared") << "";
    QTest::newRow("two decimal points") << "1.2.3";
}

void tst_LoanWindowEditor::amountMustBeNumeric()
{
    QFETCH(QString, typed);

    EditorHarness h;
    h.addRow(false, QDate(2024, 1, 10), QDate(2024, 2, 10), "250");
    QCOMPARE(h.cell(0, 4), QString("$250.00"));
    h.window->DataHasChanged = false;
    h.focus("txtXPaymentAmount");
    h.type("txtXPaymentAmount", typed);
    h.focus("cmdAddPayment");
    QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Amount must be numeric"});
    QCOMPARE(QApplication::focusWidget(), h.w("txtXPaymentAmount"));
    QCOMPARE(h.cell(0, 4), QString("$250.00"));
    QVERIFY(h.window->DataHasChanged);
}

void tst_LoanWindowEditor::leavingTheTabKeepsTheRowsAmount()
{
    EditorHarness h;
    h.addRow(false, QDate(2024, 1, 10), QDate(2024, 2, 10), "250");
    h.focus("txtXPaymentAmount");
    h.type("txtXPaymentAmount", "abc");
    // The tab is left while the box holds non-numeric text: no message, and
    // the box shows the row's amount again rather than a stray 0.
    h.tabs()->setCurrentIndex(3);
    QApplication::processEvents();
    QCOMPARE(h.messages.texts(Kind::Warning), QStringList());
    QCOMPARE(h.cell(0, 4), QString("$250.00"));
    QCOMPARE(h.text("txtXPaymentAmount"), QString("$250.00"));
}

void tst_LoanWindowEditor::typeOptions()
{
    EditorHarness h;
    h.addRow(false, QDate(2024, 1, 10), QDate(2024, 3, 1), "100");
    QCOMPARE(h.cell(0, 3), QString("3/1/2024"));

    h.window->DataHasChanged = false;
    h.click("optType_0");
    QCOMPARE(h.cell(0, 1), QString("L"));
    QCOMPARE(h.cell(0, 3), QString());
    QVERIFY(h.w("dtEndDate")->isHidden());
    QVERIFY(h.w("lblEndDate")->isHidden());
    QVERIFY(h.window->DataHasChanged);

    // Back to repeating: the stop date comes from the end date picker.
    h.click("optType_1");
    QCOMPARE(h.cell(0, 1), QString("R"));
    QCOMPARE(h.cell(0, 3), QString("3/1/2024"));
    QVERIFY(!h.w("dtEndDate")->isHidden());
    QVERIFY(!h.w("lblEndDate")->isHidden());

    // A click on the option already chosen still counts as an edit.
    h.window->DataHasChanged = false;
    h.click("optType_1");
    QVERIFY(h.window->DataHasChanged);
}

void tst_LoanWindowEditor::selectingRowsShowsThem()
{
    EditorHarness h;
    h.addRow(true, QDate(2024, 2, 1), {}, "500");
    h.addRow(false, QDate(2024, 3, 1), QDate(2024, 6, 1), "50");

    h.clickRow(0);
    QVERIFY(h.w<QRadioButton>("optType_0")->isChecked());
    QVERIFY(h.w("dtEndDate")->isHidden());
    QCOMPARE(h.w<QDateEdit>("dtBeginDate")->date(), QDate(2024, 2, 1));
    QCOMPARE(h.text("txtXPaymentAmount"), QString("$500.00"));

    h.clickRow(1);
    QVERIFY(h.w<QRadioButton>("optType_1")->isChecked());
    QVERIFY(!h.w("dtEndDate")->isHidden());
    QCOMPARE(h.w<QDateEdit>("dtEndDate")->date(), QDate(2024, 6, 1));
    QCOMPARE(h.text("txtXPaymentAmount"), QString("$50.00"));

    // The keyboard moves the current row too.
    h.payments()->setFocus();
    QTest::keyClick(h.payments(), Qt::Key_Up);
    QCOMPARE(h.text("txtXPaymentAmount"), QString("$500.00"));
    QVERIFY(h.w<QRadioButton>("optType_0")->isChecked());
    // The rows themselves are untouched by looking at them.
    QCOMPARE(h.cell(0, 1), QString("L"));
    QCOMPARE(h.cell(1, 3), QString("6/1/2024"));
}

void tst_LoanWindowEditor::dateWrittenOnlyWhenChanged()
{
    EditorHarness h;
    h.click("cmdAddPayment");
    h.focus("dtBeginDate");
    h.window->DataHasChanged = false;
    h.focus("txtXPaymentAmount");
    QVERIFY(!h.window->DataHasChanged);

    h.focus("dtBeginDate");
    h.w<QDateEdit>("dtBeginDate")->setDate(QDate(2024, 4, 30));
    h.focus("txtXPaymentAmount");
    QCOMPARE(h.cell(0, 2), QString("4/30/2024"));
    QVERIFY(h.window->DataHasChanged);

    // Typed on the keyboard, section by section.
    h.focus("dtBeginDate");
    auto* begin = h.w<QDateEdit>("dtBeginDate");
    begin->setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClicks(begin, "05012025");
    h.focus("txtXPaymentAmount");
    QCOMPARE(h.cell(0, 2), QString("5/1/2025"));

    h.window->DataHasChanged = false;
    h.focus("dtEndDate");
    h.w<QDateEdit>("dtEndDate")->setDate(QDate(2024, 12, 31));
    h.focus("txtXPaymentAmount");
    QCOMPARE(h.cell(0, 3), QString("12/31/2024"));
    QVERIFY(h.window->DataHasChanged);
}

void tst_LoanWindowEditor::deleteRows_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("amountsLeft");
    QTest::addColumn<QString>("shown");

    QTest::newRow("middle of three") << 1 << QStringList{"$1.00", "$3.00"} << "$3.00";
    QTest::newRow("last of three") << 2 << QStringList{"$1.00", "$2.00"} << "$2.00";
    QTest::newRow("first of three") << 0 << QStringList{"$2.00", "$3.00"} << "$2.00";
}

void tst_LoanWindowEditor::deleteRows()
{
    QFETCH(int, selected);
    QFETCH(QStringList, amountsLeft);
    QFETCH(QString, shown);

    EditorHarness h;
    for (const char* amount : {"1", "2", "3"})
        h.addRow(false, QDate(2024, 1, 10), QDate(2024, 2, 10), amount);
    h.clickRow(selected);
    h.window->DataHasChanged = false;
    h.click("cmdDeletePayment");
    QVERIFY(h.window->DataHasChanged);
    QStringList left;
    for (int row = 0; row < h.payments()->rowCount(); ++row)
        left << h.cell(row, 4);
    QCOMPARE(left, amountsLeft);
    QCOMPARE(h.text("txtXPaymentAmount"), shown);
    QVERIFY(h.w("cmdDeletePayment")->isEnabled());
    // The entry fields edit the row now shown.
    h.focus("txtXPaymentAmount");
    h.type("txtXPaymentAmount", "9");
    h.focus("cmdAddPayment");
    QCOMPARE(h.cell(h.payments()->currentRow(), 4), QString("$9.00"));
    QCOMPARE(h.payments()->rowCount(), 2);
}

void tst_LoanWindowEditor::deleteTheOnlyRow()
{
    EditorHarness h;
    h.addRow(true, QDate(2024, 2, 1), {}, "500");
    h.click("cmdDeletePayment");
    QCOMPARE(h.payments()->rowCount(), 0);
    QVERIFY(!h.w("cmdDeletePayment")->isEnabled());
    QVERIFY(!h.w("fraType")->isEnabled());
    QVERIFY(!h.w("dtBeginDate")->isEnabled());
    QVERIFY(!h.w("txtXPaymentAmount")->isEnabled());
    QVERIFY(h.w<QRadioButton>("optType_1")->isChecked());
    QCOMPARE(h.text("txtXPaymentAmount"), QString());
    QCOMPARE(h.w<QDateEdit>("dtBeginDate")->date(), QDate(2024, 1, 10));
    QCOMPARE(h.box("txtXPaymentAmount")->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Button));
    QCOMPARE(QApplication::focusWidget(), h.w("cmdAddPayment"));
}

void tst_LoanWindowEditor::deleteWithNothingSelected()
{
    EditorHarness h;
    QVERIFY(h.w("cmdDeletePayment")->isEnabled());  // entering the tab enables it
    h.click("cmdDeletePayment");
    QVERIFY(!h.window->DataHasChanged);
    QCOMPARE(h.payments()->rowCount(), 0);
    // Edits with no row selected touch only the fields.
    h.type("txtXPaymentAmount", "abc");
    h.focus("cmdAddPayment");
    QCOMPARE(h.messages.texts(), QStringList());
}

void tst_LoanWindowEditor::recalculateUsesTheEditedRows()
{
    EditorHarness h;
    h.addRow(true, QDate(2024, 1, 20), {}, "1");
    // The amount is still in the box when Recalculate is pressed.
    h.focus("txtXPaymentAmount");
    h.type("txtXPaymentAmount", "500");
    h.click("cmdRecalculate");
    QCOMPARE(h.messages.texts(), QStringList());
    QCOMPARE(h.results()->rowCount(), 2);
    const QStringList row2 = {"002 - 02/15/24", "333.32", "336.66", "1,000.00", "6.70", "16.70", "0.00"};
    for (int column = 0; column < 7; ++column)
        QCOMPARE(h.result(1, column), row2[column]);
    QCOMPARE(h.text("txtSavedPayments"), QString("1"));
    QCOMPARE(h.text("txtAdjPayoffDate"), QString("2/15/2024"));
    QCOMPARE(h.text("txtOrigPayoffDate"), QString("3/15/2024"));
}

void tst_LoanWindowEditor::suppressFuturePayments_data()
{
    QTest::addColumn<bool>("suppress");
    QTest::addColumn<QStringList>("extras");

    // Today, 20 March 2024, lies inside a repeating payment running all year.
    QTest::newRow("suppressed: counted up to today") << true
                                                     << QStringList{"100.00", "100.00", "100.00", "0.00", "0.00"};
    QTest::newRow("not suppressed: counted all year") << false
                                                      << QStringList{"100.00", "100.00", "100.00", "100.00", "100.00"};
}

void tst_LoanWindowEditor::suppressFuturePayments()
{
    QFETCH(bool, suppress);
    QFETCH(QStringList, extras);

    EditorHarness h(QDate(2024, 3, 20), "12");
    h.addRow(false, QDate(2024, 1, 1), QDate(2024, 12, 31), "100");
    if (suppress)
        QTest::mouseClick(h.w<QCheckBox>("chkSuppressFuture"), Qt::LeftButton, {},
                          QPoint(5, h.w("chkSuppressFuture")->height() / 2));
    QCOMPARE(h.w<QCheckBox>("chkSuppressFuture")->isChecked(), suppress);
    h.click("cmdRecalculate");
    QStringList got;
    for (int row = 0; row < extras.size(); ++row)
        got << h.result(row, 2);
    QCOMPARE(got, extras);
}

QTEST_MAIN(tst_LoanWindowEditor)
#include "tst_loanwindow_editor.moc"
