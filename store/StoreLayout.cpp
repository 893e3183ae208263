#include "StoreLayout.h"

#include <sqlite3.h>

#include <algorithm>
#include <optional>

namespace StoreLayout {

namespace {

// SQLite folds only ASCII letters in names; folding more would let a
// look-alike letter pass for one of the program's own names.
QString asciiLower(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + 32);
    return out;
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// A name from the file as a message shows it: on one line, and not too long.
QString shown(const QString& name)
{
    const QString text = name.simplified();
    return quoted(text.size() > 60 ? text.left(59) + QChar(0x2026) : text);
}

QString listed(QStringList items)
{
    const QString last = items.takeLast();
    return items.isEmpty() ? last : items.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// The items of `of` not in `in`, letter case aside.
QStringList without(const QStringList& of, const QStringList& in)
{
    QStringList out;
    for (const QString& item : of)
        if (!std::any_of(in.begin(), in.end(), [&item](const QString& i) { return asciiLower(i) == asciiLower(item); }))
            out << item;
    return out;
}

// Statements on SQLite's own handle: after the first failure nothing more
// runs and the failure is kept.
class Reader {
public:
    explicit Reader(sqlite3* db) : db(db) {}

    // Every row, each value as text (NULL as a null string).
    std::vector<QStringList> rows(const QString& statement, const QString& bound = {})
    {
        std::vector<QStringList> out;
        if (failure) return out;
        sqlite3_stmt* stmt = nullptr;
        const QByteArray text = statement.toUtf8();
        const QByteArray value = bound.toUtf8();
        int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr);
        if (rc == SQLITE_OK && !bound.isNull())
            rc = sqlite3_bind_text(stmt, 1, value.constData(), int(value.size()), SQLITE_STATIC);
        while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* cell = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                row << (cell ? QString::fromUtf8(cell, sqlite3_column_bytes(stmt, c)) : QString());
            }
            out.push_back(row);
            rc = SQLITE_OK;
        }
        if (rc != SQLITE_DONE) {
            failure = Failure{sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db))};
            out.clear();
        }
        sqlite3_finalize(stmt);
        return out;
    }

    // What SQLite compiles for a statement, each instruction as one text.
    QStringList compiled(const QString& statement)
    {
        QStringList program;
        for (const QStringList& op : rows(QStringLiteral("EXPLAIN ") + statement)) program << op.join(QLatin1Char(' '));
        return program;
    }

    sqlite3* db;
    std::optional<Failure> failure;
};

