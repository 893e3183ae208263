#include "LoanStore.h"

#include "StoreValues.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <cmath>
#include <limits>

#include <sys/stat.h>

using namespace StoreValues;

namespace {

constexpr int kNoCurrentRecord = StoreErrorNumber::NoCurrentRecord;
constexpr int kOverflow = StoreErrorNumber::Overflow;
constexpr int kNotADatabase = 26;  // SQLITE_NOTADB
constexpr int kCannotOpen = 14;    // SQLITE_CANTOPEN
constexpr int kSqlFailure = 1;     // SQLITE_ERROR, when the driver gives no number
constexpr int kFileMoved = 1032;   // SQLITE_READONLY_DBMOVED

const QString kNoCurrentRecordText = QStringLiteral(
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
    "requires a current record.");

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

// What the user can make of SQLite's failures, by its (extended) result code.
QString plainCause(int code)
{
    switch (code) {
    case 776:  // SQLITE_READONLY_ROLLBACK
    case 264:  // SQLITE_READONLY_RECOVERY
        return QStringLiteral("a save that was cut off (by a crash or power loss) must first be undone, but the "
                              "store file or its folder cannot be written");
    case 1288:  // SQLITE_READONLY_DIRECTORY
        return QStringLiteral("the folder that holds the store file cannot be written");
    }
    switch (code & 0xff) {
    case 3:   // SQLITE_PERM
    case 23:  // SQLITE_AUTH
        return QStringLiteral("permission to use the store file was refused");
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return QStringLiteral("another program is using the store file; try again when it has finished");
    case 8:  // SQLITE_READONLY
        return QStringLiteral("the store file cannot be written: the file or its folder is read-only");
    case 10:  // SQLITE_IOERR
        return QStringLiteral("the store file or its folder cannot be read or written (the folder may be "
                              "read-only, or the disk failing)");
    case 11:  // SQLITE_CORRUPT
        return QStringLiteral("the store file is damaged");
    case 13:  // SQLITE_FULL
        return QStringLiteral("the disk is full");
    case 14:  // SQLITE_CANTOPEN: also the journal that a change needs beside the file
        return QStringLiteral("the store file cannot be opened, or the folder that holds it cannot be written");
    case 26:  // SQLITE_NOTADB
        return QStringLiteral("the file is not a database");
    }
    return {};
}

// The driver's own error number where it has one, with the cause in plain
// words; SQLite's "full" becomes the program's own disk-full number, as its 13
// is the program's type mismatch.
StoreError sqlFailure(const QSqlError& error)
{
    bool numeric = false;
    const int native = error.nativeErrorCode().toInt(&numeric);
    int number = numeric && native != 0 ? native : kSqlFailure;
    QString detail = error.databaseText().trimmed();
    if (detail.isEmpty()) detail = error.driverText().trimmed();
    if (detail.isEmpty()) detail = QStringLiteral("unknown store failure");
    const QString cause = plainCause(number);
    if ((number & 0xff) == 13) number = StoreErrorNumber::DiskFull;
    return {number, cause.isEmpty() ? detail : cause + QStringLiteral(" (") + detail + QLatin1Char(')')};
}

StoreError sqlError(const QSqlError& error, const QString& doing)
{
    StoreError failure = sqlFailure(error);
    failure.description = doing + QStringLiteral(": ") + failure.description;
    return failure;
}

// A query that ended: an error when it stopped on a failure instead of after its last row.
std::optional<StoreError> stoppedEarly(const QSqlQuery& query, const QString& doing)
{
    if (query.lastError().type() == QSqlError::NoError) return std::nullopt;
    return sqlError(query.lastError(), doing);
}

// One value into a fingerprint, its kind included, so 1, 1.0 and '1' differ.
void addValue(QCryptographicHash& hash, const QVariant& value)
{
    QByteArray part;
    if (value.isNull()) {
        part = "n";
    } else {
        switch (value.typeId()) {
        case QMetaType::QByteArray: part = "b" + value.toByteArray(); break;
        case QMetaType::Double: part = "d" + QByteArray::number(value.toDouble(), 'g', 17); break;
        case QMetaType::LongLong:
        case QMetaType::Int: part = "i" + QByteArray::number(value.toLongLong()); break;
        default: part = "t" + value.toString().toUtf8(); break;
        }
    }
    hash.addData(QByteArray::number(part.size()) + ':' + part);
}

void addRow(QCryptographicHash& hash, const QSqlQuery& query, int columns)
{
    for (int column = 0; column < columns; ++column) addValue(hash, query.value(column));
}

// The statements a loan is read with; a save compares the stored loan through the same ones.
const QString kReadLoan = QStringLiteral(
    "SELECT Description, OrigAmount, InterestRate, Term, StartDate, TermType, Frequency, typeof(Description), "
    "CAST(Description AS BLOB) FROM tblLoanDetail WHERE SeqNo = ?");
constexpr int kReadLoanColumns = 9;
const QString kReadExtraPayments = QStringLiteral(
    "SELECT PaymentType, StartDate, EndDate, Amount FROM tblExtraPayments WHERE Loan_FK = ? ORDER BY rowid");
constexpr int kReadExtraPaymentsColumns = 4;

// Runs a prepared statement with its values bound in order.
bool run(QSqlQuery& query, const QString& statement, const QVariantList& values)
{
    if (!query.prepare(statement)) return false;
    for (const QVariant& value : values) query.addBindValue(value);
    return query.exec();
}

// Rolls back unless committed, so every early return leaves the store as it was.
// IMMEDIATE: the write lock is taken at once, so what a save checks of the
// stored loan cannot change before it writes.
class Transaction {
public:
    explicit Transaction(QSqlDatabase db) : m_db(std::move(db))
    {
        QSqlQuery begin(m_db);
        m_open = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
        if (!m_open) m_error = begin.lastError();
    }
    ~Transaction()
    {
        if (m_open) m_db.rollback();
    }
    bool started() const { return m_open; }
    QSqlError error() const { return m_error; }
    bool commit()
    {
        if (!m_db.commit()) return false;
        m_open = false;
        return true;
    }

private:
    QSqlDatabase m_db;
    bool m_open = false;
    QSqlError m_error;
};

// A failure while the layout is read: a file that is no database (or a
// damaged one) is "not a Brimvale database"; anything else says why it
// cannot be read.
StoreError layoutFailure(const QSqlError& error, const QString& path)
{
    const StoreError cause = sqlFailure(error);
    const int primary = cause.number & 0xff;
    const bool notOurs = cause.number == kSqlFailure || primary == kNotADatabase || primary == 11;
    return {cause.number == kSqlFailure ? kNotADatabase : cause.number,
            (notOurs ? QStringLiteral("The store %1 is not a Brimvale database: %2")
                     : QStringLiteral("The store %1 cannot be read: %2"))
                .arg(path, cause.description)};
}

StoreError notOurs(const QString& path, const QString& why)
{
    return {kNotADatabase, QStringLiteral("The store %1 is not a Brimvale database: %2.").arg(path, why)};
}

// Both tables with every column the program reads and writes, and SeqNo the
// integer key SQLite numbers itself (so a new loan always gets a key).
std::optional<StoreError> checkLayout(const QSqlDatabase& db, const QString& path)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral(
            "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name IN ('tblLoanDetail', 'tblExtraPayments')")))
        return layoutFailure(query.lastError(), path);
    QMap<QString, QString> found;
    while (query.next()) found.insert(query.value(0).toString(), query.value(1).toString());
    if (query.lastError().type() != QSqlError::NoError) return layoutFailure(query.lastError(), path);
    QStringList missing;
    for (const QString& table : {QStringLiteral("tblLoanDetail"), QStringLiteral("tblExtraPayments")})
        if (!found.contains(table)) missing << table;
    if (missing.size() == 1) return notOurs(path, QStringLiteral("the table %1 is missing").arg(missing.first()));
    if (!missing.isEmpty())
        return notOurs(path, QStringLiteral("the tables %1 are missing").arg(missing.join(QStringLiteral(" and "))));

    const struct {
        QString table;
        QStringList columns;
    } tables[] = {
        {QStringLiteral("tblLoanDetail"),
         {"SeqNo", "Description", "OrigAmount", "InterestRate", "Term", "TermType", "Frequency", "StartDate"}},
        {QStringLiteral("tblExtraPayments"), {"Loan_FK", "PaymentType", "StartDate", "EndDate", "Amount"}},
    };
    QString seqNoType;
    int seqNoKey = 0;
    int keyColumns = 0;
    for (const auto& t : tables) {
        if (!query.prepare(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)"))) 
            return layoutFailure(query.lastError(), path);
        query.addBindValue(t.table);
        if (!query.exec()) return layoutFailure(query.lastError(), path);
        QStringList names;
        while (query.next()) {
            const QString name = query.value(0).toString();
            names << name.toLower();
            if (t.table == QLatin1String("tblLoanDetail")) {
                if (query.value(2).toInt() > 0) ++keyColumns;
                if (name.compare(QLatin1String("SeqNo"), Qt::CaseInsensitive) == 0) {
                    seqNoType = query.value(1).toString();
                    seqNoKey = query.value(2).toInt();
                }
            }
        }
        if (query.lastError().type() != QSqlError::NoError) return layoutFailure(query.lastError(), path);
        QStringList absent;
        for (const QString& column : t.columns)
            if (!names.contains(column.toLower())) absent << column;
        if (absent.size() == 1)
            return notOurs(path, QStringLiteral("the table %1 has no column %2").arg(t.table, absent.first()));
        if (!absent.isEmpty())
            return notOurs(path, QStringLiteral("the table %1 has no columns %2")
                                     .arg(t.table, absent.join(QStringLiteral(", "))));
    }
    // Only a column declared exactly INTEGER and the table's sole key is
    // numbered by SQLite, and not in a table WITHOUT ROWID.
    static const QRegularExpression withoutRowid(QStringLiteral("\\bWITHOUT\\s+ROWID\\b"),
                                                 QRegularExpression::CaseInsensitiveOption);
    if (seqNoType.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) != 0 || seqNoKey != 1 || keyColumns != 1 ||
        withoutRowid.match(found.value(QStringLiteral("tblLoanDetail"))).hasMatch())
        return notOurs(path, QStringLiteral("the column SeqNo of tblLoanDetail is not an INTEGER PRIMARY KEY that "
                                            "numbers new loans by itself (it is declared \"%1\")")
                                 .arg(seqNoType));
    return std::nullopt;
}

}  // namespace

