#include "LoanStore.h"

#include "LocaleText.h"
#include "StoreValues.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
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

// The driver's own error number where it has one.
StoreError sqlError(const QSqlError& error, const QString& doing)
{
    bool numeric = false;
    const int native = error.nativeErrorCode().toInt(&numeric);
    QString detail = error.databaseText().trimmed();
    if (detail.isEmpty()) detail = error.driverText().trimmed();
    if (detail.isEmpty()) detail = QStringLiteral("unknown store failure");
    return {numeric && native != 0 ? native : kSqlFailure, doing + QStringLiteral(": ") + detail};
}

// Runs a prepared statement with its values bound in order.
bool run(QSqlQuery& query, const QString& statement, const QVariantList& values)
{
    if (!query.prepare(statement)) return false;
    for (const QVariant& value : values) query.addBindValue(value);
    return query.exec();
}

// Rolls back unless committed, so every early return leaves the store as it was.
class Transaction {
public:
    explicit Transaction(QSqlDatabase db) : m_db(std::move(db)) { m_open = m_db.transaction(); }
    ~Transaction()
    {
        if (m_open) m_db.rollback();
    }
    bool started() const { return m_open; }
    bool commit()
    {
        if (!m_db.commit()) return false;
        m_open = false;
        return true;
    }

private:
    QSqlDatabase m_db;
    bool m_open = false;
};

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

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name IN ('tblLoanDetail', 'tblExtraPayments')"))) {
        const StoreError cause = sqlError(query.lastError(), QString());
        return StoreError{cause.number == kSqlFailure ? kNotADatabase : cause.number,
                          QStringLiteral("The store %1 is not a Brimvale database%2").arg(path, cause.description)};
    }
    QStringList found;
    while (query.next()) found << query.value(0).toString();
    QStringList missing;
    for (const QString& table : {QStringLiteral("tblLoanDetail"), QStringLiteral("tblExtraPayments")})
        if (!found.contains(table)) missing << table;
    if (missing.size() == 1)
        return StoreError{kNotADatabase,
                          QStringLiteral("The store %1 is not a Brimvale database: the table %2 is missing.")
                              .arg(path, missing.first())};
    if (!missing.isEmpty())
        return StoreError{kNotADatabase,
                          QStringLiteral("The store %1 is not a Brimvale database: the tables %2 are missing.")
                              .arg(path, missing.join(QStringLiteral(" and ")))};
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

std::variant<std::vector<LoanListEntry>, StoreError> LoanStore::listLoans() const
{
    auto selected = select(QStringLiteral("SELECT SeqNo, Description FROM tblLoanDetail ORDER BY SeqNo"), {},
                           QStringLiteral("The loans cannot be listed"));
    if (auto* error = std::get_if<StoreError>(&selected)) return *error;
    QSqlQuery& query = std::get<QSqlQuery>(selected);
    std::vector<LoanListEntry> loans;
    while (query.next()) {
        const auto key = intValue(query.value(0));
        if (!key) continue;  // SeqNo is the integer key; nothing else can be opened
        loans.push_back({*key, query.value(1).toString()});
    }
    return loans;
}

std::variant<LoanRecord, StoreError> LoanStore::readLoan(int key) const
{
    auto selected = select(QStringLiteral("SELECT Description, OrigAmount, InterestRate, Term, StartDate, TermType, "
                                          "Frequency FROM tblLoanDetail WHERE SeqNo = ?"),
                           {key}, QStringLiteral("The loan %1 cannot be read").arg(key));
    if (auto* error = std::get_if<StoreError>(&selected)) return *error;
    QSqlQuery& query = std::get<QSqlQuery>(selected);
    if (!query.next()) return StoreError{kNoCurrentRecord, kNoCurrentRecordText};

    LoanRecord record;
    record.seqNo = key;
    const QVariant description = query.value(0);
    if (!description.isNull()) record.description = description.toString();
    if (const auto amount = numberValue(query.value(1))) record.origAmount = LocaleText::plainNumberText(*amount);
    if (const auto rate = numberValue(query.value(2))) record.interestRate = LocaleText::plainNumberText(*rate);
    if (const auto term = numberValue(query.value(3))) record.term = LocaleText::plainNumberText(*term);
    record.startDate = isoDate(query.value(4));
    record.termType = intValue(query.value(5));
    record.frequency = intValue(query.value(6));
    return record;
}

