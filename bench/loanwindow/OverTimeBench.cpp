// A loan over time, offscreen: switching to the yearly view of the longest
// weekly loan, drawing its balance chart, and refreshing the comparison of
// five loans; each measured until painted.
#include "BalanceChart.h"
#include "CalculateLoan.h"
#include "LocaleText.h"
#include "ResultsModel.h"
#include "YearlyModel.h"
#include "frmCompare.h"

#include <QApplication>
#include <QLocale>
#include <QStackedWidget>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

const QDate kToday(2024, 6, 1);

LoanResult run(const char* amount, int frequency, const char* term, int termType,
               const std::vector<ExtraPaymentRow>& extras = {})
{
    const LoanInputs in{QStringLiteral("Loan"), frequency, QStringLiteral("6.5"), termType,
                        QString::fromLatin1(term), QString::fromLatin1(amount), QString(), QDate(2024, 1, 1)};
    auto outcome = calculateLoan(in, extras, false, kToday);
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

BENCHMARK(BM_SwitchToYearlyViewLongestWeekly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BalanceChartLongestWeekly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareFiveLoans)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