LoanStore::LoanStore(QString connectionName, QString path)
    : m_connectionName(std::move(connectionName)), m_path(std::move(path))
{
}

LoanStore::~LoanStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isValid()) db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString LoanStore::path() const
{
    return m_path;
}

std::optional<StoreError> LoanStore::checkFile() const
{
    unsigned long long device = 0;
    unsigned long long inode = 0;
    if (!fileIdentity(m_path, device, inode))
        return StoreError{kFileMoved, QStringLiteral("The store file %1 is no longer there; it was removed or moved "
                                                     "while the program ran.").arg(m_path)};
    if (device != m_device || inode != m_inode)
        return StoreError{kFileMoved, QStringLiteral("The store file %1 was replaced by another file while the "
                                                     "program ran.").arg(m_path)};
    return std::nullopt;
}

std::variant<std::unique_ptr<LoanStore>, StoreError> LoanStore::open(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return StoreError{kCannotOpen, QStringLiteral("The store file %1 does not exist.").arg(path)};
    if (!info.isFile())
        return StoreError{kCannotOpen, QStringLiteral("The store %1 is not a file.").arg(path)};

    const QString name = nextConnectionName();
    // From here on the store owns the connection name and removes it when it goes.
    std::unique_ptr<LoanStore> store(new LoanStore(name, path));
    if (!fileIdentity(path, store->m_device, store->m_inode))
        return StoreError{kCannotOpen, QStringLiteral("The store file %1 does not exist.").arg(path)};
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!db.isValid())
        return StoreError{kCannotOpen, QStringLiteral("The SQLite driver for the store %1 is missing.").arg(path)};

    // mode=rw: open an existing file only, never create one. The path is
    // percent-encoded so names with '?', '#' or '%' stay one path.
    const QString uri = QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) +
                        QStringLiteral("?mode=rw");
    db.setDatabaseName(uri);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open()) {
        StoreError error = sqlError(db.lastError(), QStringLiteral("The store %1 cannot be opened").arg(path));
        return error;
    }
    if (auto refused = checkLayout(db, path)) return *refused;
    QSqlQuery encoding(db);
    if (encoding.exec(QStringLiteral("PRAGMA encoding")) && encoding.next())
        store->m_utf8 = encoding.value(0).toString().compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
    return store;
}

