// The loan window's parts on their own: the results model and its header,
// the conversion of the extra payments table, the change tracker.
#include "ChangeTracker.h"
#include "ExtraPaymentRows.h"
#include "ResultsHeader.h"
#include "ResultsModel.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace std::chrono;

namespace {

engine::Date ymd(int y, int m, int d)
{
    return engine::Date{year{y}, month{unsigned(m)}, day{unsigned(d)}};
}

engine::ScheduleRow row(short number, engine::Date due, double principal = 0, double extra = 0,
                        double cumPrincipal = 0, double interest = 0, double cumInterest = 0, double balance = 0)
{
    return {number, due, principal, extra, cumPrincipal, interest, cumInterest, balance};
}

}  // namespace

class tst_LoanWindowParts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void resultsModelPassesTheModelTester();
    void resultsRowTexts_data();
    void resultsRowTexts();
    void resultsRowColours_data();
    void resultsRowColours();
    void resultsHeadings();
    void resultsHeaderMergesTheUpperRow();

    void extraPaymentRows_data();
    void extraPaymentRows();

    void trackerFlagsEveryKindOfControl_data();
    void trackerFlagsEveryKindOfControl();
    void trackerIgnoresUnwatchedControls();
};

void tst_LoanWindowParts::resultsModelPassesTheModelTester()
{
    ResultsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows({row(1, ymd(2024, 1, 15)), row(2, ymd(2024, 2, 15))}, ymd(2024, 1, 20));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 7);
    std::vector<engine::ScheduleRow> many;
    for (short i = 1; i <= 400; ++i)
        many.push_back(row(i, ymd(2024, 1, 1)));
    model.setRows(std::move(many), ymd(2024, 1, 1));
    QCOMPARE(model.rowCount(), 400);
    model.setRows({}, {});
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.index(0, 0).data().isValid());
}

void tst_LoanWindowParts::resultsRowTexts_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QDate>("due");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("firstColumn");
    QTest::addColumn<QString>("amountText");

    QTest::newRow("first payment") << 1 << QDate(2024, 1, 15) << 330.02 << "001 - 01/15/24" << "330.02";
    QTest::newRow("thousands grouped") << 3 << QDate(2024, 3, 15) << 1000.0 << "003 - 03/15/24" << "1,000.00";
    QTest::newRow("four-digit number") << 1000 << QDate(2043, 2, 23) << 99900.45 << "1000 - 02/23/43"
                                       << "99,900.45";
    QTest::newRow("zero shows unsigned") << 12 << QDate(2025, 12, 1) << -0.0 << "012 - 12/01/25" << "0.00";
}

void tst_LoanWindowParts::resultsRowTexts()
{
    QFETCH(int, number);
    QFETCH(QDate, due);
    QFETCH(double, amount);
    QFETCH(QString, firstColumn);
    QFETCH(QString, amountText);

    ResultsModel model;
    const auto date = ymd(due.year(), due.month(), due.day());
    model.setRows({row(short(number), date, amount, amount, amount, amount, amount, amount)}, date);
    QCOMPARE(model.index(0, 0).data().toString(), firstColumn);
    for (int column = 1; column < 7; ++column)
        QCOMPARE(model.index(0, column).data().toString(), amountText);
    QCOMPARE(model.index(0, 0).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
    QCOMPARE(model.index(0, 3).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
}

void tst_LoanWindowParts::resultsRowColours_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("daysAfterToday");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("odd, due today: light yellow") << 1 << 0 << QColor(0xFF, 0xFF, 0xC0);
    QTest::newRow("even, due today: yellow") << 2 << 0 << QColor(0xFF, 0xFF, 0xA0);
    QTest::newRow("odd, due yesterday: light yellow") << 3 << -1 << QColor(0xFF, 0xFF, 0xC0);
    QTest::newRow("odd, due tomorrow: light cyan") << 1 << 1 << QColor(0xC0, 0xFF, 0xFF);
    QTest::newRow("even, due tomorrow: cyan") << 2 << 1 << QColor(0x80, 0xFF, 0xFF);
    QTest::newRow("even, next year: cyan") << 10 << 365 << QColor(0x80, 0xFF, 0xFF);
}

void tst_LoanWindowParts::resultsRowColours()
{
    QFETCH(int, number);
    QFETCH(int, daysAfterToday);
    QFETCH(QColor, colour);

    const QDate today(2024, 2, 29);
    const QDate due = today.addDays(daysAfterToday);
    ResultsModel model;
    model.setRows({row(short(number), ymd(due.year(), due.month(), due.day()))},
                  ymd(today.year(), today.month(), today.day()));
    for (int column = 1; column < 7; ++column)
        QCOMPARE(model.index(0, column).data(Qt::BackgroundRole).value<QBrush>().color(), colour);
    // Column 0 keeps the fixed-column look, whatever the date.
    QVERIFY(model.index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color() != colour);
}

void tst_LoanWindowParts::resultsHeadings()
{
    ResultsModel model;
    const QStringList lower = {"Date", "Current", "Extra", "Cummulitive", "Current", "Cummulitive", "Due"};
    const QStringList upper = {"Payment", "Principal", "Principal", "Principal", "Interest", "Interest", "Balance"};
    for (int column = 0; column < 7; ++column) {
        QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), lower[column]);
        QCOMPARE(model.headerData(column, Qt::Horizontal, ResultsModel::TopHeadingRole).toString(), upper[column]);
    }
}

