#include "StoreLayout.h"

#include <sqlite3.h>

#include <algorithm>

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

QString quotedName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// A name from the file as a message shows it: on one line, and not too long.
QString shownName(const QString& name)
{
    QString shown = name.simplified();
    if (shown.size() > 60) shown = shown.left(59) + QChar(0x2026);
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

QString listed(QStringList items)
{
    if (items.size() < 2) return items.join(QString());
    const QString last = items.takeLast();
    return items.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// Statements on SQLite's own handle; after the first failure nothing more runs
// and the failure is kept.
class Reader {
public:
    explicit Reader(sqlite3* db) : m_db(db) {}

    // Every row, each value as text (NULL as a null string).
    std::vector<QStringList> rows(const QString& statement, const QStringList& bound = {})
    {
        std::vector<QStringList> out;
        if (failure) return out;
        sqlite3_stmt* stmt = nullptr;
        const QByteArray text = statement.toUtf8();
        int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, nullptr);
        for (int i = 0; rc == SQLITE_OK && i < bound.size(); ++i) {
            const QByteArray value = bound[i].toUtf8();
            rc = sqlite3_bind_text(stmt, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
        }
        while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                row << (value ? QString::fromUtf8(value, sqlite3_column_bytes(stmt, c)) : QString());
            }
            out.push_back(row);
            rc = SQLITE_OK;
        }
        if (rc != SQLITE_DONE) {
            failure = Failure{sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db))};
            out.clear();
        }
        sqlite3_finalize(stmt);
        return out;
    }

    sqlite3* db() const { return m_db; }
    std::optional<Failure> failure;

private:
    sqlite3* m_db;
};

// The program SQLite compiles for a statement, without what differs between
// two files of one layout: the root pages of tables and indexes and the
// schema cookie; names in lower case.
QStringList compiled(Reader& sql, const QString& statement)
{
    QStringList program;
    for (const QStringList& op : sql.rows(QStringLiteral("EXPLAIN ") + statement)) {
        const QString& opcode = op.value(1);
        QStringList fields{opcode, op.value(2), op.value(3), op.value(4), asciiLower(op.value(5)), op.value(6)};
        if (opcode.startsWith(QLatin1String("Open")) || opcode == QLatin1String("ReopenIdx") ||
            opcode == QLatin1String("TableLock"))
            fields[2].clear();
        if (opcode == QLatin1String("Transaction")) {
            fields[3].clear();
            fields[4].clear();
        }
        program << fields.join(QLatin1Char(' '));
    }
    return program;
}

// CHECK constraints are left out of what SQLite compiles while this is alive.
struct ChecksIgnored {
    explicit ChecksIgnored(sqlite3* db) : db(db)
    {
        sqlite3_exec(db, "PRAGMA ignore_check_constraints = ON", nullptr, nullptr, nullptr);
    }
    ~ChecksIgnored() { sqlite3_exec(db, "PRAGMA ignore_check_constraints = OFF", nullptr, nullptr, nullptr); }
    sqlite3* db;
};