std::variant<QSqlQuery, StoreError> LoanStore::select(const QString& statement, const QVariantList& values,
                                                    const QString& doing) const
{
    if (auto moved = checkFile()) return *moved;
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    query.setForwardOnly(true);
    if (!run(query, statement, values)) return sqlError(query.lastError(), doing);
    return query;
}

std::optional<QString> LoanStore::exactText(const QVariant& value, const QVariant& type, const QVariant& bytes) const
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

LoanList LoanStore::listLoans() const
{
    const QString doing = QStringLiteral("The loans cannot all be listed");
    LoanList list;
    auto selected = select(QStringLiteral("SELECT SeqNo, Description, typeof(Description), CAST(Description AS BLOB) "
                                          "FROM tblLoanDetail ORDER BY SeqNo"),
                           {}, doing);
    if (auto* error = std::get_if<StoreError>(&selected)) {
        list.error = *error;
        return list;
    }
    QSqlQuery& query = std::get<QSqlQuery>(selected);
    QStringList unlisted;
    QStringList notText;
    while (query.next()) {
        const auto key = intValue(query.value(0));
        const QString shown = query.value(1).toString();
        if (!key) {  // only a whole number that fits the window's key can be opened
            unlisted << QStringLiteral("\"%1\" (key %2)").arg(shown.left(60), query.value(0).toString());
            continue;
        }
        std::optional<QString> description = QString();
        if (!query.value(1).isNull()) description = exactText(query.value(1), query.value(2), query.value(3));
        if (!description) notText << QString::number(*key);
        list.loans.push_back({*key, description.value_or(shown)});
    }
    if (auto stopped = stoppedEarly(query, doing)) {
        stopped->description += QStringLiteral(" (%1 listed before the failure)").arg(list.loans.size());
        list.error = *stopped;
    } else if (!unlisted.isEmpty()) {
        list.error = StoreError{kOverflow, QStringLiteral("Overflow: these loans have keys this program cannot "
                                                          "open and are not listed: %1.")
                                               .arg(unlisted.join(QStringLiteral(", ")))};
    } else if (!notText.isEmpty()) {
        list.error = StoreError{StoreErrorNumber::TypeMismatch,
                                QStringLiteral("Type mismatch: the description of the loans with the keys %1 is "
                                               "stored as data that is not text; it is listed as far as it reads.")
                                    .arg(notText.join(QStringLiteral(", ")))};
    }
    return list;
}

