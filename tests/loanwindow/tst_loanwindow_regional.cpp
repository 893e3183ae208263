// The window under the user's regional settings: dates typed key by key into
// the date boxes reach the table and the store as meant, or are refused by
// name; numbers are typed and shown in the region's own form. (The readers'
// whole tables are the loan layer's; here the window's wiring to them.)
#include "LoanWindowHarness.h"

class tst_LoanWindowRegional : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinUnitedStates(); }

    void typedDates_data()
    {
        QTest::addColumn<int>("setting");  // in kRegionalSettings
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");   // invalid: refused
        const int us = 0, gb = 1, fr = 2, de = 3, ja = 4;
        QTest::newRow("US one-digit day") << us << "10/3/2024" << QDate(2024, 10, 3);
        QTest::newRow("US two-digit year") << us << "1/15/30" << QDate(2030, 1, 15);
        QTest::newRow("US 31 April") << us << "4/31/2024" << QDate();
        QTest::newRow("British day first") << gb << "5/2/2024" << QDate(2024, 2, 5);
        QTest::newRow("French dots") << fr << "01.02.2027" << QDate(2027, 2, 1);
        QTest::newRow("German two-digit year") << de << "1.3.28" << QDate(2028, 3, 1);
        QTest::newRow("German 31 April") << de << "31.4.2027" << QDate();
        QTest::newRow("Japanese") << ja << "2027/2/1" << QDate(2027, 2, 1);
    }
    // The first payment date and a repeating payment's dates typed alike: a
    // good date reaches the table and the store; a bad one is named, keeps
    // the focus and its text, and Save refuses it again.
    void typedDates()
    {
        QFETCH(int, setting);
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        PinnedLocale pinned(kRegionalSettings[setting].locale);
        LoanWindowHarness h(QDate(2026, 12, 7));
        h.open();
        h.enterLoan("Car", 2, QLocale().toString(6.5), 0, "12", "1000", {}, QDate(2023, 7, 4));
        h.type("dtStartDate", typed);
        if (!date.isValid()) {
            const QString refusal = DateBox::refusal("Date of First Payment");
            QCOMPARE(h.messages.texts(), QStringList{refusal});
            QCOMPARE(QApplication::focusWidget(), h.w("dtStartDate"));
            QCOMPARE(h.text("dtStartDate"), typed);
            h.messages.clear();
            QVERIFY(!h.window->save());
            QCOMPARE(h.messages.texts(), QStringList{refusal});
            QCOMPARE(h.store->listLoans().loans.size(), size_t(0));
            return;
        }
        h.calculate();
        h.addPayment(false, date, date, "10");
        QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join('|')));
        QCOMPARE(h.cell("flxResults", 0, 0).section(" - ", 1), LocaleText::tableDateText(date));
        QVERIFY(h.window->save());
        const QString iso = date.toString(Qt::ISODate);
        QCOMPARE(rawSql(h.store.path(), "SELECT StartDate FROM tblLoanDetail"), QStringList{iso});
        QCOMPARE(rawSql(h.store.path(), "SELECT StartDate, EndDate FROM tblExtraPayments"), QStringList{iso + "|" + iso});
    }

    // Under German settings the user's own forms read and show, the other
    // convention's are refused saying the region's way.
    void germanNumbers()
    {
        PinnedLocale german(QLocale(QLocale::German, QLocale::Germany));
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Haus", 2, "6.5", 1, "30", "300,000");
        h.calculate();
        QCOMPARE(h.messages.texts(Kind::Warning),
                 QStringList{"Interest rate must be numeric. Your regional settings write the decimal separator as "
                             "\",\", as in 6,5."});
        h.messages.clear();
        h.type("txtInterestRate", "6,5");
        h.calculate();
        QCOMPARE(h.messages.texts(Kind::Warning),
                 QStringList{"The Loan Amount must be numeric. Your regional settings write the group separator as "
                             "\".\", as in 300.000."});
        QCOMPARE(QApplication::focusWidget(), h.w("txtLoanAmount"));
        h.messages.clear();
        h.type("txtLoanAmount", "300.000");
        h.calculate();
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(h.text("txtLoanAmount") + " | " + h.text("txtPaymentAmount"),
                 QString("300.000,00\u00A0\u20AC | 1.896,20\u00A0\u20AC"));
        QCOMPARE(h.cell("flxResults", 0, 0), QString("001 - 15.01.24"));
        QVERIFY(h.window->save());
        QCOMPARE(rawSql(h.store.path(), "SELECT printf('%.2f|%g', OrigAmount, InterestRate) FROM tblLoanDetail"),
                 QStringList{"300000.00|6.5"});
    }
};

QTEST_MAIN(tst_LoanWindowRegional)
#include "tst_loanwindow_regional.moc"