Table readTable(Reader& sql, const QString& name)
{
    Table table{name, {}, {}};
    QStringList written;
    for (const QStringList& c : sql.rows(QStringLiteral("SELECT name, upper(type), pk, \"notnull\", dflt_value, hidden "
                                                        "FROM pragma_table_xinfo(?, 'main') ORDER BY cid"),
                                         name)) {
        const char* collation = nullptr;
        int autoIncrement = 0;
        sqlite3_table_column_metadata(sql.db, "main", name.toUtf8().constData(), c[0].toUtf8().constData(), nullptr,
                                      &collation, nullptr, nullptr, &autoIncrement);
        QString declared = c[1];
        if (c[2] != QLatin1String("0")) declared += QStringLiteral(" PRIMARY KEY");
        if (autoIncrement) declared += QStringLiteral(" AUTOINCREMENT");
        if (c[3] == QLatin1String("1")) declared += QStringLiteral(" NOT NULL");
        if (!c[4].isNull()) declared += QStringLiteral(" DEFAULT ") + c[4];
        if (qstricmp(collation, "BINARY") != 0) declared += QStringLiteral(" COLLATE ") + QString::fromUtf8(collation);
        if (c[5] != QLatin1String("0")) declared += QStringLiteral(" GENERATED");
        else written << quoted(c[0]);
        table.columns.emplace_back(c[0], declared.trimmed());
        table.facts << QStringLiteral("the column %1 %2").arg(shown(c[0]), declared).trimmed();
    }
    for (const QStringList& t : sql.rows(QStringLiteral("SELECT type, wr, strict FROM pragma_table_list(?) "
                                                        "WHERE schema = 'main'"),
                                         name)) {
        if (t[0] != QLatin1String("table")) table.facts << QStringLiteral("the form of a %1 table").arg(t[0]);
        if (t[1] == QLatin1String("1")) table.facts << QStringLiteral("no rowid (WITHOUT ROWID)");
        if (t[2] == QLatin1String("1")) table.facts << QStringLiteral("the STRICT option");
    }
    for (const QStringList& i : sql.rows(QStringLiteral("SELECT name, \"unique\", origin, partial FROM "
                                                        "pragma_index_list(?, 'main') ORDER BY name"),
                                         name)) {
        QStringList columns;
        for (const QStringList& k : sql.rows(QStringLiteral("SELECT name, \"desc\", coll FROM pragma_index_xinfo(?, "
                                                            "'main') WHERE key ORDER BY seqno"),
                                             i[0]))
            columns << (k[0].isNull() ? QStringLiteral("an expression") : shown(k[0])) +
                           (k[1] == QLatin1String("1") ? QStringLiteral(" DESC") : QString()) +
                           (k[2] == QLatin1String("BINARY") ? QString() : QStringLiteral(" COLLATE ") + k[2]);
        const QString on = QStringLiteral(" on (%1)").arg(columns.join(QStringLiteral(", ")));
        if (i[2] == QLatin1String("pk")) table.facts << QStringLiteral("a PRIMARY KEY apart from its rowid") + on;
        else if (i[2] == QLatin1String("u")) table.facts << QStringLiteral("a UNIQUE constraint") + on;
        else
            table.facts << QStringLiteral("the ") + (i[1] == QLatin1String("1") ? QStringLiteral("UNIQUE ") : QString()) +
                               (i[3] == QLatin1String("1") ? QStringLiteral("partial ") : QString()) +
                               QStringLiteral("index ") + shown(i[0]) + on;
    }
    for (const QStringList& k : sql.rows(QStringLiteral("SELECT \"from\", \"table\", \"to\", on_update, on_delete "
                                                        "FROM pragma_foreign_key_list(?, 'main') ORDER BY id, seq"),
                                         name)) {
        QString key = QStringLiteral("a foreign key (%1 to %2)").arg(k[0], k[1]);
        if (k[3] != QLatin1String("NO ACTION")) key += QStringLiteral(" ON UPDATE ") + k[3];
        if (k[4] != QLatin1String("NO ACTION")) key += QStringLiteral(" ON DELETE ") + k[4];
        table.facts << key;
    }
    if (written.isEmpty()) return table;
    // What the columns do not show, SQLite's program for writing every column
    // does: a CHECK constraint as the difference that ignoring CHECK
    // constraints makes, a conflict clause as the one OR ABORT makes.
    const QString insert = QStringLiteral(" INTO main.%1 (%2) VALUES (%3)")
                               .arg(quoted(name), written.join(QStringLiteral(", ")),
                                    QStringList(written.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    sqlite3_exec(sql.db, "PRAGMA ignore_check_constraints = ON", nullptr, nullptr, nullptr);
    const QStringList unchecked = sql.compiled(QStringLiteral("INSERT OR ABORT") + insert);
    sqlite3_exec(sql.db, "PRAGMA ignore_check_constraints = OFF", nullptr, nullptr, nullptr);
    const QStringList checked = sql.compiled(QStringLiteral("INSERT OR ABORT") + insert);
    if (checked != unchecked) table.facts << QStringLiteral("a CHECK constraint");
    if (sql.compiled(QStringLiteral("INSERT") + insert) != checked)
        table.facts << QStringLiteral("a conflict clause (ON CONFLICT)");
    return table;
}

bool holds(const Layout& layout, const Entry& entry)
{
    return std::any_of(layout.entries.begin(), layout.entries.end(), [&entry](const Entry& e) {
        return e.type == entry.type && asciiLower(e.name) == asciiLower(entry.name) &&
               asciiLower(e.table) == asciiLower(entry.table);
    });
}

QString entryText(const Entry& e)
{
    if (e.type == QLatin1String("trigger") || e.type == QLatin1String("index"))
        return QStringLiteral("the %1 %2 on %3").arg(e.type, shown(e.name), shown(e.table));
    return QStringLiteral("the %1 %2").arg(e.type, shown(e.name));
}

}  // namespace

std::variant<Layout, Failure> read(sqlite3* db)
{
    Reader sql(db);
    Layout layout;
    // Not SQLite's own tables: AUTOINCREMENT's counters (the columns show
    // AUTOINCREMENT) and ANALYZE's statistics. An index made by a UNIQUE or
    // PRIMARY KEY clause shows in its table's indexes.
    for (const QStringList& row : sql.rows(QStringLiteral(
             "SELECT type, name, tbl_name, sql FROM main.sqlite_master WHERE NOT (type = 'table' AND name IN "
             "('sqlite_sequence', 'sqlite_stat1', 'sqlite_stat2', 'sqlite_stat3', 'sqlite_stat4')) AND sql NOT NULL "
             "ORDER BY rowid")))
        layout.entries.push_back({row[0], row[1], row[2], row[3]});
    for (const Entry& e : layout.entries)
        if (e.type == QLatin1String("table"))
            layout.tables[asciiLower(e.name)] = readTable(sql, e.name);
    if (sql.failure) return *sql.failure;
    return layout;
}

Differences compare(const Layout& store, const Layout& own)
{
    Differences d;
    QStringList missingTables;
    for (const Entry& e : own.entries) {
        const auto mine = store.tables.find(asciiLower(e.name));
        if (e.type != QLatin1String("table")) continue;
        if (mine == store.tables.end()) {
            missingTables << e.name;
            continue;
        }
        const Table& table = own.tables.at(asciiLower(e.name));
        const QStringList has = without(mine->second.facts, table.facts);
        const QStringList lacks = without(table.facts, mine->second.facts);
        if (!has.isEmpty()) d.found << QStringLiteral("the table %1 has %2").arg(e.name, listed(has));
        if (!lacks.isEmpty()) d.missing << QStringLiteral("the table %1 lacks %2").arg(e.name, listed(lacks));
        d.count += int(has.size() + lacks.size());
    }
    if (!missingTables.isEmpty())
        d.missing.prepend((missingTables.size() == 1 ? QStringLiteral("the table %1 is missing")
                                                     : QStringLiteral("the tables %1 are missing"))
                              .arg(missingTables.join(QStringLiteral(" and "))));
    QStringList entries;  // indexes are among their tables' facts
    for (const Entry& e : store.entries)
        if (e.type != QLatin1String("index") && !holds(own, e)) entries << entryText(e);
    d.found = entries + d.found;
    d.count += int(missingTables.size() + entries.size());
    return d;
}

std::variant<QStringList, QString> upgrade(const Layout& from, const Layout& to)
{
    QStringList statements;
    for (const Entry& e : from.entries)
        if (!holds(to, e)) return QStringLiteral("%1 is not in the later layout").arg(entryText(e));
    for (const Entry& e : to.entries) {
        if (!holds(from, e)) {
            statements << e.sql;
            continue;
        }
        if (e.type != QLatin1String("table")) continue;
        const auto& old = from.tables.at(asciiLower(e.name)).columns;
        const auto& later = to.tables.at(asciiLower(e.name)).columns;
        if (old.size() > later.size() || !std::equal(old.begin(), old.end(), later.begin()))
            return QStringLiteral("the table %1 changes more than its last columns").arg(e.name);
        for (size_t i = old.size(); i < later.size(); ++i)
            statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(quoted(e.name), quoted(later[i].first),
                                                                               later[i].second);
    }
    return statements;
}

}  // namespace StoreLayout
