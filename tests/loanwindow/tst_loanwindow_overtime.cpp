// A loan over time: the balance chart's lines, axes and thinning, and the
// window's yearly view and Balance tab following its runs.
#include "BalanceChart.h"
#include "LoanWindowHarness.h"
#include "YearlyModel.h"

#include <QCategoryAxis>
#include <QChart>
#include <QRadioButton>

namespace {

LoanResult run(double amount, int term, engine::TermUnit unit, engine::PaymentFrequency frequency,
               const std::vector<ExtraPaymentRow>& extras = {})
{
    return calculated({QStringLiteral("Loan"), amount, amount == 1000 ? 12.0 : 6.0, term, unit, frequency,
                       QDate(2024, 1, 15)},
                      extras);
}

const ExtraPaymentRow kLumpSum{engine::ExtraPaymentKind::LumpSum, QDate(2024, 2, 1), std::nullopt, 500.0};

}  // namespace

class tst_LoanOverTime : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinUnitedStates(); }

    // Each line starts at the loan amount a period before the first payment,
    // and the marker tells both balances on a date.
    void balanceLines_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("marker");
        QTest::newRow("beforeTheFirstPeriod") << QDate(2023, 12, 14) << "12/14/2023";
        QTest::newRow("inTheFirstPeriod")
            << QDate(2024, 1, 1) << "1/1/2024\nWith extra payments: $1,000.00\nWithout extra payments: $1,000.00";
        QTest::newRow("lumpSumPaidOff")
            << QDate(2024, 2, 15) << "2/15/2024\nWith extra payments: $.00\nWithout extra payments: $336.66";
    }
    void balanceLines()
    {
        QFETCH(QDate, date);
        QFETCH(QString, marker);
        BalanceChart chart;
        chart.resize(500, 300);
        chart.setSchedule(run(1000, 3, engine::TermUnit::Months, engine::PaymentFrequency::Monthly, {kLumpSum}).schedule);
        QCOMPARE(chart.line(0).points.size(), 3);
        QCOMPARE(chart.line(1).points.size(), 4);
        QCOMPARE(BalanceChart::axisDate(chart.line(0).points.first().x()), QDate(2023, 12, 15));
        QCOMPARE(chart.line(0).points.first().y(), 1000.0);
        QCOMPARE(chart.markerText(date), marker);
        auto* amounts = qobject_cast<QCategoryAxis*>(chart.chart()->axes(Qt::Vertical).first());
        QCOMPARE(amounts->categoriesLabels(), (QStringList{"$0", "$200", "$400", "$600", "$800", "$1,000"}));
    }

    // The date axis: ticks on whole months or years, each label whole and once.
    void balanceDateTicks_data()
    {
        QTest::addColumn<int>("years");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("1 year, narrow") << 1 << 500 << QStringList{"Jan 2024", "Apr 2024", "Jul 2024", "Oct 2024"};
        QTest::newRow("30 years") << 30 << 600 << QStringList{"2025", "2030", "2035", "2040", "2045", "2050"};
    }
    void balanceDateTicks()
    {
        QFETCH(int, years);
        QFETCH(int, width);
        QFETCH(QStringList, labels);
        BalanceChart chart;
        chart.resize(width, 300);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        chart.setSchedule(run(200000, years, engine::TermUnit::Years, engine::PaymentFrequency::Monthly).schedule);
        auto* dates = qobject_cast<QCategoryAxis*>(chart.chart()->axes(Qt::Horizontal).first());
        QCOMPARE(dates->categoriesLabels(), labels);
        const QFontMetrics metrics(dates->labelsFont());
        const qreal spacing = chart.chart()->plotArea().width() *
                              (dates->endValue(labels[1]) - dates->endValue(labels[0])) / (dates->max() - dates->min());
        for (const QString& label : labels) QVERIFY2(metrics.horizontalAdvance(label) < spacing, qPrintable(label));
    }

    // The longest loan: thinned to what the width can show, its bumps kept.
    void longestWeeklyIsThinned()
    {
        const LoanResult result = run(250000, 7536, engine::TermUnit::Months, engine::PaymentFrequency::Weekly);
        QCOMPARE(result.schedule.rows.size(), size_t(32767));
        BalanceChart balance;
        balance.resize(600, 400);
        balance.show();
        QVERIFY(QTest::qWaitForWindowExposed(&balance));
        balance.setSchedule(result.schedule);
        QCOMPARE(balance.line(0).points.size(), 32768);
        QVERIFY(balance.drawnPointCount(0) > 100 && balance.drawnPointCount(0) <= 4 * 600 + 4);
        const int narrow = balance.drawnPointCount(0);
        balance.resize(1200, 400);
        QVERIFY(balance.drawnPointCount(0) > narrow);
        QList<QPointF> line;
        for (int i = 0; i < 2001; ++i) line.append(QPointF(i, double(2001 - i) + (i % 97 == 50 ? 500.0 : 0.0)));
        const QList<QPointF> kept = BalanceChart::thinned(line, 500);
        QCOMPARE(kept.first(), line.first());
        QCOMPARE(kept.last(), line.last());
        QCOMPARE(std::max_element(kept.begin(), kept.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); })->y(),
                 2001.0 - 50 + 500);
    }

    // The window's views follow each run; looking at them is no change to save.
    void viewsFollowTheRuns()
    {
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        QVERIFY(!h.window->findChild<BalanceChart*>());  // built when first shown
        h.tabs()->setCurrentIndex(6);
        auto* chart = h.w<BalanceChart>("chBalance");
        QCOMPARE(chart->line(0).points.size(), 4);
        h.addPayment(true, QDate(2024, 2, 1), {}, "500");
        h.click("cmdRecalculate");
        QCOMPARE(chart->line(0).points.size(), 4);  // redrawn when shown, not before
        h.tabs()->setCurrentIndex(6);
        QCOMPARE(chart->line(0).points.size(), 3);

        h.window->markUnchanged();
        h.tabs()->setCurrentIndex(2);
        QTest::keyClick(h.window.get(), Qt::Key_Y, Qt::AltModifier);
        QTRY_VERIFY(h.window->showsYearlyTable());
        QCOMPARE(h.row("flxYearly", 0), (QStringList{"2024", "2", "663.34", "336.66", "16.70", "1,016.70", "0.00"}));
        QTest::keyClick(h.window.get(), Qt::Key_P, Qt::AltModifier);
        QTRY_VERIFY(!h.window->showsYearlyTable());
        QVERIFY(!h.window->DataHasChanged());
    }
};

QTEST_MAIN(tst_LoanOverTime)
#include "tst_loanwindow_overtime.moc"
