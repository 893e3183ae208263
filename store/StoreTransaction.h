#pragma once

#include <QSqlDatabase>
#include <QSqlError>

// Rolls back unless committed, so every early return leaves the store as it
// was; a commit ends with a checkpoint, so the .mdb file holds the change.
// IMMEDIATE: the write lock is taken at once, so what a save checks of the
// stored loan cannot change before it writes.
class StoreTransaction {
public:
    explicit StoreTransaction(QSqlDatabase db);
    ~StoreTransaction();
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    bool started() const { return m_open; }
    QSqlError error() const { return m_error; }
    bool commit();

private:
    QSqlDatabase m_db;
    bool m_open = false;
    QSqlError m_error;
};
