#include "StoreConnection.h"

#include "SqlFailure.h"
#include "StoreVersions.h"
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
// the handle (here and to read the store's layout) only when the two are the
// same build. Returns the handle, or nothing.
sqlite3* harden(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA trusted_schema = OFF")) ||
        !query.exec(QStringLiteral("PRAGMA cell_size_check = ON")))
        return nullptr;
    if (!query.exec(QStringLiteral("SELECT sqlite_source_id()")) || !query.next() ||
        query.value(0).toString() != QLatin1String(sqlite3_sourceid()))
        return nullptr;
    query.finish();
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    auto* sqlite = *static_cast<sqlite3* const*>(handle.constData());
    int on = 0;
    if (!sqlite || sqlite3_db_config(sqlite, SQLITE_DBCONFIG_DEFENSIVE, 1, &on) != SQLITE_OK || on != 1) return nullptr;
    return sqlite;
}

// SQLite's check of the whole file, before anything is read or written
// through it: a damaged file is refused with what the check found. Not
// quick_check: an index that disagrees with its table passes that, and a save
// would then delete the extra payments the index points to, another loan's.
std::optional<engine::NumberedError> integrityCheck(QSqlDatabase& db, const QString& path)
{
    const QString doing = QStringLiteral("The store %1 cannot be checked").arg(path);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    QStringList found;
    if (query.exec(QStringLiteral("PRAGMA integrity_check(3)")))
        while (query.next()) found << query.value(0).toString().simplified().left(200);
    if (auto failed = SqlFailure::stoppedEarly(query, doing)) {
        // A page so damaged that the check itself stops.
        if ((failed->number & 0xff) != SqlFailure::Damaged) return failed;
        found = QStringList{query.lastError().databaseText()};
    }
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
    store->m_sqlite = harden(db);
    if (!store->m_sqlite)
        return numbered(SqlFailure::CannotOpen, QStringLiteral("The store %1 is not opened: SQLite's defences against "
                                                               "damaged or hostile files cannot be switched on.")
                                                    .arg(path));
    // The layout first: what the file holds is known before SQLite's check
    // reads every row of it.
    auto version = store->version();
    if (auto* error = std::get_if<engine::NumberedError>(&version)) return *error;
    if (auto damaged = integrityCheck(db, path)) return *damaged;
    QSqlQuery encoding(db);
    if (encoding.exec(QStringLiteral("PRAGMA encoding")) && encoding.next())
        store->m_utf8 = encoding.value(0).toString().compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
    return store;
}

std::variant<int, engine::NumberedError> StoreConnection::version() const
{
    std::optional<int> schemaVersion;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_sqlite, "PRAGMA schema_version", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        schemaVersion = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    if (m_version && schemaVersion && schemaVersion == m_schemaVersion) return *m_version;
    auto found = StoreVersions::identify(m_sqlite, m_path);
    m_version.reset();
    if (const int* version = std::get_if<int>(&found)) {
        m_version = *version;
        m_schemaVersion = schemaVersion;
    }
    return found;
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

std::variant<QSqlQuery, engine::NumberedError> StoreConnection::selectRow(const QString& statement,
                                                                          const QVariantList& values,
                                                                          const QString& doing) const
{
    auto selected = select(statement, values, doing);
    if (auto* query = std::get_if<QSqlQuery>(&selected); query && !query->next()) {
        if (auto stopped = SqlFailure::stoppedEarly(*query, doing)) return *stopped;
        return SqlFailure::noCurrentRecord();
    }
    return selected;
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
