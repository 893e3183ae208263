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

// The one SQLite connection on a store file, opened read-write on an existing
// file whose layout is the program's, and removed when it goes.
class StoreConnection {
public:
    // A missing or empty file, a file that is not a database, one without
    // both tables, a damaged one or one with more than the program's own
    // schema is an error whose text says so; the file is never created.
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

    // The store's version as it stands now (another program may have
    // upgraded it since it was opened); a newer one than this program's is
    // an error, `doing` names a failure to read it.
    std::variant<int, engine::NumberedError> version(const QString& doing) const;

    // A read-only query on the store, run with its values bound; `doing` names
    // the failure.
    std::variant<QSqlQuery, engine::NumberedError> select(const QString& statement, const QVariantList& values,
                                                          const QString& doing) const;

    // A stored text exactly, or nothing when its bytes are not text.
    std::optional<QString> exactText(const QVariant& value, const QVariant& type, const QVariant& bytes) const;

private:
    StoreConnection(QString connectionName, QString path);

    QString m_connectionName;
    QString m_path;
    bool m_utf8 = true;  // the file keeps its texts in UTF-8
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
};
