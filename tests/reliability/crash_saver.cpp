// Saves the same loans again and again, each time as a new version whose
// description, extra payments and rate change carry the version number, until
// it is killed. Used by the crash-consistency test.
//   crash_saver <store> <first key> <loans> <extra payments> <first version>
#include "CrashLoans.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 6) return 2;
    auto opened = LoanStore::open(QString::fromLocal8Bit(argv[1]));
    if (auto* error = std::get_if<engine::NumberedError>(&opened)) {
        std::fprintf(stderr, "%s\n", error->text().c_str());
        return 1;
    }
    LoanStore& store = *std::get<std::unique_ptr<LoanStore>>(opened);
    const int firstKey = std::atoi(argv[2]);
    const int loans = std::atoi(argv[3]);
    const int extras = std::atoi(argv[4]);
    std::printf("ready\n");
    std::fflush(stdout);
    for (int version = std::atoi(argv[5]);; ++version) {
        for (int key = firstKey; key < firstKey + loans; ++key) {
            int mode = 1, same = key;
            if (auto error = store.saveLoan(mode, same, crashLoan(version),
                                            {crashExtraPayments(version, extras), crashRateChanges(version), {}})) {
                std::fprintf(stderr, "%s\n", error->text().c_str());
                return 1;
            }
        }
    }
}
