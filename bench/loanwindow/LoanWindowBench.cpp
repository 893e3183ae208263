// Pressing Calculate until the results table has painted, for the weekly
// 30-year loan and for the longest weekly loan that does not overflow.
#include "LoanWindowFixture.h"

#include "LoanTerms.h"
#include "Schedule.h"

#include <QApplication>
#include <QTabWidget>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

// The longest weekly term in months whose run completes without overflow.
int longestWeeklyTermInMonths()
{
    engine::LoanTerms terms;
    terms.loanAmount = 250000.0;
    terms.annualRatePercent = 6.0;
    terms.termUnit = engine::TermUnit::Months;
    terms.frequency = engine::PaymentFrequency::Weekly;
    terms.firstPaymentDate = engine::Date{std::chrono::year{2024}, std::chrono::month{1}, std::chrono::day{1}};
    for (int months = 32767 * 12 / 52 + 12; months > 0; --months) {
        terms.term = months;
        try {
            engine::numberOfPayments(terms);  // throws "Overflow" past 32,767 payments
        } catch (const engine::EngineFailure&) {
            continue;
        }
        if (std::holds_alternative<engine::ScheduleResult>(engine::runLoan(terms, {})))
            return months;
    }
    return 0;
}

void runCalculate(benchmark::State& state, int termType, int term)
{
    LoanWindowFixture fixture(termType, term);
    int rows = fixture.calculateAndPaint();  // warm-up: first layout and fonts
    fixture.tabs()->setCurrentIndex(0);
    if (!fixture.messages.shown().isEmpty()) {
        state.SkipWithError(qPrintable(fixture.messages.shown().first().text));
        return;
    }
    // Each press must really run: count the model resets it causes.
    auto* model = fixture.window->findChild<QTableView*>(QStringLiteral("flxResults"))->model();
    int resets = 0;
    QObject::connect(model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    for (auto _ : state) {
        rows = fixture.calculateAndPaint();
        state.PauseTiming();
        fixture.tabs()->setCurrentIndex(0);  // back to the button
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["runs_per_press"] = double(resets) / double(state.iterations());
    state.counters["term"] = term;
}

void BM_CalculateWeekly30Years(benchmark::State& state)
{
    runCalculate(state, 1, 30);
}

void BM_CalculateLongestWeekly(benchmark::State& state)
{
    static const int months = longestWeeklyTermInMonths();
    runCalculate(state, 0, months);
}

BENCHMARK(BM_CalculateWeekly30Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateLongestWeekly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
