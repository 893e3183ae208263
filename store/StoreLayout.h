#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <optional>
#include <set>
#include <variant>
#include <vector>

struct sqlite3;

// A database's layout as SQLite itself reports it: the entries of its schema
// and, of each table, what PRAGMA table_list, table_xinfo, index_list,
// index_xinfo and foreign_key_list show, what sqlite3_table_column_metadata()
// adds (collation, AUTOINCREMENT), and the program SQLite compiles to write a
// row into it (which shows a CHECK constraint or a conflict clause). Two
// layouts that are equal hold and write loans alike, whatever their CREATE
// statements' spelling.
namespace StoreLayout {

struct Entry {
    QString type;   // "table", "index", "trigger", "view"
    QString name;   // as declared
    QString table;  // the table an index or trigger belongs to
    QString sql;    // its CREATE statement as stored
};

struct Column {
    QString name;
    QString type;  // declared, in capitals
    bool notNull = false;
    std::optional<QString> defaultValue;
    int key = 0;     // position in the primary key, 0 for none
    int hidden = 0;  // 2 or 3: a generated column
    QString collation;
    bool autoIncrement = false;
    bool operator==(const Column&) const = default;
};

struct Index {
    QString name;
    bool unique = false;
    QString origin;  // "c" CREATE INDEX, "u" UNIQUE, "pk" PRIMARY KEY
    bool partial = false;
    QStringList columns;
};

struct ForeignKey {
    QString reference;  // "Loan_FK to tblLoanDetail (SeqNo)"
    QString onUpdate;
    QString onDelete;
    QString match;
};

struct Table {
    QString name;
    QString kind;  // "table" or "virtual"
    bool withoutRowid = false;
    bool strict = false;
    std::vector<Column> columns;
    std::vector<Index> indexes;
    std::vector<ForeignKey> foreignKeys;
    // INSERT OR ABORT of every column with CHECK constraints ignored, the same
    // with them, and the plain INSERT the program runs.
    std::array<QStringList, 3> writes;
};

struct Layout {
    std::vector<Entry> entries;       // in the schema's order, without SQLite's own tables
    std::map<QString, Table> tables;  // by name in lower case
};

// The layout of the main database on `db`; of its tables only those named in
// `detailed` (in lower case) in full, or all without it. A failure: SQLite's
// extended result code and message.
struct Failure {
    int code = 0;
    QString message;
};
std::variant<Layout, Failure> read(sqlite3* db, const std::set<QString>* detailed = nullptr);

// A store's layout against one of the program's own: what it lacks ("the
// table tblRateChanges is missing") and what it holds beyond it, in words.
struct Differences {
    QStringList missing;
    QStringList found;
    int count = 0;
    bool none() const { return count == 0; }
};
Differences compare(const Layout& store, const Layout& own);

// The statements that bring a database of layout `from` to layout `to`: each
// table `to` adds, each column it adds at the end of a table, then its new
// indexes, triggers and views. An error text when `to` changes more.
std::variant<QStringList, QString> upgrade(const Layout& from, const Layout& to);

}  // namespace StoreLayout
