// The extra payments editor on tab 1: adding, the amount written back on
// leaving the box, the type options, selecting and deleting rows, and the
// suppress-future box.
#include "LoanWindowHarness.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QTabBar>

using Kind = ScriptedMessages::Kind;

namespace {
// A calculated loan on tab 1, shown so focus moves as for a user. Qt's model
// tester watches the editable payments model through every step.
struct Editor : LoanWindowHarness {
    explicit Editor(QDate today = QDate(2024, 1, 10), const QString& term = "3") : LoanWindowHarness(today)
    {
        open();
        tester = std::make_unique<QAbstractItemModelTester>(
            payments()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        show();
        carLoan(QDate(2024, 1, 15), term);
        tabs()->setCurrentIndex(1);
        window->markUnchanged();
    }
    void clickRow(int row)
    {
        const QRect rect = payments()->visualRect(payments()->model()->index(row, 1));
        QTest::mouseClick(payments()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    std::unique_ptr<QAbstractItemModelTester> tester;
};
}  // namespace

class tst_LoanWindowEditor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    void addPaymentOnANewWindow()
    {
        Editor h;
        h.click("cmdAddPayment");
        QCOMPARE(h.paymentRow(0), (QStringList{"", "R", "1/10/2024", "1/10/2024", "0.00"}));
        QCOMPARE(h.payments()->currentIndex().row(), 0);
        QCOMPARE(h.text("txtXPaymentAmount"), QString("0.00"));
        QVERIFY(h.w<QRadioButton>("optType_1")->isChecked());
        QVERIFY(h.window->DataHasChanged());
    }

    void amountWrittenOnLeaving_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("warning");
        QTest::newRow("1500") << "1500" << "$1,500.00" << "";
        QTest::newRow("abc") << "abc" << "0.00" << "Amount must be numeric";
    }
    void amountWrittenOnLeaving()
    {
        QFETCH(QString, typed);
        QFETCH(QString, cell);
        QFETCH(QString, warning);
        Editor h;
        h.click("cmdAddPayment");
        h.focus("txtXPaymentAmount");
        h.type("txtXPaymentAmount", typed);
        h.window->markUnchanged();
        h.focus("cmdAddPayment");
        QCOMPARE(h.payment(0, 4), cell);
        QCOMPARE(h.messages.texts(Kind::Warning), warning.isEmpty() ? QStringList() : QStringList{warning});
        if (!warning.isEmpty()) {
            QCOMPARE(QApplication::focusWidget(), h.w("txtXPaymentAmount"));
            return;
        }
        QVERIFY(h.window->DataHasChanged());
        // Leaving again without a change is no new change.
        h.window->markUnchanged();
        h.focus("txtXPaymentAmount");
        h.focus("cmdRecalculate");
        QVERIFY(!h.window->DataHasChanged());
    }

    // Leaving the tab with a non-number in the amount box: no message, the tab
    // changes, the box shows 0, the row keeps its amount.
    void leavingTheTabWithABadAmount_data()
    {
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("tab clicked") << false;
        QTest::newRow("Ctrl+Tab") << true;
    }
    void leavingTheTabWithABadAmount()
    {
        QFETCH(bool, byKeyboard);
        Editor h;
        h.addPayment(false, QDate(2024, 1, 10), QDate(2024, 3, 1), "1500");
        h.focus("txtXPaymentAmount");
        h.type("txtXPaymentAmount", "abc");
        if (byKeyboard) {
            QTest::keyClick(h.box("txtXPaymentAmount"), Qt::Key_Tab, Qt::ControlModifier);
        } else {
            // As under a window system: the press gives the tab bar the focus first.
            QTabBar* bar = h.tabs()->tabBar();
            bar->setFocus(Qt::MouseFocusReason);
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
        }
        QApplication::processEvents();
        QCOMPARE(h.messages.texts(), QStringList());
        QVERIFY(h.tabs()->currentIndex() != 1);
        QCOMPARE(h.text("txtXPaymentAmount"), QString("0"));
        QCOMPARE(h.payment(0, 4), QString("$1,500.00"));
    }

