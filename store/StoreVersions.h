#pragma once

#include "NumberedError.h"
#include "StoreLayout.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <map>
#include <optional>
#include <variant>
#include <vector>

struct sqlite3;

// The versions of the store this program knows. Each is made from its schema
// file (built in), and everything else about it is read from that schema: its
// layout, the loan's row it reads and writes (the columns of tblLoanDetail
// but the key SeqNo), the lists of rows a loan has (each table with a Loan_FK
// column) and the statements for both. A store is the version whose layout
// it has, whatever PRAGMA user_version says (a copy made with the sqlite3
// shell's .dump loses it).
namespace StoreVersions {

// A list of rows a loan has, in store order. Its reading names the newest
// version's columns, NULL for those this version lacks.
struct List {
    QString table;
    QStringList columns;  // without Loan_FK
    QString read;         // a loan's rows by Loan_FK
    QString insert;       // one row: Loan_FK, then `columns`
    QString remove;       // a loan's rows by Loan_FK
};

struct Version {
    int number;
    const char* schema;
    StoreLayout::Layout layout;
    QStringList loanColumns;  // without SeqNo
    // The loan's row by SeqNo in the newest version's columns (NULL for those
    // this version lacks), then DescriptionType and DescriptionBytes: its
    // typeof() and its bytes.
    QString readLoan;
    QString insertLoan;  // `loanColumns`
    QString updateLoan;  // `loanColumns`, then SeqNo
    std::vector<List> lists;
    const List* list(const QString& table) const;
};

// Oldest first; the last is the one this program makes.
const std::vector<Version>& versions();
const Version& newest();

// The version whose layout the store on `db` has. A store of no known layout
// is refused: as made by a newer version when its PRAGMA user_version is
// above the newest, as of an unknown version when it is below 0, and
// otherwise as not a Brimvale database, naming what differs from the nearest
// known layout.
std::variant<int, engine::NumberedError> identify(sqlite3* db, const QString& path);

// The oldest version that holds every value given: each column whose value
// is not NULL (by name), and each list (by table) with a row. -1 for none.
int versionFor(const QVariantMap& loan, const std::map<QString, std::vector<QVariantMap>>& lists);

// Brings the store from version `from` up to `to`, inside the caller's
// transaction: the tables, the columns at the end of a table and the indexes
// each later version's schema adds. PRAGMA user_version is set to `to` too.
std::optional<engine::NumberedError> upgrade(const QSqlDatabase& db, int from, int to);

}  // namespace StoreVersions
