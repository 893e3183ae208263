// Pressing Calculate until the results table has painted, for the weekly
// 30-year loan and for the longest weekly loan that does not overflow.
#include "LoanStore.h"
#include "ScriptedMessages.h"
#include "StoreFile.h"
#include "frmLoan.h"

#include "LoanTerms.h"
#include "Schedule.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<LoanStore> store;
    ScriptedMessages messages;
    FixedClock clock{QDate(2024, 6, 1)};
    std::unique_ptr<frmLoan> window;

    Fixture(int termType, int term)
    {
        const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
        if (auto error = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)))
            qFatal("%s", qPrintable(*error));
        store = std::move(std::get<std::unique_ptr<LoanStore>>(LoanStore::open(path)));
        window = std::make_unique<frmLoan>(*store, messages, clock);
        window->load();
        window->show();
        set("txtLoan", QStringLiteral("Benchmark"));
        window->findChild<QDateEdit*>(QStringLiteral("dtStartDate"))->setDate(QDate(2024, 1, 1));
        window->findChild<QComboBox*>(QStringLiteral("cboppt"))->setCurrentIndex(0);  // Weekly
        set("txtInterestRate", QStringLiteral("6"));
        window->findChild<QComboBox*>(QStringLiteral("cboTerm"))->setCurrentIndex(termType);
        set("txtTerm", QString::number(term));
        set("txtLoanAmount", QStringLiteral("250000"));
        QApplication::processEvents();
    }

    void set(const char* name, const QString& text)
    {
        window->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
    }

    // One press of Calculate, then the user's move to the table, painted.
    int calculateAndPaint()
    {
        window->findChild<QPushButton*>(QStringLiteral("cmdCalculate"))->click();
        tabs()->setCurrentIndex(2);
        auto* table = window->findChild<QTableView*>(QStringLiteral("flxResults"));
        table->viewport()->repaint();
        QApplication::processEvents();
        return table->model()->rowCount();
    }

    QTabWidget* tabs() const { return window->findChild<QTabWidget*>(QStringLiteral("tabLoan")); }
};

// The longest weekly term in months whose run completes without overflow.
int longestWeeklyTermInMonths()
{
    engine::LoanTerms terms;
    terms.loanAmount = 250000.0;
    terms.annualRatePercent = 6.0;
    terms.termType = 0;
    terms.frequency = 0;
    terms.firstPaymentDate = engine::Date{std::chrono::year{2024}, std::chrono::month{1}, std::chrono::day{1}};
    for (int months = 32767 * 12 / 52 + 12; months > 0; --months) {
        terms.term = months;
        try {
            engine::numberOfPayments(terms);  // throws "Overflow" past 32,767 payments
        } catch (const engine::EngineFailure&) {
            continue;
        }
        if (std::holds_alternative<engine::ScheduleResult>(
                engine::calculateSchedule(terms, {}, false, terms.firstPaymentDate)))
            return months;
    }
    return 0;
}

void runCalculate(benchmark::State& state, int termType, int term)
{
    Fixture fixture(termType, term);
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
