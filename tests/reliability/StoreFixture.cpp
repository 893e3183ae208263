#include "StoreFixture.h"

#include <gtest/gtest.h>

#include <QFile>

#include "StoreFile.h"

void makeStore(const QString& path)
{
    if (auto failure = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_PATH)))
        ADD_FAILURE() << "cannot create the store: " << failure->toStdString();
}

std::unique_ptr<LoanStore> openStore(const QString& path)
{
    auto opened = LoanStore::open(path);
    if (auto* error = std::get_if<engine::NumberedError>(&opened)) {
        ADD_FAILURE() << "open failed: " << error->text();
        return nullptr;
    }
    return std::move(std::get<std::unique_ptr<LoanStore>>(opened));
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QSqlDatabase storeConnection(const QString& path)
{
    const QString name = path.section(QLatin1Char('/'), -1);
    for (const QString& connection : QSqlDatabase::connectionNames()) {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        if (db.databaseName().contains(name))
            return db;
    }
    ADD_FAILURE() << "no connection on " << path.toStdString();
    return {};
}

LoanSaveTexts sampleLoan(const QString& description)
{
    LoanSaveTexts loan;
    loan.description = description;
    loan.startDate = QDate(2024, 1, 15);
    loan.origAmount = QStringLiteral("25000");
    loan.interestRate = QStringLiteral("6.5");
    loan.term = QStringLiteral("5");
    loan.termType = 1;
    loan.frequency = 2;
    return loan;
}

std::vector<ExtraPaymentTexts> samplePayments(int count, int amount)
{
    std::vector<ExtraPaymentTexts> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({i % 2 ? QStringLiteral("R") : QStringLiteral("L"), QStringLiteral("2/1/2024"),
                        i % 2 ? QStringLiteral("3/1/2025") : QString(), QString::number(amount)});
    return rows;
}
