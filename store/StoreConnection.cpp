#include "StoreConnection.h"

#include "SqlFailure.h"
#include "StoreLayout.h"
#include "StoreSchema.h"
#include "StoreUpgrade.h"
#include "StoredRows.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QStringDecoder>
#include <QStringList>
#include <QSqlDriver>
#include <QUrl>

#include <sqlite3.h>
#include <sys/stat.h>

using SqlFailure::numbered;

namespace {

// The file's identity, so a store can tell when its path points elsewhere.
bool fileIdentity(const QString& path, unsigned long long& device, unsigned long long& inode)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return false;
    device = info.st_dev;
    inode = info.st_ino;
    return true;
}

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("brimvale-store-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

// SQLite's own defences for a file from an unknown source: functions with side
// effects never run from the file's schema (trusted_schema), each cell's size
// is checked against its page (cell_size_check), and with the defensive flag
// no statement can write the schema or the file's internals directly. Qt's
// driver has no option for the flag, so it is set on SQLite's own handle;
// the program links the SQLite library that Qt's driver uses, and touches
// the handle only when the two are the same build.
bool harden(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA trusted_schema = OFF")) ||
        !query.exec(QStringLiteral("PRAGMA cell_size_check = ON")))
        return false;
    if (!query.exec(QStringLiteral("SELECT sqlite_source_id()")) || !query.next() ||
        query.value(0).toString() != QLatin1String(sqlite3_sourceid()))
        return false;
    query.finish();
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return false;
    auto* sqlite = *static_cast<sqlite3* const*>(handle.constData());
    int on = 0;
    return sqlite && sqlite3_db_config(sqlite, SQLITE_DBCONFIG_DEFENSIVE, 1, &on) == SQLITE_OK && on == 1;
}

// SQLite's check of the file's structure, before anything is read or written
// through it: a damaged file is refused with what the check found.
std::optional<engine::NumberedError> quickCheck(QSqlDatabase& db, const QString& path)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA quick_check(3)")))
        return SqlFailure::whileDoing(query.lastError(), QStringLiteral("The store %1 cannot be checked").arg(path));
    QStringList found;
    while (query.next()) found << query.value(0).toString().simplified().left(200);
    if (auto stopped = SqlFailure::stoppedEarly(query, QStringLiteral("The store %1 cannot be checked").arg(path)))
        return stopped;
    if (found == QStringList{QStringLiteral("ok")}) return std::nullopt;
    return numbered(SqlFailure::Damaged,
                    QStringLiteral("The store %1 is not opened: the store file is damaged (SQLite's check found: %2). "
                                   "Nothing in it was changed; restore it from a backup copy.")
                        .arg(path, found.join(QStringLiteral("; "))));
}

}  // namespace

StoreConnection::StoreConnection(QString connectionName, QString path)
    : m_connectionName(std::move(connectionName)), m_path(std::move(path))
{
}

StoreConnection::~StoreConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isValid()) db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase StoreConnection::database() const
{
    return QSqlDatabase::database(m_connectionName);
}

std::optional<engine::NumberedError> StoreConnection::checkFile() const
{
    unsigned long long device = 0;
    unsigned long long inode = 0;
    if (!fileIdentity(m_path, device, inode))
        return numbered(SqlFailure::FileMoved, QStringLiteral("The store file %1 is no longer there; it was removed "
                                                              "or moved while the program ran.").arg(m_path));
    if (device != m_device || inode != m_inode)
        return numbered(SqlFailure::FileMoved, QStringLiteral("The store file %1 was replaced by another file while "
                                                              "the program ran.").arg(m_path));
    return std::nullopt;
}

std::variant<std::unique_ptr<StoreConnection>, engine::NumberedError> StoreConnection::open(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return numbered(SqlFailure::CannotOpen, QStringLiteral("The store file %1 does not exist.").arg(path));
    if (!info.isFile())
        return numbered(SqlFailure::CannotOpen, QStringLiteral("The store %1 is not a file.").arg(path));
    // SQLite would take an empty file for a new database without tables.
    if (info.size() == 0)
        return numbered(SqlFailure::NotADatabase,
                        QStringLiteral("The store %1 is not a Brimvale database: the file is empty (0 bytes).").arg(path));

    const QString name = nextConnectionName();
    // From here on the connection owns its name and removes it when it goes.
    std::unique_ptr<StoreConnection> store(new StoreConnection(name, path));
    if (!fileIdentity(path, store->m_device, store->m_inode))
        return numbered(SqlFailure::CannotOpen, QStringLiteral("The store file %1 does not exist.").arg(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!db.isValid())
        return numbered(SqlFailure::CannotOpen,
                        QStringLiteral("The SQLite driver for the store %1 is missing.").arg(path));

    // mode=rw: open an existing file only, never create one. The path is
    // percent-encoded so names with '?', '#' or '%' stay one path.
    const QString uri = QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) +
                        QStringLiteral("?mode=rw");
    db.setDatabaseName(uri);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open())
        return SqlFailure::whileDoing(db.lastError(), QStringLiteral("The store %1 cannot be opened").arg(path));
    if (!harden(db))
        return numbered(SqlFailure::CannotOpen, QStringLiteral("The store %1 is not opened: SQLite's defences against "
                                                               "damaged or hostile files cannot be switched on.")
                                                    .arg(path));
    // A newer program's store may hold what this one would lose or break on
    // its first save: it is refused before anything else is read.
    auto version = readStoreVersion(db, path);
    if (auto* error = std::get_if<engine::NumberedError>(&version)) return *error;
    const int storeVersion = std::get<int>(version);
    if (storeVersion > StoreSchema::kStoreVersion || storeVersion < 0)
        return StoreUpgrade::newerStore(path, storeVersion);
    if (auto refused = checkStoreLayout(db, path, storeVersion)) return *refused;
    if (auto damaged = quickCheck(db, path)) return *damaged;
    if (auto refused = StoreSchema::checkOwnSchema(db, path, storeVersion)) return *refused;
    QSqlQuery encoding(db);
    if (encoding.exec(QStringLiteral("PRAGMA encoding")) && encoding.next())
        store->m_utf8 = encoding.value(0).toString().compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
    return store;
}

std::variant<int, engine::NumberedError> StoreConnection::version(const QString& doing) const
{
    auto version = StoreUpgrade::storeVersion(database(), doing);
    if (const int* found = std::get_if<int>(&version); found && (*found > StoreSchema::kStoreVersion || *found < 0))
        return StoreUpgrade::newerStore(m_path, *found);
    return version;
}

std::variant<QSqlQuery, engine::NumberedError> StoreConnection::select(const QString& statement,
                                                                       const QVariantList& values,
                                                                       const QString& doing) const
{
    if (auto moved = checkFile()) return *moved;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!StoredRows::run(query, statement, values)) return SqlFailure::whileDoing(query.lastError(), doing);
    return query;
}

std::optional<QString> StoreConnection::exactText(const QVariant& value, const QVariant& type,
                                                  const QVariant& bytes) const
{
    const QString kind = type.toString();
    if (kind == QLatin1String("integer") || kind == QLatin1String("real") || (kind == QLatin1String("text") && !m_utf8))
        return value.toString();
    // Text or binary data: only bytes that are text in full are taken, so
    // nothing is replaced on the way.
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    const QString text = utf8.decode(bytes.toByteArray());
    if (utf8.hasError()) return std::nullopt;
    return text;
}
