// The comparison window as the main window drives it: loans opened, run,
// renamed and closed, each followed by a refresh with every loan window.
#include "BalanceChart.h"
#include "CalculateLoan.h"
#include "CompareModel.h"
#include "frmCompare.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QTableView>
#include <QTest>

namespace {

LoanResult run(const char* amount, const char* years)
{
    const LoanInputs in{QStringLiteral("Loan"), 2, QStringLiteral("6"), 1, QString::fromLatin1(years),
                        QString::fromLatin1(amount), QString(), QDate(2024, 1, 15)};
    auto outcome = calculateLoan(in, {}, false, QDate(2024, 1, 1));
    if (!std::holds_alternative<LoanResult>(outcome))
        qFatal("run failed");
    return std::get<LoanResult>(std::move(outcome));
}

QStringList headings(const QTableView& table)
{
    QStringList found;
    for (int c = 0; c < table.model()->columnCount(); ++c)
        found << table.model()->headerData(c, Qt::Horizontal).toString();
    return found;
}

QStringList row(const QTableView& table, CompareRow r)
{
    QStringList found;
    for (int c = 0; c < table.model()->columnCount(); ++c)
        found << table.model()->index(int(r), c).data().toString();
    return found;
}

}  // namespace

class tst_Compare : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void followsTheLoanWindows()
    {
        const LoanResult house15 = run("200000", "15");
        const LoanResult house30 = run("200000", "30");
        const LoanResult car = run("20000", "5");
        frmCompare window;
        QCOMPARE(window.objectName(), QString("frmCompare"));
        QCOMPARE(window.windowTitle(), QString("Compare Loans"));
        auto* table = window.findChild<QTableView*>("flxCompare");
        QVERIFY(table);
        QCOMPARE(table->model(), window.model());
        QAbstractItemModelTester tester(table->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        struct Step { const char* name; std::vector<ComparedLoan> loans; QStringList captions, payoff;
                      int lines; };
        const Step steps[] = {
            {"threeOpened", {{"Untitled", nullptr}, {"Untitled", nullptr}, {"Untitled", nullptr}},
             {"Untitled", "Untitled", "Untitled"}, {"", "", ""}, 0},
            {"firstRun", {{"House 15", &house15}, {"Untitled", nullptr}, {"Untitled", nullptr}},
             {"House 15", "Untitled", "Untitled"}, {"12/15/2038", "", ""}, 1},
            {"allRun", {{"House 15", &house15}, {"House 30", &house30}, {"Car", &car}},
             {"House 15", "House 30", "Car"}, {"12/15/2038", "12/15/2053", "12/15/2028"}, 3},
            {"renamed", {{"Fifteen", &house15}, {"House 30", &house30}, {"Car", &car}},
             {"Fifteen", "House 30", "Car"}, {"12/15/2038", "12/15/2053", "12/15/2028"}, 3},
            {"middleClosed", {{"Fifteen", &house15}, {"Car", &car}}, {"Fifteen", "Car"},
             {"12/15/2038", "12/15/2028"}, 2},
            {"allClosed", {}, {}, {}, 0},
        };
        for (const Step& step : steps) {
            window.refresh(step.loans);
            QVERIFY2(headings(*table) == step.captions, step.name);
            QVERIFY2(row(*table, CompareRow::PayoffDate) == step.payoff, step.name);
            QVERIFY2(window.chart()->lineCount() == step.lines, step.name);
            for (int line = 0; line < step.lines; ++line)
                QVERIFY2(step.captions.contains(window.chart()->line(line).name), step.name);
            for (int c = 0; c < int(step.loans.size()); ++c)
                if (!step.loans[size_t(c)].result)
                    QCOMPARE(table->model()->index(0, c).data().toString(), QString("Not calculated"));
        }

        // The car costs least and ends first: each of its marks, and only its.
        window.refresh({{"House 15", &house15}, {"House 30", &house30}, {"Car", &car}});
        for (CompareRow r : {CompareRow::PayoffDate, CompareRow::TotalInterest, CompareRow::TotalPaid}) {
            QList<bool> best;
            for (int c = 0; c < 3; ++c)
                best << table->model()->index(int(r), c).data(CompareModel::BestRole).toBool();
            QCOMPARE(best, (QList<bool>{false, false, true}));
        }

        // Ctrl+C copies the table with its captions and its row headings.
        table->setFocus();
        table->selectAll();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 14);
        QCOMPARE(lines[0].split(QLatin1Char('\t')), (QStringList{"", "House 15", "House 30", "Car"}));
        QCOMPARE(lines[1].split(QLatin1Char('\t')), (QStringList{"Loan Amount", "$200,000.00", "$200,000.00", "$20,000.00"}));
        QCOMPARE(lines[13].split(QLatin1Char('\t')).first(), QString("Payments Saved"));
    }
};

QTEST_MAIN(tst_Compare)
#include "tst_compare.moc"
