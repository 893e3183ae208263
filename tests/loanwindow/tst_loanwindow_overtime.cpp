// A loan over time: the yearly view against the payment table's own texts,
// and the balance chart with and without extra payments.
#include "BalanceChart.h"
#include "CalculateLoan.h"
#include "LoanWindowHarness.h"
#include "LocaleText.h"
#include "ResultsModel.h"
#include "ResultsTable.h"
#include "YearlyModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QRadioButton>
#include <QStackedWidget>
#include <QCategoryAxis>
#include <QChart>
#include <QFont>
#include <QLineSeries>
#include <QLocale>
#include <QTest>

#include <map>

namespace {

LoanInputs inputs(const QString& amount, const QString& rate, const QString& term, int termType, int frequency,
                  QDate first)
{
    return {QStringLiteral("Loan"), frequency, rate, termType, term, amount, QString(), first};
}

LoanResult run(const LoanInputs& in, const std::vector<ExtraPaymentRow>& extras = {})
{
    auto outcome = calculateLoan(in, extras, false, QDate(2024, 1, 1));
    if (!std::holds_alternative<LoanResult>(outcome))
        qFatal("run failed");
    return std::get<LoanResult>(std::move(outcome));
}

qint64 cents(const QVariant& text)
{
    const std::optional<double> value = LocaleText::readNumber(text.toString());
    return value ? qRound64(*value * 100.0) : -1;
}

const ExtraPaymentRow kLumpSum{engine::ExtraPaymentKind::LumpSum, QDate(2024, 2, 1), std::nullopt, 500.0};

}  // namespace