void tst_LoanWindowParts::resultsHeaderMergesTheUpperRow()
{
    QTableView view;
    auto* header = new ResultsHeader(&view);
    view.setHorizontalHeader(header);
    ResultsModel model;
    view.setModel(&model);
    const QList<QPair<int, int>> groups = {{0, 0}, {1, 3}, {4, 5}, {6, 6}};
    QCOMPARE(header->topGroups(), groups);
    // Room for two heading rows.
    QVERIFY(header->sizeHint().height() >= 2 * header->fontMetrics().height());
}

void tst_LoanWindowParts::extraPaymentRows_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<int>("kind");  // ExtraPaymentKind, or -1 for an error
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("error");

    const int lump = int(engine::ExtraPaymentKind::LumpSum);
    const int repeating = int(engine::ExtraPaymentKind::Repeating);
    const int ignored = int(engine::ExtraPaymentKind::Ignored);
    QTest::newRow("new row") << "R" << "1/10/2024" << "1/10/2024" << "0.00" << repeating << 0.0 << "";
    QTest::newRow("currency amount") << "L" << "2/1/2024" << "" << "$1,500.00" << lump << 1500.0 << "";
    QTest::newRow("lump sum stop never read") << "L" << "2/1/2024" << "junk" << "500" << lump << 500.0 << "";
    QTest::newRow("other type: cells never read") << "X" << "junk" << "junk" << "junk" << ignored << 0.0 << "";
    QTest::newRow("emptied row ignored") << "" << "" << "" << "" << ignored << 0.0 << "";
    QTest::newRow("lower-case type ignored") << "r" << "1/1/2024" << "2/1/2024" << "5" << ignored << 0.0 << "";
    QTest::newRow("bad start") << "L" << "31/31/2024" << "" << "5" << -1 << 0.0
                               << "13 - Type mismatch: extra payment 1, Start \"31/31/2024\"";
    QTest::newRow("repeating without stop") << "R" << "1/1/2024" << "" << "5" << -1 << 0.0
                                            << "13 - Type mismatch: extra payment 1, Stop \"\"";
    QTest::newRow("bad amount") << "R" << "1/1/2024" << "2/1/2024" << "abc" << -1 << 0.0
                                << "13 - Type mismatch: extra payment 1, Amount \"abc\"";
}

void tst_LoanWindowParts::extraPaymentRows()
{
    QFETCH(QString, type);
    QFETCH(QString, start);
    QFETCH(QString, stop);
    QFETCH(QString, amount);
    QFETCH(int, kind);
    QFETCH(double, value);
    QFETCH(QString, error);

    const auto converted = toEngineExtraPayments({{type, start, stop, amount}});
    if (kind < 0) {
        QVERIFY(std::holds_alternative<QString>(converted));
        QCOMPARE(std::get<QString>(converted), error);
        return;
    }
    QVERIFY(std::holds_alternative<std::vector<engine::ExtraPayment>>(converted));
    const auto& rows = std::get<std::vector<engine::ExtraPayment>>(converted);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(int(rows[0].kind), kind);
    QCOMPARE(rows[0].amount, value);
    if (rows[0].kind == engine::ExtraPaymentKind::Repeating)
        QVERIFY(rows[0].stop.has_value());
    if (rows[0].kind == engine::ExtraPaymentKind::LumpSum)
        QCOMPARE(rows[0].start, ymd(2024, 2, 1));
}

void tst_LoanWindowParts::trackerFlagsEveryKindOfControl_data()
{
    QTest::addColumn<int>("control");
    QTest::newRow("text box") << 0;
    QTest::newRow("pick list") << 1;
    QTest::newRow("check box") << 2;
    QTest::newRow("date picker") << 3;
}

void tst_LoanWindowParts::trackerFlagsEveryKindOfControl()
{
    QFETCH(int, control);
    QLineEdit box;
    QComboBox list;
    list.addItems({"Months", "Years"});
    QCheckBox check;
    QDateEdit picker(QDate(2024, 1, 1));
    ChangeTracker tracker;
    tracker.watch(&box);
    tracker.watch(&list);
    tracker.watch(&check);
    tracker.watch(&picker);
    QVERIFY(!tracker.isChanged());

    // A change made by the program counts like one made by the user.
    QObject* changed = nullptr;
    switch (control) {
    case 0: box.setText("x"); changed = &box; break;
    case 1: list.setCurrentIndex(1); changed = &list; break;
    case 2: check.setChecked(true); changed = &check; break;
    case 3: picker.setDate(QDate(2024, 1, 2)); changed = &picker; break;
    }
    QVERIFY(tracker.isChanged());
    QVERIFY(tracker.isChanged(changed));
    tracker.clear();
    QVERIFY(!tracker.isChanged());
    QVERIFY(!tracker.isChanged(changed));
}

void tst_LoanWindowParts::trackerIgnoresUnwatchedControls()
{
    QLineEdit watched;
    QLineEdit other;
    ChangeTracker tracker;
    tracker.watch(&watched);
    other.setText("typed");
    QVERIFY(!tracker.isChanged());
    {
        QLineEdit gone;
        tracker.watch(&gone);
        gone.setText("x");
        QVERIFY(tracker.isChanged());
    }
    // A destroyed control no longer counts.
    QVERIFY(!tracker.isChanged());

    // The program writing the same text again still counts as a change.
    watched.setText("$5.00");
    tracker.clear();
    tracker.assign(&watched, "$5.00");
    QVERIFY(tracker.isChanged(&watched));
    // Assigning to an unwatched box sets its text but no flag.
    tracker.clear();
    tracker.assign(&other, "x");
    QCOMPARE(other.text(), QString("x"));
    QVERIFY(!tracker.isChanged());
}

QTEST_MAIN(tst_LoanWindowParts)
#include "tst_loanwindow_parts.moc"
