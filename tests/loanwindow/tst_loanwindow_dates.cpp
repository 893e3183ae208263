// Dates typed key by key into the three date boxes, as a user types them
// (Tab into the box, type, Tab away), under five regional settings: the date
// the user meant reaches the table and the store, or the box refuses it by
// name and keeps the focus; nothing is turned into another date.
#include "LoanWindowHarness.h"
#include "PinnedLocale.h"

#include <QCalendarWidget>

namespace {

// Tab into the box, type, Tab out: the way a user fills a date.
void typeDate(LoanWindowHarness& h, const char* name, const QString& text)
{
    DateBox* box = h.w<DateBox>(name);
    box->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
    QApplication::processEvents();
}

QString refusal(const QString& caption)
{
    return DateBox::refusal(caption);
}

}  // namespace

class tst_LoanWindowDates : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    void typedDates_data()
    {
        QTest::addColumn<int>("setting");  // in kRegionalSettings
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");   // invalid: refused
        const QDate refused;
        const int us = 0, gb = 1, fr = 2, de = 3, ja = 4;
        QTest::newRow("US leading zeros") << us << "02/01/2024" << QDate(2024, 2, 1);
        QTest::newRow("US two-digit month and day") << us << "12/25/2024" << QDate(2024, 12, 25);
        QTest::newRow("US one-digit day") << us << "10/3/2024" << QDate(2024, 10, 3);
        QTest::newRow("US one-digit month") << us << "2/15/2024" << QDate(2024, 2, 15);
        QTest::newRow("US two-digit year") << us << "2/15/24" << QDate(2024, 2, 15);
        QTest::newRow("US dashes") << us << "2-15-2024" << QDate(2024, 2, 15);
        QTest::newRow("US ISO") << us << "2024-02-15" << QDate(2024, 2, 15);
        QTest::newRow("US 31 April") << us << "4/31/2024" << refused;
        QTest::newRow("US 29 February 2023") << us << "2/29/2023" << refused;
        QTest::newRow("US month 13") << us << "13/1/2024" << refused;
        QTest::newRow("US no year") << us << "2/15" << refused;
        QTest::newRow("US letters") << us << "Feb 15" << refused;
        QTest::newRow("British day first") << gb << "5/2/2024" << QDate(2024, 2, 5);
        QTest::newRow("British leading zeros") << gb << "05/02/24" << QDate(2024, 2, 5);
        QTest::newRow("British 31 April") << gb << "31/4/2024" << refused;
        QTest::newRow("French") << fr << "1/2/2027" << QDate(2027, 2, 1);
        QTest::newRow("French dots") << fr << "01.02.2027" << QDate(2027, 2, 1);
        QTest::newRow("German") << de << "1.2.2027" << QDate(2027, 2, 1);
        QTest::newRow("German two-digit year") << de << "01.02.27" << QDate(2027, 2, 1);
        QTest::newRow("German 31 April") << de << "31.4.2024" << refused;
        QTest::newRow("Japanese") << ja << "2027/2/1" << QDate(2027, 2, 1);
        QTest::newRow("Japanese two-digit year") << ja << "27/02/01" << QDate(2027, 2, 1);
    }

    // The first payment date: a good date calculates and is stored as typed;
    // a bad one is named, keeps the focus and its text, and nothing is saved.
    void typedDates()
    {
        QFETCH(int, setting);
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        PinnedLocale pinned(kRegionalSettings[setting].locale);
        LoanWindowHarness h(QDate(2024, 1, 10));
        h.open();
        h.show();
        h.enterLoan("Car", 2, QLocale().toString(6.5), 0, "12", "1000", "", QDate(2023, 7, 4));
        typeDate(h, "dtStartDate", typed);
        DateBox* start = h.w<DateBox>("dtStartDate");
        if (!date.isValid()) {
            QCOMPARE(h.messages.texts(), QStringList{refusal("Date of First Payment")});
            QCOMPARE(QApplication::focusWidget(), start);
            QCOMPARE(start->text(), typed);
            // Saving (Ctrl+S with the text still there) refuses it again and stores nothing.
            h.messages.clear();
            QVERIFY(!h.window->save());
            QCOMPARE(h.messages.texts(), QStringList{refusal("Date of First Payment")});
            QCOMPARE(rawSql(h.store->path(), "SELECT count(*) FROM tblLoanDetail"), QStringList{"0"});
            return;
        }
        QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join('|')));
        QCOMPARE(start->date(), date);
        QCOMPARE(start->text(), LocaleText::shortDateText(date));
        h.calculate();
        QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join('|')));
        QCOMPARE(LocaleText::readShortDate(h.result(0, 0).section(" - ", 1)), std::optional(date));

        // The extra payment's dates, typed the same way into a repeating payment.
        h.tabs()->setCurrentIndex(1);
        h.click("cmdAddPayment");
        h.click("optType_1");
        typeDate(h, "dtBeginDate", typed);
        typeDate(h, "dtEndDate", typed);
        QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join('|')));
        QCOMPARE(LocaleText::readShortDate(h.payment(0, 2)), std::optional(date));
        QCOMPARE(LocaleText::readShortDate(h.payment(0, 3)), std::optional(date));
        QVERIFY(h.window->save());
        const QString iso = date.toString(Qt::ISODate);
        QCOMPARE(rawSql(h.store->path(), "SELECT StartDate FROM tblLoanDetail"), QStringList{iso});
        QCOMPARE(rawSql(h.store->path(), "SELECT StartDate, EndDate FROM tblExtraPayments"), QStringList{iso + "|" + iso});
    }

    // A date that is no date in an extra payment's box: named, the focus kept
    // there, the row's date unchanged; Recalculate refuses it again.
    void typedExtraPaymentDateRefused_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("caption");
        QTest::newRow("start") << "dtBeginDate" << "Start Date";
        QTest::newRow("end") << "dtEndDate" << "End Date";
    }
    void typedExtraPaymentDateRefused()
    {
        QFETCH(QString, box);
        QFETCH(QString, caption);
        LoanWindowHarness h;
        h.open();
        h.show();
        h.carLoan();
        h.tabs()->setCurrentIndex(1);
        h.addPayment(false, QDate(2024, 2, 15), QDate(2024, 3, 15), "10");
        const QStringList before = h.paymentRow(0);
        typeDate(h, qPrintable(box), "4/31/2024");
        QCOMPARE(h.messages.texts(), QStringList{refusal(caption)});
        QCOMPARE(QApplication::focusWidget(), h.w<DateBox>(qPrintable(box)));
        QCOMPARE(h.paymentRow(0), before);
        // The click leaves the box (a real, modal box would swallow the click
        // there); either way the run refuses the text rather than using another date.
        h.messages.clear();
        const int rows = h.results()->rowCount();
        h.click("cmdRecalculate");
        QVERIFY(!h.messages.texts().isEmpty());
        for (const QString& text : h.messages.texts()) QCOMPARE(text, refusal(caption));
        QCOMPARE(h.paymentRow(0), before);
        QCOMPARE(h.results()->rowCount(), rows);
    }

    // Up and Down step the field under the cursor; the calendar (Alt+Down)
    // picks a date with the keyboard, and Esc leaves it without a change.
    void stepAndPick()
    {
        LoanWindowHarness h;
        h.open();
        h.show();
        DateBox* start = h.w<DateBox>("dtStartDate");
        typeDate(h, "dtStartDate", "1/31/2024");
        start->setFocus(Qt::TabFocusReason);
        start->setCursorPosition(0);  // month
        QTest::keyClick(start, Qt::Key_Up);
        QCOMPARE(start->date(), QDate(2024, 2, 29));
        start->setCursorPosition(start->text().indexOf('/') + 1);  // day
        QTest::keyClick(start, Qt::Key_Up);
        QCOMPARE(start->date(), QDate(2024, 3, 1));
        start->setCursorPosition(start->text().size());  // year
        QTest::keyClick(start, Qt::Key_Down);
        QCOMPARE(start->date(), QDate(2023, 3, 1));
        QCOMPARE(start->text(), QStringLiteral("3/1/2023"));

        QTest::keyClick(start, Qt::Key_Down, Qt::AltModifier);
        auto* calendar = start->findChild<QCalendarWidget*>();
        QVERIFY(calendar && calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), QDate(2023, 3, 1));
        QTest::keyClick(calendar->focusWidget() ? calendar->focusWidget() : calendar, Qt::Key_Escape);
        QVERIFY(!calendar->isVisible());
        QCOMPARE(start->date(), QDate(2023, 3, 1));
        QTest::keyClick(start, Qt::Key_F4);
        QVERIFY(calendar->isVisible());
        QWidget* days = calendar->focusWidget() ? calendar->focusWidget() : calendar;
        QTest::keyClick(days, Qt::Key_Right);
        QTest::keyClick(days, Qt::Key_Return);
        QVERIFY(!calendar->isVisible());
        QCOMPARE(start->date(), QDate(2023, 3, 2));
        QVERIFY(h.messages.shown().isEmpty());
    }
};

QTEST_MAIN(tst_LoanWindowDates)
#include "tst_loanwindow_dates.moc"