class tst_LoanOverTime : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void yearlyViewAddsUpThePaymentTable_data()
    {
        QTest::addColumn<LoanInputs>("in");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QStringList>("years");
        QTest::addColumn<QList<bool>>("due");  // all payments of the year due by today
        QTest::newRow("workedExample") << inputs("1000", "12", "3", 0, 2, QDate(2024, 1, 15)) << QDate(2024, 3, 14)
                                       << QStringList{"2024", "Total"} << QList<bool>{false};
        QTest::newRow("novemberToFebruary") << inputs("10000", "6", "16", 0, 2, QDate(2024, 11, 15))
                                            << QDate(2025, 12, 15) << QStringList{"2024", "2025", "2026", "Total"}
                                            << QList<bool>{true, true, false};
        QTest::newRow("biWeeklyFourYears") << inputs("30000", "4.5", "4", 1, 1, QDate(2024, 3, 8))
                                           << QDate(2030, 1, 1)
                                           << QStringList{"2024", "2025", "2026", "2027", "2028", "Total"}
                                           << QList<bool>{true, true, true, true, true};
    }

    void yearlyViewAddsUpThePaymentTable()
    {
        QFETCH(LoanInputs, in);
        QFETCH(QDate, today);
        QFETCH(QStringList, years);
        QFETCH(QList<bool>, due);
        const LoanResult result = run(in);
        ResultsModel payments;
        payments.setRows(result.schedule.rows, LocaleText::toYmd(today));
        YearlyModel yearly;
        QAbstractItemModelTester tester(&yearly, QAbstractItemModelTester::FailureReportingMode::QtTest);
        yearly.setRows(result.schedule.rows, LocaleText::toYmd(today));

        // Sums a user would make of the payment table's cells, per year.
        struct Sums { int payments = 0; qint64 principal = 0, extra = 0, interest = 0; QString balance; };
        std::map<int, Sums> byYear;
        Sums all;
        for (int row = 0; row < payments.rowCount(); ++row) {
            Sums& sums = byYear[int(payments.rows()[size_t(row)].dueDate.year())];
            const auto cell = [&](ResultsColumn c) { return payments.index(row, int(c)).data(); };
            for (Sums* s : {&sums, &all}) {
                ++s->payments;
                s->principal += cents(cell(ResultsColumn::Principal));
                s->extra += cents(cell(ResultsColumn::Extra));
                s->interest += cents(cell(ResultsColumn::Interest));
            }
            sums.balance = cell(ResultsColumn::Balance).toString();
        }

        QStringList foundYears;
        for (int row = 0; row < yearly.rowCount(); ++row)
            foundYears << yearly.index(row, 0).data().toString();
        QCOMPARE(foundYears, years);
        QStringList headings;
        for (int column = 0; column < yearly.columnCount(); ++column)
            headings << yearly.headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headings, (QStringList{"Year", "Payments", "Principal", "Extra", "Interest", "Total Paid",
                                        "Balance Due"}));

        for (int row = 0; row < yearly.rowCount(); ++row) {
            const bool isTotal = row == yearly.totalRow();
            const Sums& sums = isTotal ? all : byYear[years[row].toInt()];
            const auto cell = [&](YearlyColumn c) { return yearly.index(row, int(c)).data(); };
            QCOMPARE(cell(YearlyColumn::Payments).toString(), QLocale().toString(sums.payments));
            QCOMPARE(cents(cell(YearlyColumn::Principal)), sums.principal);
            QCOMPARE(cents(cell(YearlyColumn::Extra)), sums.extra);
            QCOMPARE(cents(cell(YearlyColumn::Interest)), sums.interest);
            QCOMPARE(cents(cell(YearlyColumn::TotalPaid)), sums.principal + sums.extra + sums.interest);
            QCOMPARE(cell(YearlyColumn::BalanceDue).toString(), sums.balance);
            QCOMPARE(yearly.index(row, 0).data(Qt::FontRole).value<QFont>().bold(), isTotal);
            if (isTotal)
                continue;
            // Yellow once due, cyan in the future, light and dark alternating.
            const QColor colour = yearly.index(row, 1).data(Qt::BackgroundRole).value<QBrush>().color();
            const bool light = row % 2 == 0;
            const QColor expected = due[row] ? (light ? QColor(0xFF, 0xFF, 0xC0) : QColor(0xFF, 0xFF, 0xA0))
                                             : (light ? QColor(0xC0, 0xFF, 0xFF) : QColor(0x80, 0xFF, 0xFF));
            QCOMPARE(colour, expected);
        }
    }

    // The choice at the top of "Amortization Table", made as a user makes it
    // (a click or the access key): the view shown, and what Ctrl+C copies of it.
    void yearlyChoiceThroughTheTab_data()
    {
        QTest::addColumn<QString>("how");     // "", "click" or "Alt+Y", then back with "Alt+P" when "back"
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("heading");  // the copy's first line
        QTest::addColumn<QStringList>("lastLine");
        QTest::newRow("default") << "" << "flxResults"
                                 << "Payment Date\tPrincipal Current\tPrincipal Extra\tPrincipal Cummulitive\t"
                                    "Interest Current\tInterest Cummulitive\tBalance Due"
                                 << QStringList{"003 - 03/15/24", "336.65", "0.01", "1,000.00", "3.37", "20.07", "0.00"};
        const QString years = "Year\tPayments\tPrincipal\tExtra\tInterest\tTotal Paid\tBalance Due";
        QTest::newRow("click") << "click" << "flxYearly" << years
                               << QStringList{"Total", "3", "999.99", "0.01", "20.07", "1,020.07", ""};
        QTest::newRow("access key") << "Alt+Y" << "flxYearly" << years
                                    << QStringList{"Total", "3", "999.99", "0.01", "20.07", "1,020.07", ""};
        QTest::newRow("and back") << "back" << "flxResults"
                                  << "Payment Date\tPrincipal Current\tPrincipal Extra\tPrincipal Cummulitive\t"
                                     "Interest Current\tInterest Cummulitive\tBalance Due"
                                  << QStringList{"003 - 03/15/24", "336.65", "0.01", "1,000.00", "3.37", "20.07", "0.00"};
    }
    void yearlyChoiceThroughTheTab()
    {
        QFETCH(QString, how);
        QFETCH(QString, shown);
        QFETCH(QString, heading);
        QFETCH(QStringList, lastLine);
        LoanWindowHarness h;
        h.open();
        h.show();
        h.carLoan();
        h.window->markUnchanged();
        h.tabs()->setCurrentIndex(2);
        QVERIFY(h.w<QRadioButton>("optEachPayment")->isChecked());
        if (how == "click")
            QTest::mouseClick(h.w<QRadioButton>("optEachYear"), Qt::LeftButton);
        else if (how == "Alt+Y" || how == "back")
            QTest::keyClick(h.window.get(), Qt::Key_Y, Qt::AltModifier);
        // An access key clicks its button a moment later, as a user sees it pressed.
        QTRY_COMPARE(h.w<QRadioButton>("optEachYear")->isChecked(), how != "");
        if (how == "back") {
            QTest::keyClick(h.window.get(), Qt::Key_P, Qt::AltModifier);
            QTRY_VERIFY(h.w<QRadioButton>("optEachPayment")->isChecked());
        }
        auto* table = h.w<QTableView>(qPrintable(shown));
        QCOMPARE(h.w<QStackedWidget>("stkAmortization")->currentWidget(), table);
        QCOMPARE(h.window->showsYearlyTable(), shown == "flxYearly");
        // Same face as the payment table.
        QCOMPARE(table->font(), h.w<QTableView>("flxResults")->font());

        QApplication::clipboard()->clear();
        table->setFocus();
        QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), shown == "flxYearly" ? 3 : 4);
        QCOMPARE(lines.first(), heading);
        QCOMPARE(lines.last().split(QLatin1Char('\t')), lastLine);
        // Looking at the results is no change to save.
        QVERIFY(!h.window->DataHasChanged());
    }

    // The seventh tab: after the six, disabled until the first successful
    // run, then the balance with and without the extra payments of each run;
    // looking at it (or at the years) never makes the window ask to save.
    void balanceTabFollowsTheRuns()
    {
        LoanWindowHarness h;
        h.open();
        h.show();
        QStringList captions;
        for (int tab = 0; tab < h.tabs()->count(); ++tab)
            captions << h.tabs()->tabText(tab);
        QCOMPARE(captions, (QStringList{"Loan Information", "Extra Payments", "Amortization Table", "Summary Graph",
                                        "Savings Summary", "Formulas", "Balance", "Rate Changes"}));
        QVERIFY(!h.tabs()->isTabEnabled(6));
        h.type("txtInterestRate", "x");
        h.calculate();  // refused: still nothing to show
        QVERIFY(!h.tabs()->isTabEnabled(6));
        h.messages.clear();

        h.carLoan();
        for (int tab = 1; tab < 7; ++tab)
            QVERIFY(h.tabs()->isTabEnabled(tab));
        QVERIFY(!h.window->findChild<BalanceChart*>());  // built when first shown
        h.tabs()->setCurrentIndex(6);
        auto* chart = h.w<BalanceChart>("chBalance");
        QCOMPARE(chart->lineCount(), 2);
        QCOMPARE(chart->line(0).points.size(), 4);  // the loan amount, then three payments
        QCOMPARE(chart->line(1).points.size(), 4);

        h.tabs()->setCurrentIndex(1);
        h.addPayment(true, QDate(2024, 2, 1), {}, QStringLiteral("500"));
        h.click("cmdRecalculate");
        QCOMPARE(chart->line(0).points.size(), 4);  // redrawn when shown, not before
        h.tabs()->setCurrentIndex(6);
        QCOMPARE(chart->line(0).points.size(), 3);
        QCOMPARE(chart->line(1).points.size(), 4);
        QCOMPARE(chart->markerText(QDate(2024, 2, 15)),
                 QString("2/15/2024\nWith extra payments: $.00\nWithout extra payments: $336.66"));

        h.window->markUnchanged();
        h.tabs()->setCurrentIndex(6);
        h.tabs()->setCurrentIndex(2);
        QTest::mouseClick(h.w<QRadioButton>("optEachYear"), Qt::LeftButton);
        QVERIFY(!h.window->IsDataChanged() && !h.window->DataHasChanged());
        QVERIFY(h.window->queryClose());
        QVERIFY(h.messages.shown().isEmpty());
    }

    void thinningKeepsTheShape_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("buckets");
        QTest::newRow("fewerThanPixels") << 360 << 500;
        QTest::newRow("longestWeekly") << 32767 << 500;
        QTest::newRow("oneBucket") << 1000 << 1;
        QTest::newRow("justAbove") << 2001 << 500;
    }

    void thinningKeepsTheShape()
    {
        QFETCH(int, points);
        QFETCH(int, buckets);
        // A falling balance with a bump, so the highest point of a bucket is not its first.
        QList<QPointF> line;
        for (int i = 0; i < points; ++i)
            line.append(QPointF(i, double(points - i) + (i % 97 == 50 ? 500.0 : 0.0)));
        const QList<QPointF> kept = BalanceChart::thinned(line, buckets);
        QVERIFY(kept.size() <= std::max(qsizetype(points), qsizetype(buckets) * 4 + 4));
        QCOMPARE(kept.first(), line.first());
        QCOMPARE(kept.last(), line.last());
        for (qsizetype i = 1; i < kept.size(); ++i)
            QVERIFY(kept[i - 1].x() < kept[i].x());
        // Every bump survives where there is room for it.
        qreal highestKept = 0, highest = 0;
        for (const QPointF& p : kept) highestKept = std::max(highestKept, p.y());
        for (const QPointF& p : line) highest = std::max(highest, p.y());
        QCOMPARE(highestKept, highest);
    }

    void balanceChartWithAndWithoutExtraPayments_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("marker");
        QTest::newRow("beforeTheFirstPeriod") << QDate(2023, 12, 14) << "12/14/2023";
        QTest::newRow("inTheFirstPeriod")
            << QDate(2024, 1, 1) << "1/1/2024\nWith extra payments: $1,000.00\nWithout extra payments: $1,000.00";
        QTest::newRow("afterThefirstPayment")
            << QDate(2024, 1, 20) << "1/20/2024\nWith extra payments: $669.98\nWithout extra payments: $669.98";
        QTest::newRow("lumpSumPaidOff")
            << QDate(2024, 2, 15) << "2/15/2024\nWith extra payments: $.00\nWithout extra payments: $336.66";
        QTest::newRow("bothPaidOff")
            << QDate(2024, 3, 15) << "3/15/2024\nWith extra payments: $.00\nWithout extra payments: $.00";
    }

    void balanceChartWithAndWithoutExtraPayments()
    {
        QFETCH(QDate, date);
        QFETCH(QString, marker);
        const LoanResult result = run(inputs("1000", "12", "3", 0, 2, QDate(2024, 1, 15)), {kLumpSum});
        BalanceChart chart;
        chart.resize(500, 300);
        chart.setSchedule(result.schedule);
        QCOMPARE(chart.lineCount(), 2);
        QCOMPARE(chart.chart()->series().size(), 2);
        QCOMPARE(chart.line(0).name, QString("With extra payments"));
        QCOMPARE(chart.line(1).name, QString("Without extra payments"));
        QCOMPARE(chart.line(0).points.size(), 3);
        QCOMPARE(chart.line(1).points.size(), 4);
        QCOMPARE(BalanceChart::axisDate(chart.line(1).points.last().x()), QDate(2024, 3, 15));
        QCOMPARE(chart.markerText(date), marker);

        // The money axis: round steps with currency labels from $0 to the top.
        auto* amounts = qobject_cast<QCategoryAxis*>(chart.chart()->axes(Qt::Vertical).first());
        QVERIFY(amounts);
        QCOMPARE(amounts->categoriesLabels(), (QStringList{"$0", "$200", "$400", "$600", "$800", "$1,000"}));
        QCOMPARE(amounts->max(), 1000.0);
    }

    // Each line starts at the loan amount at the start of the first period
    // (the first due date less one period), then falls with each payment.
    void balanceStartsAtTheLoanAmount_data()
    {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QString>("term");
        QTest::addColumn<int>("termType");
        QTest::addColumn<QDate>("start");
        QTest::newRow("monthly, 1 year") << 2 << "1" << 1 << QDate(2023, 12, 15);
        QTest::newRow("monthly, 30 years") << 2 << "30" << 1 << QDate(2023, 12, 15);
        QTest::newRow("weekly") << 0 << "12" << 0 << QDate(2024, 1, 8);
        QTest::newRow("quarterly") << 5 << "12" << 0 << QDate(2023, 10, 15);
        QTest::newRow("one annual payment") << 7 << "1" << 1 << QDate(2023, 1, 15);
    }
    void balanceStartsAtTheLoanAmount()
    {
        QFETCH(int, frequency);
        QFETCH(QString, term);
        QFETCH(int, termType);
        QFETCH(QDate, start);
        const LoanResult result = run(inputs("12000", "6", term.toLatin1().constData(), termType, frequency,
                                             QDate(2024, 1, 15)));
        BalanceChart chart;
        chart.resize(600, 300);
        chart.setSchedule(result.schedule);
        for (int line = 0; line < 2; ++line) {
            const QList<QPointF>& points = chart.line(line).points;
            QCOMPARE(BalanceChart::axisDate(points.first().x()), start);
            QCOMPARE(points.first().y(), 12000.0);
            QCOMPARE(BalanceChart::axisDate(points[1].x()), QDate(2024, 1, 15));
            QVERIFY(points[1].y() < 12000.0);
        }
    }

    // The date axis of a 1-year and a 30-year loan on screen: ticks on whole
    // months or years, evenly spaced, each label once and whole.
    void balanceDateTicks_data()
    {
        QTest::addColumn<QString>("years");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("1 year, wide") << "1" << 1400
            << QStringList{"Jan 2024", "Feb 2024", "Mar 2024", "Apr 2024", "May 2024", "Jun 2024", "Jul 2024",
                           "Aug 2024", "Sep 2024", "Oct 2024", "Nov 2024", "Dec 2024"};
        QTest::newRow("1 year") << "1" << 1000
            << QStringList{"Jan 2024", "Mar 2024", "May 2024", "Jul 2024", "Sep 2024", "Nov 2024"};
        QTest::newRow("1 year, narrow") << "1" << 500 << QStringList{"Jan 2024", "Apr 2024", "Jul 2024", "Oct 2024"};
        QTest::newRow("30 years") << "30" << 600
            << QStringList{"2025", "2030", "2035", "2040", "2045", "2050"};
        QTest::newRow("30 years, wide") << "30" << 1400
            << QStringList{"2024", "2026", "2028", "2030", "2032", "2034", "2036", "2038", "2040", "2042", "2044",
                           "2046", "2048", "2050", "2052"};
    }
    void balanceDateTicks()
    {
        QFETCH(QString, years);
        QFETCH(int, width);
        QFETCH(QStringList, labels);
        const LoanResult result = run(inputs("200000", "6", years.toLatin1().constData(), 1, 2, QDate(2024, 1, 15)));
        BalanceChart chart;
        chart.resize(width, 300);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        chart.setSchedule(result.schedule);
        auto* dates = qobject_cast<QCategoryAxis*>(chart.chart()->axes(Qt::Horizontal).first());
        QVERIFY(dates);
        QStringList shown;
        for (const DateTick& tick : chart.dateTicks()) {
            shown << tick.label;
            QCOMPARE(tick.date.day(), 1);
            QCOMPARE(dates->endValue(tick.label), BalanceChart::axisTime(LocaleText::toYmd(tick.date)));
        }
        QVERIFY2(shown == labels, qPrintable(shown.join('|')));
        QCOMPARE(dates->categoriesLabels(), labels);
        // Whole: each label fits between its neighbours with room to spare.
        const QFontMetrics metrics(dates->labelsFont());
        const QRectF plot = chart.chart()->plotArea();
        const qreal spacing = plot.width() * (dates->endValue(labels[1]) - dates->endValue(labels[0])) /
                              (dates->max() - dates->min());
        for (const QString& label : labels)
            QVERIFY2(metrics.horizontalAdvance(label) < spacing, qPrintable(label));
    }

    void longestWeeklyLoanChartsAndYears()
    {
        const LoanResult result = run(inputs("250000", "6.5", "7536", 0, 0, QDate(2024, 1, 1)));
        QCOMPARE(result.schedule.rows.size(), size_t(32767));
        YearlyModel yearly;
        yearly.setRows(result.schedule.rows, LocaleText::toYmd(QDate(2024, 6, 1)));
        QCOMPARE(yearly.index(yearly.totalRow(), int(YearlyColumn::Payments)).data().toString(), QString("32,767"));
        QCOMPARE(yearly.index(yearly.totalRow() - 1, int(YearlyColumn::BalanceDue)).data().toString(),
                 QString("0.00"));

        BalanceChart balance;
        balance.resize(600, 400);
        balance.show();
        QVERIFY(QTest::qWaitForWindowExposed(&balance));
        balance.setSchedule(result.schedule);
        QCOMPARE(balance.line(0).points.size(), 32768);
        QCOMPARE(balance.line(1).points.size(), 32768);
        for (int line = 0; line < 2; ++line)
            QVERIFY2(balance.drawnPointCount(line) > 100 && balance.drawnPointCount(line) <= 4 * 600 + 4,
                     qPrintable(QString::number(balance.drawnPointCount(line))));
        QVERIFY(!balance.grab().isNull());
        // A wider view draws more of the points.
        const int narrow = balance.drawnPointCount(0);
        balance.resize(1200, 400);
        QVERIFY(balance.drawnPointCount(0) > narrow);
    }
};

QTEST_MAIN(tst_LoanOverTime)
#include "tst_loanwindow_overtime.moc"
