#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <utility>
#include <variant>
#include <vector>

struct sqlite3;

// A database's layout as SQLite itself reports it. Of each table: its columns
// (PRAGMA table_xinfo, with the collation and AUTOINCREMENT that
// sqlite3_table_column_metadata() adds), its indexes (index_list,
// index_xinfo), its foreign keys (foreign_key_list), and what the program
// SQLite compiles to write a row shows beyond them (a CHECK constraint, a
// conflict clause). Two files of equal layouts hold and write loans alike,
// however their CREATE statements are spelled (the order of a table's
// columns aside: the program names them in every statement).
namespace StoreLayout {

struct Entry {
    QString type;   // "table", "index", "trigger", "view"
    QString name;   // as declared
    QString table;  // the table an index or trigger belongs to
    QString sql;    // its CREATE statement as stored
};

struct Table {
    QString name;
    // Each column's name and the rest of its declaration as SQLite reports
    // it ("REAL NOT NULL DEFAULT 0"), in order.
    std::vector<std::pair<QString, QString>> columns;
    // Everything about the table in words ("the column "Amount" REAL", "a
    // UNIQUE constraint on ("Description")", "a CHECK constraint"): what a
    // message names.
    QStringList facts;
};

struct Layout {
    std::vector<Entry> entries;       // in the schema's order, without SQLite's own tables
    std::map<QString, Table> tables;  // by name in lower case
};

// The layout of the main database on `db`. A failure: SQLite's extended
// result code and message.
struct Failure {
    int code = 0;
    QString message;
};
std::variant<Layout, Failure> read(sqlite3* db);

// A store's layout against one of the program's own: what it lacks and what
// it holds beyond it, in words; `count` facts in all.
struct Differences {
    QStringList missing;
    QStringList found;
    int count = 0;
};
Differences compare(const Layout& store, const Layout& own);

// The statements that bring a database of layout `from` to layout `to`: each
// table `to` adds, each column it adds at the end of a table, then its new
// indexes, triggers and views. An error text when `to` changes more.
std::variant<QStringList, QString> upgrade(const Layout& from, const Layout& to);

}  // namespace StoreLayout