Table readTable(Reader& sql, const QString& name)
{
    Table table;
    table.name = name;
    for (const QStringList& row : sql.rows(QStringLiteral("SELECT type, wr, strict FROM pragma_table_list(?) "
                                                          "WHERE schema = 'main'"),
                                           {name})) {
        table.kind = row[0];
        table.withoutRowid = row[1] == QLatin1String("1");
        table.strict = row[2] == QLatin1String("1");
    }
    QStringList written;
    for (const QStringList& row :
         sql.rows(QStringLiteral("SELECT name, upper(type), \"notnull\", dflt_value IS NOT NULL, dflt_value, pk, "
                                 "hidden FROM pragma_table_xinfo(?, 'main') ORDER BY cid"),
                  {name})) {
        Column column{row[0], row[1], row[2] == QLatin1String("1"), std::nullopt, row[5].toInt(), row[6].toInt(), {}, false};
        if (row[3] == QLatin1String("1")) column.defaultValue = row[4];
        const char* collation = nullptr;
        int autoIncrement = 0;
        if (sqlite3_table_column_metadata(sql.db(), "main", name.toUtf8().constData(), column.name.toUtf8().constData(),
                                          nullptr, &collation, nullptr, nullptr, &autoIncrement) == SQLITE_OK) {
            column.collation = QString::fromUtf8(collation).toUpper();
            column.autoIncrement = autoIncrement != 0;
        } else {
            column.collation = QStringLiteral("(not reported)");
        }
        if (column.hidden == 0) written << quotedName(column.name);
        table.columns.push_back(column);
    }
    for (const QStringList& row : sql.rows(QStringLiteral("SELECT name, \"unique\", origin, partial FROM "
                                                          "pragma_index_list(?, 'main') ORDER BY name"),
                                           {name})) {
        Index index{row[0], row[1] == QLatin1String("1"), row[2], row[3] == QLatin1String("1"), {}};
        for (const QStringList& part : sql.rows(QStringLiteral("SELECT cid, lower(name), \"desc\", upper(coll), key "
                                                               "FROM pragma_index_xinfo(?, 'main') ORDER BY seqno"),
                                                {row[0]}))
            index.columns << part.join(QLatin1Char('|'));
        table.indexes.push_back(index);
    }
    for (const QStringList& row : sql.rows(QStringLiteral("SELECT \"from\", \"table\", \"to\", on_update, on_delete, "
                                                          "\"match\" FROM pragma_foreign_key_list(?, 'main') "
                                                          "ORDER BY id, seq"),
                                           {name}))
        table.foreignKeys.push_back(
            {QStringLiteral("%1 to %2").arg(row[0], row[1]) + (row[2].isNull() ? QString() : QStringLiteral(" (%1)").arg(row[2])),
             row[3], row[4], row[5]});
    if (written.isEmpty()) return table;
    const QString insert = QStringLiteral(" INTO main.%1 (%2) VALUES (%3)")
                               .arg(quotedName(name), written.join(QStringLiteral(", ")),
                                    QStringList(written.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    {
        ChecksIgnored ignored(sql.db());
        table.writes[0] = compiled(sql, QStringLiteral("INSERT OR ABORT") + insert);
    }
    table.writes[1] = compiled(sql, QStringLiteral("INSERT OR ABORT") + insert);
    table.writes[2] = compiled(sql, QStringLiteral("INSERT") + insert);
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
    if (e.type == QLatin1String("trigger"))
        return QStringLiteral("the trigger %1 on %2").arg(shownName(e.name), shownName(e.table));
    if (e.type == QLatin1String("view")) return QStringLiteral("the view %1").arg(shownName(e.name));
    if (e.type == QLatin1String("index"))
        return QStringLiteral("the index %1 on %2").arg(shownName(e.name), shownName(e.table));
    if (e.type == QLatin1String("table")) return QStringLiteral("the table %1").arg(shownName(e.name));
    return QStringLiteral("the %1 %2").arg(shownName(e.type), shownName(e.name));
}

const Column* columnNamed(const Table& table, const QString& name)
{
    for (const Column& c : table.columns)
        if (asciiLower(c.name) == asciiLower(name)) return &c;
    return nullptr;
}

const Index* indexNamed(const Table& table, const QString& name)
{
    for (const Index& i : table.indexes)
        if (asciiLower(i.name) == asciiLower(name)) return &i;
    return nullptr;
}

bool sameIndex(const Index& a, const Index& b)
{
    return a.unique == b.unique && a.origin == b.origin && a.partial == b.partial && a.columns == b.columns;
}

// The column SQLite numbers new rows with (an INTEGER PRIMARY KEY of a table
// with rowids); empty when there is none.
QString rowidKey(const Table& table)
{
    if (table.withoutRowid || table.kind != QLatin1String("table")) return {};
    const Column* key = nullptr;
    for (const Column& c : table.columns) {
        if (c.key == 0) continue;
        if (key) return {};
        key = &c;
    }
    for (const Index& index : table.indexes)
        if (index.origin == QLatin1String("pk")) return {};
    return key && key->type == QLatin1String("INTEGER") ? asciiLower(key->name) : QString();
}

// What a column has beyond (or without) the program's own, in words.
void compareColumn(const Column& mine, const Column& own, bool key, QStringList& has)
{
    const QString& name = own.name;
    if (mine.type != own.type && !key)
        has << QStringLiteral("the column %1 declared \"%2\", not \"%3\"").arg(name, mine.type, own.type);
    if (mine.notNull != own.notNull)
        has << (mine.notNull ? QStringLiteral("a NOT NULL constraint on %1") : QStringLiteral("%1 without NOT NULL"))
                   .arg(name);
    if (mine.defaultValue != own.defaultValue) has << QStringLiteral("a default value on %1").arg(name);
    if (mine.key != own.key && !key) has << QStringLiteral("a PRIMARY KEY that differs on %1").arg(name);
    if (mine.hidden != own.hidden) has << QStringLiteral("a generated column %1").arg(name);
    if (mine.collation != own.collation)
        has << QStringLiteral("a collation (%1) on %2").arg(mine.collation, name);
    if (mine.autoIncrement != own.autoIncrement && !key)
        has << (mine.autoIncrement ? QStringLiteral("AUTOINCREMENT on %1")
                                   : QStringLiteral("%1 without AUTOINCREMENT, which hands out a deleted loan's key "
                                                    "again"))
                   .arg(name);
}

// `entries`: the schema's entries on the table differ too (a trigger, an
// index), which the compiled writes show as well.
void compareTable(const Table& mine, const Table& own, bool entries, Differences& d)
{
    QStringList has;
    QStringList absent;
    const QString ownKey = rowidKey(own);
    const bool keyLost = !ownKey.isEmpty() && rowidKey(mine) != ownKey;
    if (keyLost) {
        const Column* key = columnNamed(mine, ownKey);
        d.found << QStringLiteral("the column %1 of %2 is not an INTEGER PRIMARY KEY that numbers new loans by "
                                  "itself (it is declared \"%3\"%4)")
                       .arg(columnNamed(own, ownKey)->name, own.name, key ? key->type : QString(),
                            mine.withoutRowid ? QStringLiteral(" in a table WITHOUT ROWID") : QString());
        ++d.count;
    }
    if (mine.kind != own.kind) has << QStringLiteral("the form of a %1 table").arg(mine.kind);
    if (mine.withoutRowid != own.withoutRowid) has << QStringLiteral("no rowid (WITHOUT ROWID)");
    if (mine.strict != own.strict) has << QStringLiteral("the STRICT option");
    QStringList mineOrder;
    QStringList ownOrder;
    for (const Column& c : own.columns) {
        const Column* found = columnNamed(mine, c.name);
        if (!found) {
            absent << c.name;
            continue;
        }
        ownOrder << asciiLower(c.name);
        compareColumn(*found, c, keyLost && asciiLower(c.name) == ownKey, has);
    }
    for (const Column& c : mine.columns) {
        if (columnNamed(own, c.name)) mineOrder << asciiLower(c.name);
        else if (c.hidden >= 2) has << QStringLiteral("a generated column %1").arg(shownName(c.name));
        else has << QStringLiteral("another column %1").arg(shownName(c.name));
    }
    if (mineOrder != ownOrder) has << QStringLiteral("its columns in another order");
    for (const Index& index : mine.indexes) {
        const Index* ownIndex = indexNamed(own, index.name);
        if (ownIndex && !sameIndex(*ownIndex, index))
            has << QStringLiteral("the index %1 declared differently").arg(shownName(index.name));
        else if (!ownIndex && index.origin == QLatin1String("u"))
            has << QStringLiteral("a UNIQUE constraint");
        else if (!ownIndex && index.origin == QLatin1String("pk") && !keyLost)
            has << QStringLiteral("a PRIMARY KEY constraint");
        // Indexes made by CREATE INDEX are the schema's own entries.
    }
    for (const ForeignKey& key : mine.foreignKeys) {
        if (std::any_of(own.foreignKeys.begin(), own.foreignKeys.end(), [&key](const ForeignKey& k) {
                return asciiLower(k.reference) == asciiLower(key.reference) && k.onUpdate == key.onUpdate &&
                       k.onDelete == key.onDelete && k.match == key.match;
            }))
            continue;
        has << QStringLiteral("a foreign key (%1)").arg(key.reference);
        if (key.onUpdate != QLatin1String("NO ACTION"))
            has << QStringLiteral("a foreign-key action (ON UPDATE %1)").arg(key.onUpdate);
        if (key.onDelete != QLatin1String("NO ACTION"))
            has << QStringLiteral("a foreign-key action (ON DELETE %1)").arg(key.onDelete);
    }
    // What only the compiled writes show.
    if (mine.writes[0] != mine.writes[1] && own.writes[0] == own.writes[1]) has << QStringLiteral("a CHECK constraint");
    if (mine.writes[1] != mine.writes[2] && own.writes[1] == own.writes[2])
        has << QStringLiteral("a conflict clause (ON CONFLICT)");
    if (has.isEmpty() && absent.isEmpty() && !keyLost && !entries && mine.writes != own.writes)
        has << QStringLiteral("a constraint that SQLite checks on every save");
    if (!has.isEmpty()) d.found << QStringLiteral("the table %1 has %2").arg(own.name, listed(has));
    if (absent.size() == 1) d.missing << QStringLiteral("the table %1 has no column %2").arg(own.name, absent.first());
    if (absent.size() > 1)
        d.missing << QStringLiteral("the table %1 has no columns %2").arg(own.name, absent.join(QStringLiteral(", ")));
    d.count += int(has.size() + absent.size());
}

QString addedColumn(const QString& table, const Column& c)
{
    QString statement = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(quotedName(table), quotedName(c.name), c.type);
    if (c.notNull) statement += QStringLiteral(" NOT NULL");
    if (c.defaultValue) statement += QStringLiteral(" DEFAULT ") + *c.defaultValue;
    if (c.collation != QLatin1String("BINARY")) statement += QStringLiteral(" COLLATE ") + c.collation;
    return statement;
}

}  // namespace

std::variant<Layout, Failure> read(sqlite3* db, const std::set<QString>* detailed)
{
    Reader sql(db);
    Layout layout;
    // SQLite's own tables: AUTOINCREMENT's counters (the columns show
    // AUTOINCREMENT) and ANALYZE's statistics; an index a UNIQUE or PRIMARY
    // KEY clause makes shows in its table's index list.
    for (const QStringList& row : sql.rows(QStringLiteral(
             "SELECT type, name, tbl_name, sql FROM main.sqlite_master WHERE NOT (type = 'table' AND name IN "
             "('sqlite_sequence', 'sqlite_stat1', 'sqlite_stat2', 'sqlite_stat3', 'sqlite_stat4')) AND NOT "
             "(type = 'index' AND sql IS NULL) ORDER BY rowid")))
        layout.entries.push_back({row[0], row[1], row[2], row[3]});
    for (const Entry& e : layout.entries)
        if (e.type == QLatin1String("table") && (!detailed || detailed->count(asciiLower(e.name))))
            layout.tables[asciiLower(e.name)] = readTable(sql, e.name);
    if (sql.failure) return *sql.failure;
    return layout;
}

Differences compare(const Layout& store, const Layout& own)
{
    Differences d;
    QStringList missingTables;
    std::set<QString> touched;  // tables with an entry more or less
    for (const Entry& e : own.entries) {
        if (holds(store, e)) continue;
        // An index of the program's own that is missing loses or changes nothing.
        if (e.type == QLatin1String("table")) missingTables << e.name;
        touched.insert(asciiLower(e.table));
    }
    if (missingTables.size() == 1) d.missing << QStringLiteral("the table %1 is missing").arg(missingTables.first());
    if (missingTables.size() > 1)
        d.missing << QStringLiteral("the tables %1 are missing").arg(missingTables.join(QStringLiteral(" and ")));
    for (const Entry& e : store.entries) {
        if (holds(own, e)) continue;
        d.found << entryText(e);
        touched.insert(asciiLower(e.table));
    }
    d.count = int(missingTables.size() + d.found.size());
    for (const auto& [name, table] : own.tables) {
        const auto mine = store.tables.find(name);
        if (mine != store.tables.end()) compareTable(mine->second, table, touched.count(name) > 0, d);
    }
    return d;
}

std::variant<QStringList, QString> upgrade(const Layout& from, const Layout& to)
{
    QStringList statements;
    for (const Entry& e : from.entries)
        if (!holds(to, e)) return QStringLiteral("%1 is not in the later layout").arg(entryText(e));
    for (const Entry& e : to.entries) {
        if (e.type != QLatin1String("table")) continue;
        const auto before = from.tables.find(asciiLower(e.name));
        if (before == from.tables.end()) {
            statements << e.sql;
            continue;
        }
        const std::vector<Column>& old = before->second.columns;
        const std::vector<Column>& later = to.tables.at(asciiLower(e.name)).columns;
        if (old.size() > later.size() || !std::equal(old.begin(), old.end(), later.begin()))
            return QStringLiteral("the table %1 changes more than its last columns").arg(e.name);
        for (size_t i = old.size(); i < later.size(); ++i) statements << addedColumn(e.name, later[i]);
    }
    for (const Entry& e : to.entries)
        if (e.type != QLatin1String("table") && !holds(from, e)) statements << e.sql;
    return statements;
}

}  // namespace StoreLayout
