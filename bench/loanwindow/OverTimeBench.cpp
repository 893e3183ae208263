// A loan over time, offscreen: switching to the yearly view of the longest
// weekly loan, drawing its balance chart, and refreshing the comparison of
// five loans; each measured until painted.
#include "BalanceChart.h"
#include "CompareModel.h"
#include "CalculateLoan.h"
#include "LocaleText.h"
#include "ResultsModel.h"
#include "YearlyModel.h"
#include "LoanStore.h"
#include "LoanWindowFixture.h"
#include "ScriptedMessages.h"
#include "StoreFile.h"
#include "frmCompare.h"
#include "frmLoan.h"
#include "mdiMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QLocale>
#include <QStackedWidget>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

const QDate kToday(2024, 6, 1);

LoanResult run(const char* amount, int frequency, const char* term, int termType,
               const std::vector<ExtraPaymentRow>& extras = {})
{
    Loan in;
    in.description = QStringLiteral("Loan");
    in.frequency = engine::frequencyAt(frequency);
    in.annualRatePercent = 6.5;
    in.termUnit = termUnitAtPosition(termType);
    in.term = QByteArray(term).toInt();
    in.loanAmount = QByteArray(amount).toDouble();
    in.firstPaymentDate = QDate(2024, 1, 1);
    auto outcome = calculateLoan(in, {extras, {}, {}}, false, kToday);
    if (!std::holds_alternative<LoanResult>(outcome))
        qFatal("run failed");
    return std::get<LoanResult>(std::move(outcome));
}

// 32,767 weekly payments, the most a loan can have.
const LoanResult& longestWeekly()
{
    static const LoanResult result = run("250000", 0, "7536", 0);
    return result;
}

void BM_SwitchToYearlyViewLongestWeekly(benchmark::State& state)
{
    const LoanResult& result = longestWeekly();
    QStackedWidget stack;
    auto* payments = new QTableView(&stack);
    ResultsModel paymentRows;
    paymentRows.setRows(result.schedule.rows, LocaleText::toYmd(kToday));
    payments->setModel(&paymentRows);
    auto* yearly = new QTableView(&stack);
    yearly->setObjectName(QStringLiteral("flxYearly"));
    YearlyModel yearlyRows;
    yearly->setModel(&yearlyRows);
    stack.addWidget(payments);
    stack.addWidget(yearly);
    stack.resize(540, 360);
    stack.show();
    QApplication::processEvents();
    for (auto _ : state) {
        yearlyRows.setRows(result.schedule.rows, LocaleText::toYmd(kToday));
        stack.setCurrentWidget(yearly);
        benchmark::DoNotOptimize(stack.grab());
        state.PauseTiming();
        stack.setCurrentWidget(payments);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["years"] = yearlyRows.rowCount() - 1;
}

void BM_BalanceChartLongestWeekly(benchmark::State& state)
{
    const LoanResult& result = longestWeekly();
    BalanceChart chart;
    chart.resize(540, 360);
    chart.show();
    QApplication::processEvents();
    for (auto _ : state) {
        chart.setSchedule(result.schedule);
        benchmark::DoNotOptimize(chart.grab());
    }
    state.counters["points"] = chart.line(0).points.size() + chart.line(1).points.size();
    state.counters["drawn"] = chart.drawnPointCount(0) + chart.drawnPointCount(1);
}

void BM_CompareFiveLoans(benchmark::State& state)
{
    const ExtraPaymentRow extra{engine::ExtraPaymentKind::Repeating, QDate(2024, 1, 1), QDate(2040, 1, 1), 200.0};
    const LoanResult loans[] = {longestWeekly(), run("250000", 0, "30", 1), run("250000", 2, "30", 1),
                                run("250000", 2, "15", 1), run("250000", 2, "30", 1, {extra})};
    const std::vector<ComparedLoan> compared = {{"Longest", &loans[0]}, {"Weekly 30", &loans[1]},
                                                {"Monthly 30", &loans[2]}, {"Monthly 15", &loans[3]},
                                                {"With extras", &loans[4]}};
    frmCompare window;
    window.show();
    window.refresh(compared);
    QApplication::processEvents();
    for (auto _ : state) {
        window.refresh(compared);
        benchmark::DoNotOptimize(window.grab());
    }
    state.counters["loans"] = double(compared.size());
}

// Through the main window: five loan windows run, the comparison open; one
// loan's run reported (resultsChanged, as Calculate ends) until the
// comparison is painted again.
void BM_CompareAfterRunMainWindow(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    if (auto error = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)))
        qFatal("%s", qPrintable(*error));
    auto store = std::move(std::get<std::unique_ptr<LoanStore>>(LoanStore::open(path)));
    ScriptedMessages messages;
    FixedClock clock{kToday};
    mdiMain main(*store, messages, clock);
    main.resize(1000, 800);
    main.show();
    const char* const terms[] = {"7536", "30", "30", "15", "10"};
    const int units[] = {0, 1, 1, 1, 1};
    const int frequencies[] = {0, 0, 2, 2, 2};
    for (int i = 0; i < 5; ++i) {
        main.fileNew();
        frmLoan* loan = main.activeLoan();
        loan->findChild<QLineEdit*>(QStringLiteral("txtLoan"))->setText(QStringLiteral("Loan %1").arg(i + 1));
        loan->findChild<QComboBox*>(QStringLiteral("cboppt"))->setCurrentIndex(frequencies[i]);
        loan->findChild<QComboBox*>(QStringLiteral("cboTerm"))->setCurrentIndex(units[i]);
        loan->findChild<QLineEdit*>(QStringLiteral("txtInterestRate"))->setText(QStringLiteral("6.5"));
        loan->findChild<QLineEdit*>(QStringLiteral("txtTerm"))->setText(QString::fromLatin1(terms[i]));
        loan->findChild<QLineEdit*>(QStringLiteral("txtLoanAmount"))->setText(QStringLiteral("250000"));
        loan->findChild<QPushButton*>(QStringLiteral("cmdCalculate"))->click();
    }
    frmLoan* last = main.activeLoan();
    main.findChild<QAction*>(QStringLiteral("mnuWindowCompare"))->trigger();
    auto* compare = main.findChild<frmCompare*>(QStringLiteral("frmCompare"));
    compare->parentWidget()->resize(700, 640);
    QApplication::processEvents();
    for (auto _ : state) {
        emit last->resultsChanged();
        benchmark::DoNotOptimize(compare->grab());
    }
    state.counters["loans"] = compare->model()->columnCount();
}

BENCHMARK(BM_SwitchToYearlyViewLongestWeekly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BalanceChartLongestWeekly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareFiveLoans)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareAfterRunMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
