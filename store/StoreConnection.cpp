#include "StoreConnection.h"

#include "SqlFailure.h"
#include "StoreLayout.h"
#include "StoredRows.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QStringDecoder>
#include <QUrl>

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
    if (auto refused = checkStoreLayout(db, path)) return *refused;
    QSqlQuery encoding(db);
    if (encoding.exec(QStringLiteral("PRAGMA encoding")) && encoding.next())
        store->m_utf8 = encoding.value(0).toString().compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
    return store;
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
