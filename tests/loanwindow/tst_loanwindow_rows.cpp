// Rows beside a table, edited through their fields as a user edits them: the
// extra payments and the rate changes share one editor, so each behaviour is
// tried on whichever table shows it best.
#include "LoanWindowHarness.h"

#include <QRadioButton>

class tst_LoanWindowRows : public QObject {
    Q_OBJECT

    static QStringList rows(const LoanWindowHarness& h, const char* table)
    {
        QStringList all;
        for (int r = 0; r < h.model(table)->rowCount(); ++r) all << h.row(table, r).join('|');
        return all;
    }

private slots:
    void initTestCase() { pinUnitedStates(); }

    // The fields take nothing until there is a row, so nothing typed is
    // thrown away by "Add Payment"; the new row takes what is then typed.
    void fieldsWaitForARow()
    {
        LoanWindowHarness h(QDate(2026, 12, 7));
        h.open();
        h.carLoan();
        h.tabs()->setCurrentIndex(1);
        for (const char* field : {"optType_0", "dtBeginDate", "dtEndDate", "txtXPaymentAmount", "cmdDeletePayment"})
            QVERIFY2(!h.w(field)->isEnabled(), field);
        h.window->markUnchanged();
        h.click("cmdAddPayment");
        QCOMPARE(rows(h, "flxPayments"), QStringList{"R|12/7/2026|12/7/2026|$0.00|Shorten the loan"});
        QCOMPARE(QApplication::focusWidget(), h.w("dtBeginDate"));
        QVERIFY(h.window->DataHasChanged());
        // Lump Sum with the arrow keys, then its date and amount, as typed.
        h.w("optType_1")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(h.w("optType_1"), Qt::Key_Left);
        QVERIFY(h.w<QRadioButton>("optType_0")->isChecked() && h.w("dtEndDate")->isHidden());
        h.type("dtBeginDate", "2/1/2024");
        h.type("txtXPaymentAmount", "500");
        QCOMPARE(rows(h, "flxPayments"), QStringList{"L|2/1/2024||$500.00|Shorten the loan"});
        h.click("cmdRecalculate");
        QCOMPARE(h.row("flxResults", 1).mid(1, 3), (QStringList{"333.32", "336.66", "1,000.00"}));
        QCOMPARE(h.model("flxResults")->rowCount(), 2);
    }

    // A refused amount keeps the focus; on a page the user leaves it stays as
    // typed, and Calculate and Save ask about it again on its page.
    void refusedAmount()
    {
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        h.addPayment(true, QDate(2024, 2, 1), {}, "500");
        h.type("txtXPaymentAmount", "abc");
        QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Amount must be numeric"});
        QCOMPARE(QApplication::focusWidget(), h.w("txtXPaymentAmount"));
        QCOMPARE(h.cell("flxPayments", 0, 3), QString("$500.00"));
        h.messages.clear();
        h.tabs()->setCurrentIndex(0);
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(h.text("txtXPaymentAmount"), QString("abc"));
        for (const auto& command : {std::function<bool()>([&] { return h.window->CalculateSchedule(); }),
                                    std::function<bool()>([&] { return h.window->save(); })}) {
            h.tabs()->setCurrentIndex(0);
            h.messages.clear();
            QVERIFY(!command());
            QCOMPARE(h.messages.texts(Kind::Warning), QStringList{"Amount must be numeric"});
            QCOMPARE(h.tabs()->currentIndex(), 1);
            QCOMPARE(QApplication::focusWidget(), h.w("txtXPaymentAmount"));
        }
        QCOMPARE(h.store->listLoans().loans.size(), size_t(0));
    }

    // Under German settings every text the program writes into a field reads
    // back: a new row's amount is left without a word.
    void germanAmounts()
    {
        PinnedLocale german(QLocale(QLocale::German, QLocale::Germany));
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Auto", 2, "12", 0, "3", "1000");
        h.calculate();
        h.click("cmdAddPayment");
        QCOMPARE(h.text("txtXPaymentAmount"), QString("0,00\u00A0\u20AC"));
        h.w("txtXPaymentAmount")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(h.w("txtXPaymentAmount"), Qt::Key_Tab);
        QCOMPARE(h.messages.texts(), QStringList());
        h.type("txtXPaymentAmount", "300,000");
        QCOMPARE(h.messages.texts(Kind::Warning),
                 QStringList{"Amount must be numeric. Your regional settings write the group separator as \".\", as "
                             "in 300.000."});
        h.messages.clear();
        h.type("txtXPaymentAmount", "100,50");
        QCOMPARE(h.cell("flxPayments", 0, 3), QString("100,50\u00A0\u20AC"));
        QCOMPARE(h.messages.texts(), QStringList());
    }