std::variant<std::vector<ExtraPaymentRecord>, StoreError> LoanStore::readExtraPayments(int key) const
{
    auto selected = select(QStringLiteral("SELECT PaymentType, StartDate, EndDate, Amount FROM tblExtraPayments "
                                          "WHERE Loan_FK = ? ORDER BY rowid"),
                           {key}, QStringLiteral("The extra payments of loan %1 cannot be read").arg(key));
    if (auto* error = std::get_if<StoreError>(&selected)) return *error;
    QSqlQuery& query = std::get<QSqlQuery>(selected);

    std::vector<ExtraPaymentRecord> payments;
    while (query.next()) {
        ExtraPaymentRecord payment;
        const auto type = numberValue(query.value(0));
        const bool lumpSum = type && *type == 0.0;
        payment.type = lumpSum ? QStringLiteral("L") : QStringLiteral("R");
        if (const auto start = isoDate(query.value(1))) payment.start = LocaleText::shortDateText(*start);
        if (lumpSum)
            payment.stop = QString();
        else if (const auto stop = isoDate(query.value(2)))
            payment.stop = LocaleText::shortDateText(*stop);
        if (const auto amount = numberValue(query.value(3)))
            payment.amount = LocaleText::regionalCurrencyText(*amount);
        payments.push_back(std::move(payment));
    }
    return payments;
}

std::optional<StoreError> LoanStore::saveLoan(int& mode, int& key, const LoanRecordTexts& loan,
                                              const std::vector<ExtraPaymentTexts>& extraPayments)
{
    // Every text is converted first: a bad cell stops the save before anything is written.
    const auto loanValues = convertLoan(loan);
    if (const auto* error = std::get_if<StoreError>(&loanValues)) return *error;
    const auto paymentValues = convertExtraPayments(extraPayments);
    if (const auto* error = std::get_if<StoreError>(&paymentValues)) return *error;
    const LoanValues& row = std::get<LoanValues>(loanValues);
    if (auto moved = checkFile()) return moved;

    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    Transaction transaction(db);
    if (!transaction.started()) return sqlError(db.lastError(), QStringLiteral("The loan cannot be saved"));

    QSqlQuery query(db);
    int savedKey = key;
    if (mode == 0) {
        if (!run(query,
                 QStringLiteral("INSERT INTO tblLoanDetail (Description, StartDate, OrigAmount, InterestRate, Term, "
                                "TermType, Frequency) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                 {row.description, row.startDate, row.origAmount, row.interestRate, row.term, row.termType,
                  row.frequency}))
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
                 {row.description, row.startDate, row.origAmount, row.interestRate, row.term, row.termType,
                  row.frequency, key}))
            return sqlError(query.lastError(), QStringLiteral("The loan %1 cannot be updated").arg(key));
        if (query.numRowsAffected() != 1) return StoreError{kNoCurrentRecord, kNoCurrentRecordText};
    }

    if (!run(query, QStringLiteral("DELETE FROM tblExtraPayments WHERE Loan_FK = ?"), {savedKey}))
        return sqlError(query.lastError(), QStringLiteral("The old extra payments cannot be removed"));
    if (!query.prepare(QStringLiteral(
            "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, EndDate, StartDate, Amount) VALUES (?, ?, ?, ?, ?)")))
        return sqlError(query.lastError(), QStringLiteral("The extra payments cannot be saved"));
    int number = 0;
    for (const ExtraPaymentValues& payment : std::get<std::vector<ExtraPaymentValues>>(paymentValues)) {
        ++number;
        query.addBindValue(savedKey);
        query.addBindValue(payment.paymentType);
        query.addBindValue(payment.endDate);
        query.addBindValue(payment.startDate);
        query.addBindValue(payment.amount);
        if (!query.exec())
            return sqlError(query.lastError(), QStringLiteral("Extra payment %1 cannot be saved").arg(number));
    }
    query.finish();
    if (!transaction.commit()) return sqlError(db.lastError(), QStringLiteral("The loan cannot be saved"));

    mode = 1;
    key = savedKey;
    return std::nullopt;
}

std::optional<StoreError> LoanStore::deleteLoan(int key)
{
    if (auto moved = checkFile()) return *moved;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    Transaction transaction(db);
    if (!transaction.started()) return sqlError(db.lastError(), QStringLiteral("The loan cannot be deleted"));
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("DELETE FROM tblExtraPayments WHERE Loan_FK = ?"), {key}))
        return sqlError(query.lastError(), QStringLiteral("The extra payments of loan %1 cannot be deleted").arg(key));
    if (!run(query, QStringLiteral("DELETE FROM tblLoanDetail WHERE SeqNo = ?"), {key}))
        return sqlError(query.lastError(), QStringLiteral("The loan %1 cannot be deleted").arg(key));
    query.finish();
    if (!transaction.commit()) return sqlError(db.lastError(), QStringLiteral("The loan cannot be deleted"));
    return std::nullopt;
}
