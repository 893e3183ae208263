// The loan window under five regional settings: the table's due dates in
// the setting's order, and amounts, rates and dates typed, shown, stored and
// read back under each.
#include "LoanWindowHarness.h"
#include "LocaleText.h"
#include "PinnedLocale.h"
#include "SummaryChart.h"

class tst_LoanWindowRegional : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    // The due date in column 0 follows the day-month-year order of the short
    // date, with two-digit fields and the regional separator, and reads back
    // to the same day. Monthly from 1 February 2009: row 1 is 1 February 2009,
    // row 10 is 1 November 2009, row 181 is 1 February 2024.
    void tableDateFollowsTheRegionalOrder_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("dates");
        const QStringList expected[] = {{"02/01/09", "11/01/09", "02/01/24"},
                                        {"01/02/09", "01/11/09", "01/02/24"},
                                        {"01/02/09", "01/11/09", "01/02/24"},
                                        {"01.02.09", "01.11.09", "01.02.24"},
                                        {"09/02/01", "09/11/01", "24/02/01"}};
        int i = 0;
        for (const auto& setting : kRegionalSettings) QTest::newRow(setting.name) << setting.locale << expected[i++];
    }
    void tableDateFollowsTheRegionalOrder()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, dates);
        PinnedLocale pinned(locale);
        LoanWindowHarness h;
        h.open();
        h.show();
        h.enterLoan("House", 2, "6", 1, "30", "100000", "", QDate(2009, 2, 1));
        h.calculate();
        QCOMPARE(h.results()->rowCount(), 360);
        const std::pair<int, QDate> rows[] = {{0, QDate(2009, 2, 1)}, {9, QDate(2009, 11, 1)}, {180, QDate(2024, 2, 1)}};
        for (int i = 0; i < 3; ++i) {
            const QString cell = h.result(rows[i].first, 0);
            QCOMPARE(cell, QStringLiteral("%1 - %2").arg(rows[i].first + 1, 3, 10, QLatin1Char('0')).arg(dates[i]));
            QCOMPARE(LocaleText::readShortDate(cell.section(QStringLiteral(" - "), 1)), std::optional(rows[i].second));
        }
    }

    // The Summary Graph's money axis is written as the boxes write money: the
    // setting's currency and grouping, on round steps.
    void summaryAxisInTheUsersMoney_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("top");
        for (const auto& setting : kRegionalSettings)
            QTest::newRow(setting.name) << setting.locale
                                        << setting.locale.toCurrencyString(200000.0, setting.locale.currencySymbol(), 0);
    }
    void summaryAxisInTheUsersMoney()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, top);
        PinnedLocale pinned(locale);
        LoanWindowHarness h;
        h.open();
        h.enterLoan("House", 2, "6", 1, "30", "200000", "", QDate(2009, 2, 1));
        h.calculate();
        // Interest 231,676.38 is the tallest bar: the axis reaches 250,000 in steps of 50,000.
        h.tabs()->setCurrentIndex(3);  // the chart is built when its page is shown
        const QStringList labels = h.w<SummaryChart>("chSummary")->axisLabels();
        QCOMPARE(labels.size(), 6);
        QCOMPARE(labels.first(), locale.toCurrencyString(0.0, locale.currencySymbol(), 0));
        QCOMPARE(labels[4], top);
        QVERIFY2(labels[4] != QLatin1String("200000"), qPrintable(labels.join('|')));
    }

    // The input path and the store under five regional settings: amounts,
    // rates and dates typed in the locale's own form are read; boxes and table
    // show the locale's separators with two decimals (yen included); the loan
    // saved under one setting reads back identical under every other.
    void regionalSettings_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<QStringList>("typed");     // rate, loan amount, extra amount, first payment date as shown
        QTest::addColumn<QStringList>("shown");     // loan box, payment box, extra cell, table row 1 principal, balance
        const QString nnbsp = QString(QChar(0x202F)), nbsp = QString(QChar(0x00A0));
        QTest::newRow("United States") << 0 << QStringList{"6.5", "12,345.67", "1,000.50", "2/1/2024"}
            << QStringList{"$12,345.67", "$1,271.64", "$1,000.50", "1,204.77", "11,140.90"};
        QTest::newRow("British") << 1 << QStringList{"6.5", "12,345.67", "1,000.50", "01/02/2024"}
            << QStringList{"\u00A312,345.67", "\u00A31,271.64", "\u00A31,000.50", "1,204.77", "11,140.90"};
        QTest::newRow("French") << 2 << QStringList{"6,5", "12 345,67", "1" + nbsp + "000,50", "01/02/2024"}
            << QStringList{"12" + nnbsp + "345,67" + nbsp + "\u20AC", "1" + nnbsp + "271,64" + nbsp + "\u20AC",
                           "1" + nnbsp + "000,50" + nbsp + "\u20AC", "1" + nnbsp + "204,77", "11" + nnbsp + "140,90"};
        QTest::newRow("German") << 3 << QStringList{"6,5", "12.345,67", "1.000,50", "01.02.2024"}
            << QStringList{"12.345,67" + nbsp + "\u20AC", "1.271,64" + nbsp + "\u20AC", "1.000,50" + nbsp + "\u20AC",
                           "1.204,77", "11.140,90"};
        QTest::newRow("Japanese") << 4 << QStringList{"6.5", "12,345.67", "1,000.50", "2024/02/01"}
            << QStringList{"\uFFE512,345.67", "\uFFE51,271.64", "\uFFE51,000.50", "1,204.77", "11,140.90"};
    }
    void regionalSettings()
    {
        QFETCH(int, setting);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, shown);
        LoanWindowHarness h;
        int key = 0;
        QList<QList<double>> figures;  // the table's amounts, as read under the first setting
        {
            PinnedLocale pinned(kRegionalSettings[setting].locale);
            h.open();
            h.show();
            // Monthly, 10 payments from 1 February 2024; the picker shows the
            // short date with a four-digit year, which reads back.
            h.enterLoan("Boat", 2, typed[0], 0, "10", typed[1], "", QDate(2024, 2, 1));
            QCOMPARE(h.w<DateBox>("dtStartDate")->text(), typed[3]);
            QCOMPARE(LocaleText::readShortDate(typed[3]), std::optional(QDate(2024, 2, 1)));
            h.calculate();
            QCOMPARE(h.text("txtLoanAmount"), shown[0]);
            QCOMPARE(h.text("txtPaymentAmount"), shown[1]);
            QCOMPARE(h.result(0, 1), shown[3]);
            QCOMPARE(h.result(0, 6), shown[4]);
            h.tabs()->setCurrentIndex(1);
            h.addPayment(true, QDate(2024, 3, 1), {}, typed[2]);
            QCOMPARE(h.payment(0, 4), shown[2]);
            h.click("cmdRecalculate");
            QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join('|')));
            for (int row = 0; row < h.results()->rowCount(); ++row) {
                figures.append(QList<double>{});
                for (const QString& text : h.resultRow(row).mid(1)) figures.last() << LocaleText::readNumber(text).value_or(-1);
            }
            QVERIFY(h.window->save());
            key = h.window->Loan();
        }
        // What the store holds does not depend on the settings it was typed under.
        QCOMPARE(rawSql(h.store->path(), "SELECT Description, StartDate, OrigAmount, InterestRate, Term FROM tblLoanDetail"),
                 QStringList{"Boat|2024-02-01|12345.67|6.5|10"});
        QCOMPARE(rawSql(h.store->path(), "SELECT StartDate, Amount FROM tblExtraPayments"), QStringList{"2024-03-01|1000.5"});
        // Opened under every setting: the same loan, in that setting's texts.
        for (const auto& other : kRegionalSettings) {
            PinnedLocale pinned(other.locale);
            h.messages.clear();
            h.open(1, key);
            QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join('|')));
            QCOMPARE(LocaleText::readNumber(h.text("txtLoanAmount")), std::optional(12345.67));
            QCOMPARE(LocaleText::readNumber(h.text("txtInterestRate")), std::optional(6.5));
            QCOMPARE(h.w<DateBox>("dtStartDate")->date(), QDate(2024, 2, 1));
            QCOMPARE(LocaleText::readNumber(h.payment(0, 4)), std::optional(1000.5));
            QCOMPARE(LocaleText::readShortDate(h.payment(0, 2)), std::optional(QDate(2024, 3, 1)));
            QCOMPARE(LocaleText::readShortDate(h.result(0, 0).section(" - ", 1)), std::optional(QDate(2024, 2, 1)));
            QCOMPARE(h.results()->rowCount(), figures.size());
            const QString decimal = QLocale().decimalPoint();
            for (int row = 0; row < h.results()->rowCount(); ++row) {
                const QStringList texts = h.resultRow(row).mid(1);
                for (int column = 0; column < texts.size(); ++column) {
                    // Two decimals after the setting's own decimal separator, the same figure.
                    QVERIFY2(texts[column].size() > 3 && texts[column].mid(texts[column].size() - 3, 1) == decimal,
                             qPrintable(texts[column]));
                    QCOMPARE(LocaleText::readNumber(texts[column]), std::optional(figures[row][column]));
                }
            }
        }
    }
};

QTEST_MAIN(tst_LoanWindowRegional)
#include "tst_loanwindow_regional.moc"