    // At the designed size: a lump sum hides the end date without moving the
    // fields and buttons below it, and the table shows every column whole
    // without a horizontal scroll bar.
    void designedLayout()
    {
        Editor h;
        for (int row = 0; row < 12; ++row) h.addPayment(row % 2, QDate(2024, 12, 31), QDate(2024, 12, 31), "999999.99");
        auto places = [&] {
            QList<QPoint> at;
            for (const char* name : {"txtXPaymentAmount", "cmdAddPayment", "cmdDeletePayment", "cmdRecalculate", "dtBeginDate"})
                at << h.w(name)->mapTo(h.window.get(), QPoint());
            return at;
        };
        h.click("optType_1");
        const QList<QPoint> repeating = places();
        h.click("optType_0");
        QVERIFY(h.w("dtEndDate")->isHidden());
        QCOMPARE(places(), repeating);

        QApplication::processEvents();
        QTableView* table = h.payments();
        QVERIFY(!table->horizontalScrollBar()->isVisible());
        for (int column = 1; column < 5; ++column) {
            const int right = table->columnViewportPosition(column) + table->columnWidth(column);
            QVERIFY2(right <= table->viewport()->width(), qPrintable(QString::number(column)));
            QVERIFY2(table->columnWidth(column) > table->fontMetrics().horizontalAdvance(h.payment(0, column)),
                     qPrintable(h.payment(0, column)));
        }
    }

    void typeOptionsAndSelectingRows()
    {
        Editor h;
        h.addPayment(false, QDate(2024, 1, 10), QDate(2024, 3, 1), "100");
        h.click("optType_0");
        QCOMPARE(h.paymentRow(0).mid(1, 3), (QStringList{"L", "1/10/2024", ""}));
        QVERIFY(h.w("dtEndDate")->isHidden());
        // Back to repeating: the stop date comes from the end date picker.
        h.click("optType_1");
        QCOMPARE(h.paymentRow(0).mid(1, 3), (QStringList{"R", "1/10/2024", "3/1/2024"}));
        QVERIFY(!h.w("dtEndDate")->isHidden());
        h.addPayment(true, QDate(2024, 2, 1), {}, "500");
        h.clickRow(0);
        QVERIFY(h.w<QRadioButton>("optType_1")->isChecked());
        QVERIFY(!h.w("dtEndDate")->isHidden());
        QCOMPARE(h.text("txtXPaymentAmount"), QString("$100.00"));
        h.clickRow(1);
        QVERIFY(h.w<QRadioButton>("optType_0")->isChecked());
        QVERIFY(h.w("dtEndDate")->isHidden());
        QCOMPARE(h.text("txtXPaymentAmount"), QString("$500.00"));
    }

    void deleteRows_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");  // -1: none
        QTest::addColumn<QStringList>("left");
        QTest::newRow("middle of three") << 3 << 1 << QStringList{"$1.00", "$3.00"};
        QTest::newRow("the only row") << 1 << 0 << QStringList{};
        QTest::newRow("no row selected") << 0 << -1 << QStringList{};
    }
    void deleteRows()
    {
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(QStringList, left);
        Editor h;
        for (int row = 1; row <= count; ++row) h.addPayment(false, QDate(2024, 1, 10), QDate(2024, 2, 10), QString::number(row));
        if (selected >= 0) h.clickRow(selected);
        h.window->markUnchanged();
        h.click("cmdDeletePayment");
        QCOMPARE(h.window->DataHasChanged(), selected >= 0);
        QStringList amounts;
        for (int row = 0; row < h.paymentCount(); ++row) amounts << h.payment(row, 4);
        QCOMPARE(amounts, left);
        QCOMPARE(h.text("txtXPaymentAmount"), left.isEmpty() ? QString() : left.last());
        QCOMPARE(h.w("cmdDeletePayment")->isEnabled(), !left.isEmpty() || selected < 0);
    }

    // Today, 20 March 2024, lies inside a repeating payment running all year.
    void suppressFuturePayments_data()
    {
        QTest::addColumn<bool>("suppress");
        QTest::addColumn<QStringList>("extras");
        QTest::newRow("suppressed") << true << QStringList{"100.00", "100.00", "100.00", "0.00", "0.00"};
        QTest::newRow("not suppressed") << false << QStringList{"100.00", "100.00", "100.00", "100.00", "100.00"};
    }
    void suppressFuturePayments()
    {
        QFETCH(bool, suppress);
        QFETCH(QStringList, extras);
        Editor h(QDate(2024, 3, 20), "12");
        h.addPayment(false, QDate(2024, 1, 1), QDate(2024, 12, 31), "100");
        if (suppress) QTest::mouseClick(h.w("chkSuppressFuture"), Qt::LeftButton, {}, QPoint(5, h.w("chkSuppressFuture")->height() / 2));
        QCOMPARE(h.w<QCheckBox>("chkSuppressFuture")->isChecked(), suppress);
        h.click("cmdRecalculate");
        QStringList got;
        for (int row = 0; row < extras.size(); ++row) got << h.result(row, 2);
        QCOMPARE(got, extras);
    }
};

QTEST_MAIN(tst_LoanWindowEditor)
#include "tst_loanwindow_editor.moc"
