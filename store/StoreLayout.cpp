#include "StoreLayout.h"

#include "SqlFailure.h"

#include <QMap>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace {

// A failure while the layout is read: a file that is no database (or a
// damaged one) is "not a Brimvale database"; anything else says why it
// cannot be read.
engine::NumberedError layoutFailure(const QSqlError& error, const QString& path)
{
    QString cause;
    const int number = SqlFailure::causeOf(error, cause);
    const int primary = number & 0xff;
    const bool notOurs =
        number == SqlFailure::Failure || primary == SqlFailure::NotADatabase || primary == SqlFailure::Damaged;
    return SqlFailure::numbered(number == SqlFailure::Failure ? SqlFailure::NotADatabase : number,
                                (notOurs ? QStringLiteral("The store %1 is not a Brimvale database: %2")
                                         : QStringLiteral("The store %1 cannot be read: %2"))
                                    .arg(path, cause));
}

engine::NumberedError notOurs(const QString& path, const QString& why)
{
    return SqlFailure::numbered(SqlFailure::NotADatabase,
                                QStringLiteral("The store %1 is not a Brimvale database: %2.").arg(path, why));
}

}  // namespace

std::variant<int, engine::NumberedError> readStoreVersion(const QSqlDatabase& db, const QString& path)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return layoutFailure(query.lastError(), path);
    return query.value(0).toInt();
}

std::optional<engine::NumberedError> checkStoreLayout(const QSqlDatabase& db, const QString& path, int version)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral(
            "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND lower(name) IN ('tblloandetail', "
            "'tblextrapayments', 'tblratechanges')")))
        return layoutFailure(query.lastError(), path);
    // SQLite's names are the same in any letter case: "TBLLOANDETAIL" is tblLoanDetail.
    QMap<QString, QString> found;
    QStringList tableNames{QStringLiteral("tblLoanDetail"), QStringLiteral("tblExtraPayments")};
    if (version >= 1) tableNames << QStringLiteral("tblRateChanges");
    while (query.next()) {
        const QString name = query.value(0).toString();
        for (const QString& table : tableNames)
            if (name.compare(table, Qt::CaseInsensitive) == 0) found.insert(table, query.value(1).toString());
    }
    if (query.lastError().type() != QSqlError::NoError) return layoutFailure(query.lastError(), path);
    QStringList missing;
    for (const QString& table : tableNames)
        if (!found.contains(table)) missing << table;
    if (missing.size() == 1) return notOurs(path, QStringLiteral("the table %1 is missing").arg(missing.first()));
    if (!missing.isEmpty())
        return notOurs(path, QStringLiteral("the tables %1 are missing").arg(missing.join(QStringLiteral(" and "))));

    struct Table {
        QString table;
        QStringList columns;
    };
    std::vector<Table> tables = {
        {QStringLiteral("tblLoanDetail"),
         {"SeqNo", "Description", "OrigAmount", "InterestRate", "Term", "TermType", "Frequency", "StartDate"}},
        {QStringLiteral("tblExtraPayments"), {"Loan_FK", "PaymentType", "StartDate", "EndDate", "Amount"}},
    };
    if (version >= 1) {
        tables[0].columns << QStringLiteral("Calculate") << QStringLiteral("Payment");
        tables.push_back({QStringLiteral("tblRateChanges"), {"Loan_FK", "FromDate", "AnnualRate", "Mode"}});
    }
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
