#include "Disclosure.h"
#include "NumberedError.h"
#include "Money.h"
#include "Schedule.h"
#include "Solve.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <stdexcept>

using namespace engine;

namespace {

constexpr Date kFirst{std::chrono::year(2024), std::chrono::January, std::chrono::day(1)};
constexpr Date kToday{std::chrono::year(2024), std::chrono::June, std::chrono::day(1)};

LoanTerms terms(int months, PaymentFrequency frequency)
{
    LoanTerms t;
    t.loanAmount = 250000.0;
    t.annualRatePercent = 6.5;
    t.term = months;
    t.termUnit = TermUnit::Months;
    t.frequency = frequency;
    t.firstPaymentDate = kFirst;
    return t;
}

// The largest term in months whose weekly count still fits 16 bits.
int longestWeeklyTerm()
{
    int months = 1;
    for (;;) {
        try {
            numberOfPayments(terms(months + 1, PaymentFrequency::Weekly));
            ++months;
        } catch (const EngineFailure&) {
            return months;
        }
    }
}

// A lump sum and a repeating payment, so the pending lists are exercised too.
const std::vector<ExtraPayment> kSomeExtras = {
    {ExtraPaymentKind::LumpSum, Date{std::chrono::year(2025), std::chrono::March, std::chrono::day(1)}, {}, 1000.0},
    {ExtraPaymentKind::Repeating, kFirst, Date{std::chrono::year(2030), std::chrono::December, std::chrono::day(31)}, 10.0},
};

void runSchedule(benchmark::State& state, const LoanTerms& loan, const std::vector<ExtraPayment>& extras = {})
{
    std::size_t rows = 0;
    for (auto _ : state) {
        RunOutcome outcome = runLoan(loan, {.extraPayments = extras, .today = kToday});
        const auto* result = std::get_if<ScheduleResult>(&outcome);
        if (!result) {
            state.SkipWithError("run failed");
            return;
        }
        rows = result->rows.size();
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["rows"] = double(rows);
}

void BM_Monthly30Years(benchmark::State& state) { runSchedule(state, terms(360, PaymentFrequency::Monthly)); }
void BM_Weekly30Years(benchmark::State& state) { runSchedule(state, terms(360, PaymentFrequency::Weekly)); }
void BM_Weekly30YearsWithExtras(benchmark::State& state) { runSchedule(state, terms(360, PaymentFrequency::Weekly), kSomeExtras); }
void BM_LongestWeekly(benchmark::State& state)
{
    static const int months = longestWeeklyTerm();
    state.counters["months"] = months;
    runSchedule(state, terms(months, PaymentFrequency::Weekly));
}

// 100 changes spread over the loan: "New payment" to 7 % and "Same payment"
// to 6 % in turn, so both modes and the baseline's copy of them are timed.
std::vector<RateChange> hundredRateChanges(int months)
{
    std::vector<RateChange> changes;
    const long long firstDay = std::chrono::sys_days(kFirst).time_since_epoch().count();
    const long long span = months * 30LL;
    for (int k = 0; k < 100; ++k) {
        const Date from{std::chrono::sys_days(std::chrono::days(firstDay + span * (k + 1) / 101))};
        changes.push_back({from, k % 2 == 0 ? 7.0 : 6.0, k % 2 == 0 ? RateChangeMode::NewPayment
                                                                     : RateChangeMode::SamePayment});
    }
    return changes;
}

void BM_LongestWeeklyHundredRateChanges(benchmark::State& state)
{
    static const int months = longestWeeklyTerm();
    static const std::vector<RateChange> changes = hundredRateChanges(months);
    const LoanTerms loan = terms(months, PaymentFrequency::Weekly);
    const LoanRun run{.rateChanges = changes, .today = kToday};
    std::size_t rows = 0;
    for (auto _ : state) {
        RunOutcome outcome = runLoan(loan, run);
        const auto* result = std::get_if<ScheduleResult>(&outcome);
        if (!result) {
            state.SkipWithError("run refused");
            return;
        }
        rows = result->rows.size();
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["rows"] = double(rows);
}

// The amount financed, the finance charge and the APR over the 32,767
// payments of the longest weekly loan, after its run.
void BM_DisclosureLongestWeekly(benchmark::State& state)
{
    static const int months = longestWeeklyTerm();
    const RunOutcome outcome = runLoan(terms(months, PaymentFrequency::Weekly), {.today = kToday});
    const auto* result = std::get_if<ScheduleResult>(&outcome);
    if (!result) {
        state.SkipWithError("run failed");
        return;
    }
    const LoanCharges charges{.fees = 1500.0, .pointsPercent = 1.0, .loanDate = std::nullopt};
    for (auto _ : state) {
        auto figures = disclosureFigures(*result, charges);
        if (!std::holds_alternative<DisclosureFigures>(figures)) {
            state.SkipWithError("refused");
            return;
        }
        benchmark::DoNotOptimize(figures);
    }
}

// Solving for the rate: a 30-year monthly loan and the longest weekly one.
void BM_SolveRate(benchmark::State& state, double loan, double payment, int payments, int perYear)
{
    for (auto _ : state) {
        auto solved = solveRate(loan, payment, payments, perYear);
        if (!std::holds_alternative<RateSolution>(solved)) {
            state.SkipWithError("no rate");
            return;
        }
        benchmark::DoNotOptimize(solved);
    }
}

void BM_SolveTerm(benchmark::State& state)
{
    LoanTerms loan = terms(1, PaymentFrequency::Weekly);
    loan.termUnit = TermUnit::Years;
    for (auto _ : state) {
        auto solved = solveTerm(loan, 250000.0, 1400.0);
        benchmark::DoNotOptimize(solved);
    }
}

void BM_RoundToCents(benchmark::State& state)
{
    double value = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(roundToCents(value));
        value += 0.0137;
    }
}

BENCHMARK(BM_Monthly30Years)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Weekly30Years)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Weekly30YearsWithExtras)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongestWeekly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongestWeeklyHundredRateChanges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisclosureLongestWeekly)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SolveRate, Monthly30Years, 100000.0, 599.55, 360, 12)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SolveRate, LongestWeekly, 250000.0, 1400.0, 32767, 52)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveTerm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoundToCents);

}  // namespace
