// Saves the same loans again and again, each time as a new version whose
// description and every extra payment carry the version number, until it is
// killed. Used by the crash-consistency test.
//   crash_saver <store> <first key> <loans> <extra payments> <first version>

#include "LoanStore.h"
#include "SaveTexts.h"

#include <QCoreApplication>
#include <QLocale>

#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (argc != 6)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int firstKey = std::atoi(argv[2]);
    const int loans = std::atoi(argv[3]);
    const int extras = std::atoi(argv[4]);
    int version = std::atoi(argv[5]);

    auto opened = LoanStore::open(path);
    if (auto* error = std::get_if<engine::NumberedError>(&opened)) {
        std::fprintf(stderr, "%s\n", error->text().c_str());
        return 1;
    }
    LoanStore& store = *std::get<std::unique_ptr<LoanStore>>(opened);

    std::printf("ready\n");
    std::fflush(stdout);
    for (;; ++version) {
        for (int key = firstKey; key < firstKey + loans; ++key) {
            LoanSaveTexts loan;
            loan.description = QStringLiteral("v%1").arg(version);
            loan.startDate = QDate(2024, 1, 15);
            loan.origAmount = QString::number(1000 + version);
            loan.interestRate = QStringLiteral("6.5");
            loan.term = QStringLiteral("30");
            loan.termType = 1;
            loan.frequency = 2;
            std::vector<ExtraPaymentTexts> rows(extras);
            for (int i = 0; i < extras; ++i)
                rows[i] = {i % 2 ? QStringLiteral("R") : QStringLiteral("L"), QStringLiteral("2/1/2024"),
                           QStringLiteral("3/1/2025"), QString::number(version)};
            int mode = 1;
            int k = key;
            if (auto error = saveTexts(store, mode, k, loan, rows)) {
                std::fprintf(stderr, "%s\n", error->text().c_str());
                return 1;
            }
        }
    }
}
