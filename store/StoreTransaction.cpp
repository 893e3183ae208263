#include "StoreTransaction.h"

#include <QSqlQuery>

StoreTransaction::StoreTransaction(QSqlDatabase db) : m_db(std::move(db))
{
    QSqlQuery begin(m_db);
    m_open = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!m_open) m_error = begin.lastError();
}

StoreTransaction::~StoreTransaction()
{
    if (m_open) m_db.rollback();
}

bool StoreTransaction::commit()
{
    if (!m_db.commit()) return false;
    m_open = false;
    return true;
}
