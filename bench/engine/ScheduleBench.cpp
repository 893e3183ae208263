#include "NumberedError.h"
#include "Money.h"
#include "Schedule.h"

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
        ScheduleOutcome outcome = calculateSchedule(loan, extras, false, kToday);
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
BENCHMARK(BM_RoundToCents);

}  // namespace
