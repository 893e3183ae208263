#include "StoreVersions.h"

#include "SqlFailure.h"
#include "StoreSchemaText.h"

#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace StoreVersions {

namespace {

// The store's versions, oldest first, each by the schema file it is made
// from: the loans and their extra payments; then also what Calculate derives,
// the payment it is found from, and the rate changes; then also the
// compounding, the lender's charges and the loan's shapes (interest only,
// balloon, skipped payments, an extra payment that lowers the payment). The
// next version is its schema file (built in by store/CMakeLists.txt), an entry
// here, and the reading (LoanReading.cpp) and writing (LoanSaving.cpp) of its
// new values.
const char* const kSchemas[] = {kVersion0SchemaText, kVersion1SchemaText, kOwnSchemaText};

const QString kLoanTable = QStringLiteral("tblLoanDetail");
const QString kLoanKey = QStringLiteral("SeqNo");
const QString kListKey = QStringLiteral("Loan_FK");

QStringList columnsBut(const StoreLayout::Table& table, const QString& key)
{
    QStringList names;
    for (const auto& column : table.columns)
        if (column.first.compare(key, Qt::CaseInsensitive) != 0) names << column.first;
    return names;
}

QString placeholders(qsizetype count)
{
    return QStringList(count, QStringLiteral("?")).join(QStringLiteral(", "));
}

// The newest version's columns, each as itself where `held` has it and as
// NULL where not: a loan reads alike in every version.
QString selected(const QStringList& newest, const QStringList& held)
{
    QStringList out;
    for (const QString& column : newest)
        out << (held.contains(column) ? column : QStringLiteral("NULL AS %1").arg(column));
    return out.join(QStringLiteral(", "));
}

StoreLayout::Layout builtLayout(const char* schema)
{
    sqlite3* db = nullptr;
    char* error = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK || sqlite3_exec(db, schema, nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("the built-in store schema does not run: %s", error ? error : sqlite3_errmsg(db));
    auto layout = StoreLayout::read(db);
    sqlite3_close(db);
    if (auto* failure = std::get_if<StoreLayout::Failure>(&layout))
        qFatal("the built-in store schema cannot be read: %s", qPrintable(failure->message));
    return std::get<StoreLayout::Layout>(layout);
}

std::vector<Version> builtVersions()
{
    std::vector<Version> versions;
    for (const char* schema : kSchemas) {
        Version v{int(versions.size()), schema, builtLayout(schema), {}, {}, {}, {}, {}};
        v.loanColumns = columnsBut(v.layout.tables.at(kLoanTable.toLower()), kLoanKey);
        for (const StoreLayout::Entry& e : v.layout.entries) {
            const auto table = v.layout.tables.find(e.name.toLower());
            if (table == v.layout.tables.end()) continue;
            const QStringList columns = columnsBut(table->second, kListKey);
            if (columns.size() < qsizetype(table->second.columns.size())) v.lists.push_back({e.name, columns, {}, {}, {}});
        }
        versions.push_back(std::move(v));
    }
    const Version& newest = versions.back();
    for (Version& v : versions) {
        v.readLoan = QStringLiteral("SELECT %1, typeof(Description) AS DescriptionType, CAST(Description AS BLOB) "
                                    "AS DescriptionBytes FROM %2 WHERE %3 = ?")
                         .arg(selected(newest.loanColumns, v.loanColumns), kLoanTable, kLoanKey);
        v.insertLoan = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(kLoanTable, v.loanColumns.join(QStringLiteral(", ")), placeholders(v.loanColumns.size()));
        v.updateLoan = QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?")
                           .arg(kLoanTable, v.loanColumns.join(QStringLiteral(" = ?, ")), kLoanKey);
        for (List& list : v.lists) {
            list.read = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? ORDER BY rowid")
                            .arg(selected(newest.list(list.table)->columns, list.columns), list.table, kListKey);
            list.insert = QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, %4)")
                              .arg(list.table, kListKey, list.columns.join(QStringLiteral(", ")),
                                   placeholders(list.columns.size()));
            list.remove = QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(list.table, kListKey);
        }
    }
    return versions;
}

engine::NumberedError refused(const QString& text)
{
    return SqlFailure::numbered(SqlFailure::NotADatabase, text);
}

// A failure while the layout is read: a file that is no database (or a
// damaged one) is "not a Brimvale database"; anything else says why it
// cannot be read.
engine::NumberedError layoutFailure(const StoreLayout::Failure& failure, const QString& path)
{
    QString cause;
    const int number = SqlFailure::causeOf(
        QSqlError(QString(), failure.message, QSqlError::StatementError, QString::number(failure.code)), cause);
    const int primary = number & 0xff;
    const bool notOurs = primary == SqlFailure::Failure || primary == SqlFailure::NotADatabase ||
                         primary == SqlFailure::Damaged;
    return SqlFailure::numbered(primary == SqlFailure::Failure ? SqlFailure::NotADatabase : number,
                                (notOurs ? QStringLiteral("The store %1 is not a Brimvale database: %2")
                                         : QStringLiteral("The store %1 cannot be read: %2"))
                                    .arg(path, cause));
}

engine::NumberedError notOurs(const QString& path, const StoreLayout::Differences& d)
{
    QString text = QStringLiteral("The store %1 is not a Brimvale database: ").arg(path);
    if (!d.found.isEmpty())
        text += QStringLiteral("it holds what this program does not create, which could change or remove loans behind "
                               "its back on every save, so it is not opened. Found: %1.%2")
                    .arg(d.found.mid(0, 5).join(QStringLiteral("; ")) +
                             (d.found.size() > 5 ? QStringLiteral("; and %1 more").arg(d.found.size() - 5) : QString()),
                         d.missing.isEmpty() ? QString() : QStringLiteral(" Also, "));
    return refused(text + (d.missing.isEmpty() ? QString() : d.missing.join(QStringLiteral("; ")) + QLatin1Char('.')));
}

}  // namespace

