#include "LoanStore.h"

#include "LoanReading.h"
#include "LoanSaving.h"
#include "StoreConnection.h"
#include "StoredRows.h"

LoanStore::LoanStore(std::unique_ptr<StoreConnection> connection) : m_connection(std::move(connection)) {}

LoanStore::~LoanStore() = default;

std::variant<std::unique_ptr<LoanStore>, engine::NumberedError> LoanStore::open(const QString& path)
{
    auto opened = StoreConnection::open(path);
    if (auto* error = std::get_if<engine::NumberedError>(&opened)) return std::move(*error);
    return std::unique_ptr<LoanStore>(new LoanStore(std::move(std::get<std::unique_ptr<StoreConnection>>(opened))));
}

QString LoanStore::path() const
{
    return m_connection->path();
}

LoanList LoanStore::listLoans() const
{
    return LoanReading::listLoans(*m_connection);
}

std::variant<LoanRecord, engine::NumberedError> LoanStore::readLoan(int key) const
{
    return LoanReading::readLoan(*m_connection, key);
}

ExtraPaymentList LoanStore::readExtraPayments(int key) const
{
    return LoanReading::readExtraPayments(*m_connection, key);
}

RateChangeList LoanStore::readRateChanges(int key) const
{
    return LoanReading::readRateChanges(*m_connection, key);
}

SkippedPaymentList LoanStore::readSkippedPayments(int key) const
{
    return LoanReading::readSkippedPayments(*m_connection, key);
}

QByteArray LoanStore::loanFingerprint(const QByteArray& row, const QByteArray& extraPayments,
                                      const QByteArray& rateChanges, const QByteArray& skippedPayments)
{
    return row + extraPayments + rateChanges + skippedPayments;
}

std::optional<engine::NumberedError> LoanStore::saveLoan(int& mode, int& key, const Loan& loan, const LoanRows& rows,
                                                         SaveCheck* check)
{
    return LoanSaving::saveLoan(*m_connection, mode, key, loan, rows, check);
}

std::optional<engine::NumberedError> LoanStore::deleteLoan(int key, SaveCheck* check)
{
    return LoanSaving::deleteLoan(*m_connection, key, check);
}