std::variant<LoanRecord, StoreError> LoanStore::readLoan(int key) const
{
    const QString doing = QStringLiteral("The loan %1 cannot be read").arg(key);
    auto selected = select(kReadLoan, {key}, doing);
    if (auto* error = std::get_if<StoreError>(&selected)) return *error;
    QSqlQuery& query = std::get<QSqlQuery>(selected);
    if (!query.next()) {
        if (auto stopped = stoppedEarly(query, doing)) return *stopped;
        return StoreError{kNoCurrentRecord, kNoCurrentRecordText};
    }

    LoanRecord record;
    record.seqNo = key;
    QCryptographicHash row(QCryptographicHash::Sha256);
    addRow(row, query, kReadLoanColumns);
    record.fingerprint = row.result();
    const QVariant description = query.value(0);
    if (!description.isNull()) {
        record.description = exactText(description, query.value(7), query.value(8));
        if (!record.description)
            return StoreError{StoreErrorNumber::TypeMismatch,
                              QStringLiteral("Type mismatch: the description of loan %1 is stored as data that is "
                                             "not text.").arg(key)};
    }
    record.origAmount = numberValue(query.value(1));
    record.interestRate = numberValue(query.value(2));
    record.term = numberValue(query.value(3));
    record.startDate = isoDate(query.value(4));
    record.termType = intValue(query.value(5));
    record.frequency = intValue(query.value(6));
    return record;
}

