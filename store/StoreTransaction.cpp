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
    // A store in WAL mode keeps a change in its -wal file until a checkpoint:
    // copying the .mdb file alone, as a backup, would miss it. (Nothing to do
    // in the rollback-journal mode; the change is committed either way.)
    QSqlQuery checkpoint(m_db);
    checkpoint.exec(QStringLiteral("PRAGMA wal_checkpoint(FULL)"));
    return true;
}
