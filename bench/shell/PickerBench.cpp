// File > Open on a store of 100,000 loans: from creating the picker to its
// list shown and painted with the first entry chosen. The goal is under 0.5 s.
#include "LoanStore.h"
#include "LoanWindowFactory.h"
#include "LoanWindowFixture.h"
#include "RawStore.h"
#include "ScriptedMessages.h"
#include "StoreFile.h"
#include "frmOpen.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMdiArea>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_PickerWith100000Loans(benchmark::State& state)
{
    const int loans = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    if (auto error = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)))
        qFatal("%s", qPrintable(*error));
    const QStringList filled = rawSql(
        path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                             "INSERT INTO tblLoanDetail (Description, OrigAmount, InterestRate, Term, TermType, "
                             "Frequency, StartDate) SELECT 'House on Elm Street, offer ' || i, 250000, 6.5, 30, 1, "
                             "2, '2024-01-01' FROM n").arg(loans));
    if (!filled.isEmpty())
        qFatal("%s", qPrintable(filled.join(u'\n')));
    auto store = std::move(std::get<std::unique_ptr<LoanStore>>(LoanStore::open(path)));
    ScriptedMessages messages;
    FixedClock clock{QDate(2024, 6, 1)};
    QMdiArea area;
    LoanWindowFactory windows(area, *store, messages, clock);
    int listed = 0;
    for (auto _ : state) {
        frmOpen picker(*store, windows, messages);
        picker.show();
        auto* list = picker.findChild<QAbstractItemView*>(QStringLiteral("lstLoan"));
        list->viewport()->repaint();
        QApplication::processEvents();
        listed = list->model()->rowCount();
        if (!list->currentIndex().isValid())
            state.SkipWithError("no entry chosen");
    }
    state.counters["listed"] = double(listed);
}

BENCHMARK(BM_PickerWith100000Loans)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