    // Deleting shows the row that moved up; the last one leaves nothing to
    // edit and the focus on "Add Payment". Switching a row to Lump Sum and back
    // keeps its stop date.
    void deleteAndSwitchKind()
    {
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        for (const char* amount : {"1", "2", "3"}) h.addPayment(false, QDate(2024, 2, 1), QDate(2024, 3, 1), amount);
        auto* table = h.w<QTableView>("flxPayments");
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(h.model("flxPayments")->index(1, 0)).center());
        h.click("optType_0");
        QCOMPARE(h.cell("flxPayments", 1, 2), QString());
        h.click("optType_1");
        QCOMPARE(h.cell("flxPayments", 1, 2), QString("3/1/2024"));
        h.click("cmdDeletePayment");
        QCOMPARE(rows(h, "flxPayments"), (QStringList{"R|2/1/2024|3/1/2024|$1.00|Shorten the loan", "R|2/1/2024|3/1/2024|$3.00|Shorten the loan"}));
        QCOMPARE(h.text("txtXPaymentAmount"), QString("$3.00"));
        h.click("cmdDeletePayment");
        h.click("cmdDeletePayment");
        QCOMPARE(h.model("flxPayments")->rowCount(), 0);
        QVERIFY(!h.w("txtXPaymentAmount")->isEnabled() && h.text("txtXPaymentAmount").isEmpty());
        QCOMPARE(QApplication::focusWidget(), h.w("cmdAddPayment"));
    }

    // A rate change starts at the loan's rate; after Recalculate the table,
    // its "Payment" column and the marked row's tooltip tell the payment it
    // brings; saved and opened again, the rows and the run are the same.
    void rateChangesFollowTheRun()
    {
        LoanWindowHarness h(QDate(2024, 1, 10));
        const int key = h.storeLoan();
        h.open(key);
        h.click("cmdAddRateChange");
        QCOMPARE(QApplication::focusWidget(), h.w("dtRateFrom"));
        QCOMPARE(h.text("txtNewRate"), QString("6"));
        h.type("dtRateFrom", "1/1/2029");
        h.type("txtNewRate", "7.5");
        h.click("cmdRecalculateRates");
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(rows(h, "flxRateChanges"), QStringList{"1/1/2029|7.5|New payment|$687.66"});
        QCOMPARE(h.model("flxResults")->index(60, 0).data(Qt::ToolTipRole).toString(),
                 QString("Rate change 1 from 1/1/2029 takes effect: 7.5 % (New payment), payment $687.66"));
        const QStringList table = rows(h, "flxResults");
        QVERIFY(h.window->save());
        h.open(key);
        QCOMPARE(rows(h, "flxRateChanges"), QStringList{"1/1/2029|7.5|New payment|$687.66"});
        QCOMPARE(rows(h, "flxResults"), table);
        QVERIFY(!h.window->DataHasChanged());
    }

    // What a rate change's field cannot take, and what the run cannot follow,
    // is named with the change's fields shown and the focus where to mend it.
    void rateChangeRefusals_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("rate not a number") << "1/1/2029" << "seven" << 0
                                           << "The rate of rate change 1 must be numeric." << "txtNewRate";
        QTest::newRow("not a date") << "2/30/2029" << "7" << 0 << DateBox::refusal("From") << "dtRateFrom";
        QTest::newRow("same payment below the interest") << "1/1/2029" << "20" << 1
            << "Under rate change 1 (20 % from 1/1/2029, \"Same payment\") the payment of $599.55 does not exceed the "
               "interest of $1,550.91 due with payment 61 on 1/15/2029, so the balance would never fall. Give that "
               "change \"New payment\" or a lower rate." << "txtNewRate";
    }
    void rateChangeRefusals()
    {
        QFETCH(QString, from);
        QFETCH(QString, rate);
        QFETCH(int, mode);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        LoanWindowHarness h(QDate(2024, 1, 10));
        h.open(h.storeLoan());
        h.click("cmdAddRateChange");
        h.type("dtRateFrom", from);
        h.type("txtNewRate", rate);
        h.choose("cboRateMode", mode);
        h.messages.clear();
        h.tabs()->setCurrentIndex(0);
        h.calculate();
        QCOMPARE(h.messages.texts(Kind::Warning), QStringList{message});
        QCOMPARE(h.tabs()->currentWidget()->isAncestorOf(h.w("flxRateChanges")), true);
        QCOMPARE(QApplication::focusWidget(), h.w(qPrintable(focus)));
    }
};

QTEST_MAIN(tst_LoanWindowRows)
#include "tst_loanwindow_rows.moc"