const List* Version::list(const QString& table) const
{
    for (const List& l : lists)
        if (l.table.compare(table, Qt::CaseInsensitive) == 0) return &l;
    return nullptr;
}

const std::vector<Version>& versions()
{
    static const std::vector<Version> built = builtVersions();
    return built;
}

const Version& newest()
{
    return versions().back();
}

std::variant<int, engine::NumberedError> identify(sqlite3* db, const QString& path)
{
    auto read = StoreLayout::read(db);
    if (auto* failure = std::get_if<StoreLayout::Failure>(&read)) return layoutFailure(*failure, path);
    const auto& layout = std::get<StoreLayout::Layout>(read);
    // What the store records of itself only tells why a layout of no known
    // version is refused.
    sqlite3_stmt* stmt = nullptr;
    int recorded = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        recorded = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    std::optional<StoreLayout::Differences> nearest;
    for (auto v = versions().rbegin(); v != versions().rend(); ++v) {
        StoreLayout::Differences d = StoreLayout::compare(layout, v->layout);
        if (d.count == 0) return v->number;
        if (!nearest || d.count < nearest->count) nearest = d;
    }
    const int newestNumber = newest().number;
    if (recorded > newestNumber)
        return refused(QStringLiteral("The store %1 was made by a newer version of Brimvale (store version %2; this "
                                      "program knows versions up to %3), so it is not opened and nothing in it is "
                                      "changed. Open it with the newer version.")
                           .arg(path)
                           .arg(recorded)
                           .arg(newestNumber));
    if (recorded < 0)
        return refused(QStringLiteral("The store %1 is not opened: store version %2 is not one this program knows "
                                      "(it knows versions 0 to %3), and its tables are not those of any of them. "
                                      "Nothing in it is changed.")
                           .arg(path)
                           .arg(recorded)
                           .arg(newestNumber));
    return notOurs(path, *nearest);
}

int versionFor(const QVariantMap& loan, const std::map<QString, std::vector<QVariantMap>>& lists)
{
    auto holds = [](const QStringList& columns, const QVariantMap& values) {
        for (auto value = values.begin(); value != values.end(); ++value)
            if (!value->isNull() && !columns.contains(value.key())) return false;
        return true;
    };
    for (const Version& v : versions()) {
        bool all = holds(v.loanColumns, loan);
        for (const auto& [table, rows] : lists) {
            const List* list = v.list(table);
            for (const QVariantMap& row : rows) all = all && list && holds(list->columns, row);
        }
        if (all) return v.number;
    }
    return -1;
}

std::optional<engine::NumberedError> upgrade(const QSqlDatabase& db, int from, int to)
{
    const QString doing = QStringLiteral("The store cannot be brought up to version %1").arg(to);
    QStringList statements;
    for (int v = from; v < to; ++v) {
        auto steps = StoreLayout::upgrade(versions().at(v).layout, versions().at(v + 1).layout);
        if (auto* why = std::get_if<QString>(&steps))
            return SqlFailure::numbered(SqlFailure::Failure, doing + QStringLiteral(": ") + *why);
        statements << std::get<QStringList>(steps);
    }
    statements << QStringLiteral("PRAGMA user_version = %1").arg(to);
    QSqlQuery query(db);
    for (const QString& statement : statements)
        if (!query.exec(statement)) return SqlFailure::whileDoing(query.lastError(), doing);
    return std::nullopt;
}

}  // namespace StoreVersions