ExtraPaymentList LoanStore::readExtraPayments(int key) const
{
    const QString doing = QStringLiteral("The extra payments of loan %1 cannot all be read").arg(key);
    ExtraPaymentList list;
    auto selected = select(kReadExtraPayments, {key}, doing);
    if (auto* error = std::get_if<StoreError>(&selected)) {
        list.error = *error;
        return list;
    }
    QSqlQuery& query = std::get<QSqlQuery>(selected);

    QCryptographicHash fingerprint(QCryptographicHash::Sha256);
    while (query.next()) {
        addRow(fingerprint, query, kReadExtraPaymentsColumns);
        ExtraPaymentRecord payment;
        const auto type = numberValue(query.value(0));
        const bool lumpSum = type && *type == 0.0;
        payment.kind = lumpSum ? engine::ExtraPaymentKind::LumpSum : engine::ExtraPaymentKind::Repeating;
        payment.start = isoDate(query.value(1));
        if (!lumpSum) payment.stop = isoDate(query.value(2));
        payment.amount = numberValue(query.value(3));
        list.rows.push_back(std::move(payment));
    }
    if (auto stopped = stoppedEarly(query, doing)) {
        stopped->description += QStringLiteral(" (%1 read before the failure)").arg(list.rows.size());
        list.error = *stopped;
    }
    list.fingerprint = fingerprint.result();
    return list;
}

QByteArray LoanStore::loanFingerprint(const QByteArray& row, const QByteArray& extraPayments)
{
    return row + extraPayments;
}

std::variant<QByteArray, StoreError> LoanStore::storedFingerprint(int key) const
{
    const QString doing = QStringLiteral("The stored loan %1 cannot be compared").arg(key);
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    query.setForwardOnly(true);
    if (!run(query, kReadLoan, {key})) return sqlError(query.lastError(), doing);
    if (!query.next()) {
        if (auto stopped = stoppedEarly(query, doing)) return *stopped;
        return QByteArray();
    }
    QCryptographicHash row(QCryptographicHash::Sha256);
    addRow(row, query, kReadLoanColumns);
    const QByteArray loanRow = row.result();
    query.finish();

    if (!run(query, kReadExtraPayments, {key})) return sqlError(query.lastError(), doing);
    QCryptographicHash extras(QCryptographicHash::Sha256);
    while (query.next()) addRow(extras, query, kReadExtraPaymentsColumns);
    if (auto stopped = stoppedEarly(query, doing)) return *stopped;
    query.finish();
    return loanFingerprint(loanRow, extras.result());
}

