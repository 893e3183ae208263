#include "LoanStore.h"

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

QByteArray LoanStore::loanFingerprint(const QByteArray& row, const QByteArray& extraPayments,
                                      const QByteArray& rateChanges, const QByteArray& skippedPayments)
{
    return row + extraPayments + rateChanges + skippedPayments;
}
