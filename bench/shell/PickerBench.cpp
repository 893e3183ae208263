// File > Open on a store of 100,000 loans: from creating the picker to its
// list shown and painted with the first entry chosen. The goal is under 0.5 s.
// And opening such a store (each loan with two extra payments): the check of
// its layout against the known versions' and SQLite's integrity_check, which
// unlike quick_check compares every index with its table (the two checks
// alone are timed beside it).
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

// A store of `loans` loans, each with `extraPayments` extra payments.
QString filledStore(const QTemporaryDir& dir, int loans, int extraPayments)
{
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    if (auto error = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)))
        qFatal("%s", qPrintable(*error));
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ");
    QStringList filled = rawSql(
        path, numbers.arg(loans) + QStringLiteral(
                  "INSERT INTO tblLoanDetail (Description, OrigAmount, InterestRate, Term, TermType, Frequency, "
                  "StartDate) SELECT 'House on Elm Street, offer ' || i, 250000, 6.5, 30, 1, 2, '2024-01-01' FROM n"));
    filled += rawSql(path, numbers.arg(loans * extraPayments) + QStringLiteral(
                               "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, EndDate, Amount) "
                               "SELECT (i - 1) % %1 + 1, 1, '2025-01-01', '2030-01-01', 100 FROM n").arg(loans));
    if (!filled.isEmpty())
        qFatal("%s", qPrintable(filled.join(u'\n')));
    return path;
}

void BM_PickerWith100000Loans(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = filledStore(dir, int(state.range(0)), 0);
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

void BM_OpenStore(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = filledStore(dir, int(state.range(0)), 2);
    for (auto _ : state)
        if (!std::holds_alternative<std::unique_ptr<LoanStore>>(LoanStore::open(path))) state.SkipWithError("refused");
}

BENCHMARK(BM_OpenStore)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);

// SQLite's checks alone on the same store: 0 quick_check, 1 integrity_check.
void BM_SqliteCheck(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = filledStore(dir, 100000, 2);
    const QString check = state.range(0) ? QStringLiteral("PRAGMA integrity_check") : QStringLiteral("PRAGMA quick_check");
    for (auto _ : state)
        if (rawSql(path, check) != QStringList{QStringLiteral("ok")}) state.SkipWithError("not ok");
}

BENCHMARK(BM_SqliteCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