std::optional<StoreError> LoanStore::saveLoan(int& mode, int& key, const Loan& loan,
                                              const std::vector<ExtraPaymentRow>& extraPayments, SaveCheck* check)
{
    const QVariantList row = {loan.description,
                              loan.firstPaymentDate.toString(Qt::ISODate),
                              loan.loanAmount.value_or(0.0),
                              loan.annualRatePercent,
                              loan.term,
                              listPosition(loan.termUnit),
                              listPosition(loan.frequency)};
    if (auto moved = checkFile()) return moved;

    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    Transaction transaction(db);
    if (!transaction.started()) return sqlError(transaction.error(), QStringLiteral("The loan cannot be saved"));

    if (mode != 0 && check && check->expected) {
        // Another program may have changed or deleted the loan since this
        // window read or wrote it: replacing it then needs the user's word.
        auto stored = storedFingerprint(key);
        if (auto* error = std::get_if<StoreError>(&stored)) return *error;
        const QByteArray& now = std::get<QByteArray>(stored);
        if (now != *check->expected) {
            check->current = now;
            check->found = now.isEmpty() ? StoredLoan::Deleted : StoredLoan::Changed;
            return now.isEmpty()
                       ? StoreError{StoreErrorNumber::RecordDeleted,
                                    QStringLiteral("Another program has deleted loan %1 from the store.").arg(key)}
                       : StoreError{StoreErrorNumber::ChangedByOther,
                                    QStringLiteral("Another program has changed loan %1 in the store.").arg(key)};
        }
    }

    QSqlQuery query(db);
    int savedKey = key;
    if (mode == 0) {
        if (!run(query,
                 QStringLiteral("INSERT INTO tblLoanDetail (Description, StartDate, OrigAmount, InterestRate, Term, "
                                "TermType, Frequency) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                 row))
            return sqlError(query.lastError(), QStringLiteral("The loan cannot be added"));
        bool ok = false;
        const qlonglong newKey = query.lastInsertId().toLongLong(&ok);
        if (!ok) return StoreError{kNoCurrentRecord, QStringLiteral("The new loan's key cannot be read back.")};
        if (newKey <= 0 || newKey > std::numeric_limits<int>::max())
            return StoreError{kOverflow, QStringLiteral("Overflow: the new loan's key %1 is too large.").arg(newKey)};
        savedKey = int(newKey);
    } else {
        if (!run(query,
                 QStringLiteral("UPDATE tblLoanDetail SET Description = ?, StartDate = ?, OrigAmount = ?, "
                                "InterestRate = ?, Term = ?, TermType = ?, Frequency = ? WHERE SeqNo = ?"),
                 row + QVariantList{key}))
            return sqlError(query.lastError(), QStringLiteral("The loan %1 cannot be updated").arg(key));
        if (query.numRowsAffected() != 1) return StoreError{kNoCurrentRecord, kNoCurrentRecordText};
    }

    if (!run(query, QStringLiteral("DELETE FROM tblExtraPayments WHERE Loan_FK = ?"), {savedKey}))
        return sqlError(query.lastError(), QStringLiteral("The old extra payments cannot be removed"));
    if (!query.prepare(QStringLiteral(
            "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, EndDate, StartDate, Amount) VALUES (?, ?, ?, ?, ?)")))
        return sqlError(query.lastError(), QStringLiteral("The extra payments cannot be saved"));
    int number = 0;
    for (const ExtraPaymentRow& payment : extraPayments) {
        ++number;
        const bool lumpSum = payment.kind == engine::ExtraPaymentKind::LumpSum;
        query.addBindValue(savedKey);
        query.addBindValue(lumpSum ? 0 : 1);
        query.addBindValue(lumpSum || !payment.stop ? QVariant(QMetaType::fromType<QString>())  // NULL
                                                    : QVariant(payment.stop->toString(Qt::ISODate)));
        query.addBindValue(payment.start.toString(Qt::ISODate));
        query.addBindValue(payment.amount);
        if (!query.exec())
            return sqlError(query.lastError(), QStringLiteral("Extra payment %1 cannot be saved").arg(number));
    }
    query.finish();
    QByteArray saved;
    if (check) {
        auto stored = storedFingerprint(savedKey);
        if (auto* error = std::get_if<StoreError>(&stored)) return *error;
        saved = std::get<QByteArray>(stored);
    }
    if (!transaction.commit()) return sqlError(db.lastError(), QStringLiteral("The loan cannot be saved"));

    if (check) {
        check->found = StoredLoan::AsExpected;
        check->saved = saved;
    }
    mode = 1;
    key = savedKey;
    return std::nullopt;
}

std::optional<StoreError> LoanStore::deleteLoan(int key)
{
    if (auto moved = checkFile()) return *moved;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    Transaction transaction(db);
    if (!transaction.started()) return sqlError(transaction.error(), QStringLiteral("The loan cannot be deleted"));
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("DELETE FROM tblExtraPayments WHERE Loan_FK = ?"), {key}))
        return sqlError(query.lastError(), QStringLiteral("The extra payments of loan %1 cannot be deleted").arg(key));
    if (!run(query, QStringLiteral("DELETE FROM tblLoanDetail WHERE SeqNo = ?"), {key}))
        return sqlError(query.lastError(), QStringLiteral("The loan %1 cannot be deleted").arg(key));
    query.finish();
    if (!transaction.commit()) return sqlError(db.lastError(), QStringLiteral("The loan cannot be deleted"));
    return std::nullopt;
}
