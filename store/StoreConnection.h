#pragma once

#include "NumberedError.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <optional>
#include <variant>

struct sqlite3;

// The one SQLite connection on a store file, opened read-write on an existing
// file whose layout is the program's, and removed when it goes.
class StoreConnection {
public:
    // A missing or empty file, a file that is not a database, one whose
    // layout is not that of a version the program knows (StoreVersions), or a
    // damaged one (SQLite's integrity_check) is an error whose text says so;
    // the file is never created.
    static std::variant<std::unique_ptr<StoreConnection>, engine::NumberedError> open(const QString& path);

    ~StoreConnection();
    StoreConnection(const StoreConnection&) = delete;
    StoreConnection& operator=(const StoreConnection&) = delete;

    const QString& path() const { return m_path; }
    QSqlDatabase database() const;

    // An error when the file at path() is no longer the one that was opened
    // (removed or replaced while the program runs): SQLite would otherwise go on
    // reading and writing the orphaned file and report success.
    std::optional<engine::NumberedError> checkFile() const;

    // The store's version as it stands now: its layout is checked again
    // whenever SQLite's schema_version says that the schema has changed since
    // the last check (another program may have upgraded the store, or added
    // what this one refuses, since it was opened).
    std::variant<int, engine::NumberedError> version() const;

    // A read-only query on the store, run with its values bound; `doing` names
    // the failure.
    std::variant<QSqlQuery, engine::NumberedError> select(const QString& statement, const QVariantList& values,
                                                          const QString& doing) const;

    // The same on its first row; an error numbered NoCurrentRecord when it has none.
    std::variant<QSqlQuery, engine::NumberedError> selectRow(const QString& statement, const QVariantList& values,
                                                             const QString& doing) const;

    // A stored text exactly, or nothing when its bytes are not text.
    std::optional<QString> exactText(const QVariant& value, const QVariant& type, const QVariant& bytes) const;

private:
    StoreConnection(QString connectionName, QString path);

    QString m_connectionName;
    QString m_path;
    sqlite3* m_sqlite = nullptr;  // SQLite's own handle under Qt's connection
    bool m_utf8 = true;           // the file keeps its texts in UTF-8
    mutable std::optional<int> m_version;
    mutable std::optional<int> m_schemaVersion;  // when m_version was found
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
};
