// The resident memory of the main window's area holding ten stored weekly
// 30-year loans, each opened (and so calculated) as File > Open does, left on
// its first page. The goal is at most 50 MB in all.
#include "LoanStore.h"
#include "LoanWindowFactory.h"
#include "LoanWindowFixture.h"
#include "RawStore.h"
#include "ScriptedMessages.h"
#include "StoreFile.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1 << 20) : 0;
}

void BM_TenWeeklyLoanWindowsMemory(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    if (auto error = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)))
        qFatal("%s", qPrintable(*error));
    const QStringList filled = rawSql(
        path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10) "
                             "INSERT INTO tblLoanDetail (Description, OrigAmount, InterestRate, Term, TermType, "
                             "Frequency, StartDate) SELECT 'Weekly ' || i, 250000, 6, 30, 1, 0, '2024-01-01' FROM n"));
    if (!filled.isEmpty())
        qFatal("%s", qPrintable(filled.join(u'\n')));
    auto store = std::move(std::get<std::unique_ptr<LoanStore>>(LoanStore::open(path)));
    ScriptedMessages messages;
    FixedClock clock{QDate(2024, 6, 1)};
    for (auto _ : state) {
        QMdiArea area;
        area.resize(1280, 960);
        area.show();
        QApplication::processEvents();
        state.counters["start_MB"] = residentMegabytes();
        LoanWindowFactory windows(area, *store, messages, clock);
        for (int key = 1; key <= 10; ++key)
            windows.openLoan(key);
        QApplication::processEvents();
        state.counters["rss_MB"] = residentMegabytes();
        if (area.subWindowList().size() != 10 || !messages.shown().isEmpty())
            state.SkipWithError("the loans did not all open");
    }
}

BENCHMARK(BM_TenWeeklyLoanWindowsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
