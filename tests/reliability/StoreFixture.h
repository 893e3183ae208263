#pragma once

#include "LoanStore.h"
#include "SaveTexts.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <vector>

// Shared by the reliability tests: real store files and sample loans.
void makeStore(const QString& path);
std::unique_ptr<LoanStore> openStore(const QString& path);
QByteArray fileBytes(const QString& path);

// The connection a LoanStore holds on `path`, for injecting faults in SQLite.
QSqlDatabase storeConnection(const QString& path);

LoanSaveTexts sampleLoan(const QString& description);
std::vector<ExtraPaymentTexts> samplePayments(int count, int amount);
