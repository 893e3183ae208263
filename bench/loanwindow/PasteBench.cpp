// A 10 MB paste into a box of a loan window inside the main window: the time
// from the paste to the delete question being shown (real message box,
// answered No from a timer), and the CPU the program uses while idle for two
// seconds after it.
#include "LoanStore.h"
#include "LoanWindowFixture.h"
#include "Messages.h"
#include "StoreFile.h"
#include "frmLoan.h"
#include "mdiMain.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <time.h>

namespace {

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void idle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void pasteThenDeleteQuestion(benchmark::State& state, const char* box)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    if (auto error = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE))) qFatal("%s", qPrintable(*error));
    auto store = std::move(std::get<std::unique_ptr<LoanStore>>(LoanStore::open(path)));
    QtMessages messages;
    FixedClock clock{QDate(2024, 6, 1)};
    mdiMain main(*store, messages, clock);
    main.resize(1000, 700);
    main.show();
    const QString huge(10 * 1024 * 1024, QLatin1Char('7'));

    double idleCpu = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        main.fileNew();
        frmLoan* window = main.activeLoan();
        auto* edit = window->findChild<QLineEdit*>(QString::fromLatin1(box));
        edit->setFocus();
        QApplication::clipboard()->setText(huge);
        QApplication::processEvents();
        // Answers every box as soon as it is shown: the refused paste's
        // message with OK, the delete question with No.
        bool asked = false;
        QTimer answerer;
        answerer.setInterval(1);
        QObject::connect(&answerer, &QTimer::timeout, [&asked] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            if (box->standardButtons() & QMessageBox::No) {
                asked = true;
                box->button(QMessageBox::No)->click();
            } else {
                box->button(QMessageBox::Ok)->click();
            }
        });
        answerer.start();
        state.ResumeTiming();

        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QApplication::processEvents();
        main.fileDelete();

        state.PauseTiming();
        answerer.stop();
        if (!asked) state.SkipWithError("the delete question was not shown");
        const double before = processCpuSeconds();
        idle(2000);
        idleCpu = (processCpuSeconds() - before) / 2.0;
        window->markUnchanged();
        main.fileClose();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["idle_cpu_percent"] = idleCpu * 100.0;
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}

void BM_PasteDescriptionThenDelete(benchmark::State& state) { pasteThenDeleteQuestion(state, "txtLoan"); }
void BM_PasteInterestRateThenDelete(benchmark::State& state) { pasteThenDeleteQuestion(state, "txtInterestRate"); }

BENCHMARK(BM_PasteDescriptionThenDelete)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PasteInterestRateThenDelete)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
