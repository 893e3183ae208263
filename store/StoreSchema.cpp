#include "StoreSchema.h"

#include "SqlFailure.h"
#include "StoreSchemaText.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <vector>

namespace StoreSchema {

namespace {

struct Token {
    QString text;
    bool word = false;  // an unquoted keyword or name, which may name a clause
};

// SQLite folds only ASCII letters in names; folding more would let a
// look-alike letter pass for one of the program's own names.
QString asciiLower(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + 32);
    return out;
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c.unicode() >= 0x80;
}

// Up to the closing `close`, a doubled one standing for itself; `at` ends after it.
QString quoted(const QString& s, qsizetype& at, QChar close)
{
    QString inner;
    ++at;
    while (at < s.size()) {
        if (s[at] == close) {
            if (close != QLatin1Char(']') && at + 1 < s.size() && s[at + 1] == close) {
                inner += close;
                at += 2;
                continue;
            }
            ++at;
            return inner;
        }
        inner += s[at++];
    }
    return inner;
}

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> out;
    qsizetype at = 0;
    const qsizetype n = s.size();
    while (at < n) {
        const QChar c = s[at];
        const QChar next = at + 1 < n ? s[at + 1] : QChar();
        if (c.isSpace()) {
            ++at;
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            while (at < n && s[at] != QLatin1Char('\n')) ++at;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = s.indexOf(QLatin1String("*/"), at + 2);
            at = end < 0 ? n : end + 2;
        } else if (c == QLatin1Char('\'')) {
            const qsizetype start = at;
            quoted(s, at, c);
            out.push_back({s.mid(start, at - start), false});
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`')) {
            out.push_back({asciiLower(quoted(s, at, c)), false});
        } else if (c == QLatin1Char('[')) {
            out.push_back({asciiLower(quoted(s, at, QLatin1Char(']'))), false});
        } else if (isNameChar(c) && !c.isDigit()) {
            const qsizetype start = at;
            while (at < n && isNameChar(s[at])) ++at;
            out.push_back({asciiLower(QStringView(s).mid(start, at - start)), true});
        } else if (c.isDigit() || (c == QLatin1Char('.') && next.isDigit())) {
            const qsizetype start = at;
            while (at < n && (s[at].isLetterOrNumber() || s[at] == QLatin1Char('.') ||
                              ((s[at] == QLatin1Char('+') || s[at] == QLatin1Char('-')) &&
                               (s[at - 1] == QLatin1Char('e') || s[at - 1] == QLatin1Char('E')))))
                ++at;
            out.push_back({asciiLower(QStringView(s).mid(start, at - start)), false});
        } else {
            out.push_back({QString(c), false});
            ++at;
        }
    }
    return out;
}

QStringList texts(const std::vector<Token>& tokens)
{
    QStringList out;
    for (const Token& t : tokens) out << t.text;
    return out;
}

// A schema text's statements without their comments, split at their
// semicolons (the program's own schema has no literal holding "--" or ";").
QStringList statementTexts(const char* schemaText)
{
    QString withoutComments;
    for (const QString& line : QString::fromUtf8(schemaText).split(QLatin1Char('\n'))) {
        const qsizetype dash = line.indexOf(QLatin1String("--"));
        withoutComments += (dash >= 0 ? line.left(dash) : line) + QLatin1Char('\n');
    }
    QStringList out;
    for (const QString& part : withoutComments.split(QLatin1Char(';')))
        if (!part.trimmed().isEmpty()) out << part.trimmed();
    return out;
}

// A CREATE statement's kind and name ("table tblloandetail"); empty for others.
QString keyOf(const QStringList& statement)
{
    if (statement.size() > 2 && statement[0] == QLatin1String("create"))
        return statement[1] + QLatin1Char(' ') + statement[2];
    return {};
}

using Statements = QHash<QString, QStringList>;

Statements statementsOf(const char* schemaText)
{
    Statements own;
    for (const QString& statement : statementTexts(schemaText)) {
        const QStringList words = tokens(statement);
        if (const QString key = keyOf(words); !key.isEmpty()) own.insert(key, words);
    }
    // SQLite's own, for AUTOINCREMENT.
    own.insert(QStringLiteral("table sqlite_sequence"), tokens(QStringLiteral("CREATE TABLE sqlite_sequence(name,seq)")));
    return own;
}

// The program's own statements by kind and name ("table tblloandetail"), as
// a store of the given version holds them.
const Statements& ownStatements(int version)
{
    static const Statements current = statementsOf(kOwnSchemaText);
    static const Statements version0 = statementsOf(kVersion0SchemaText);
    return version == 0 ? version0 : current;
}

// A name from the file as a message shows it: on one line, and not too long.
QString shownName(const QString& name)
{
    QString shown = name.simplified();
    if (shown.size() > 60) shown = shown.left(59) + QChar(0x2026);
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

// What a table's own declaration holds beyond the program's, in words.
QString clausesOf(const std::vector<Token>& tokens)
{
    QStringList found;
    auto add = [&found](const QString& what) {
        if (!found.contains(what)) found << what;
    };
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].word) continue;
        const QString& t = tokens[i].text;
        const QString next = i + 1 < tokens.size() ? tokens[i + 1].text : QString();
        if (t == QLatin1String("check")) add(QStringLiteral("a CHECK constraint"));
        else if (t == QLatin1String("unique")) add(QStringLiteral("a UNIQUE constraint"));
        else if (t == QLatin1String("conflict")) add(QStringLiteral("a conflict clause (ON CONFLICT)"));
        else if (t == QLatin1String("references")) add(QStringLiteral("a foreign key"));
        else if (t == QLatin1String("on") && (next == QLatin1String("delete") || next == QLatin1String("update")))
            add(QStringLiteral("a foreign-key action (ON %1)").arg(next.toUpper()));
        else if (t == QLatin1String("generated") || (t == QLatin1String("as") && next == QLatin1String("(")))
            add(QStringLiteral("a generated column"));
        else if (t == QLatin1String("default")) add(QStringLiteral("a default value"));
        else if (t == QLatin1String("collate")) add(QStringLiteral("a collation"));
        else if (t == QLatin1String("not") && next == QLatin1String("null")) add(QStringLiteral("a NOT NULL constraint"));
    }
    if (found.isEmpty()) return QStringLiteral("is declared differently from this program's own");
    if (found.size() == 1) return QStringLiteral("has ") + found.first();
    const QString last = found.takeLast();
    return QStringLiteral("has ") + found.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

}  // namespace

QStringList tokens(const QString& statement)
{
    return texts(tokenize(statement));
}

QStringList statementsAddedByVersion1()
{
    QStringList added;
    for (const QString& statement : statementTexts(kOwnSchemaText)) {
        const QString key = keyOf(tokens(statement));
        if (!key.isEmpty() && !ownStatements(0).contains(key)) added << statement;
    }
    return added;
}

std::optional<engine::NumberedError> checkOwnSchema(const QSqlDatabase& db, const QString& path, int version)
{
    const Statements& own = ownStatements(version);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid")))
        return SqlFailure::whileDoing(query.lastError(), QStringLiteral("The store %1 cannot be read").arg(path));
    QStringList found;
    while (query.next()) {
        const QString type = query.value(0).toString();
        const QString name = query.value(1).toString();
        const QString table = query.value(2).toString();
        const QString key = asciiLower(type) + QLatin1Char(' ') + asciiLower(name);
        // SQLite's automatic index of a UNIQUE or PRIMARY KEY clause, which
        // its table's declaration already shows.
        if (type == QLatin1String("index") && query.value(3).isNull() &&
            name.startsWith(QLatin1String("sqlite_autoindex_")))
            continue;
        const auto ownStatement = own.constFind(key);
        const std::vector<Token> declared = tokenize(query.value(3).toString());
        if (ownStatement != own.constEnd() && !query.value(3).isNull() && texts(declared) == *ownStatement)
            continue;
        if (ownStatement != own.constEnd() && type == QLatin1String("table"))
            found << QStringLiteral("the table %1 %2").arg(name, clausesOf(declared));
        else if (type == QLatin1String("trigger"))
            found << QStringLiteral("the trigger %1 on %2").arg(shownName(name), shownName(table));
        else if (type == QLatin1String("view"))
            found << QStringLiteral("the view %1").arg(shownName(name));
        else if (type == QLatin1String("index"))
            found << QStringLiteral("the index %1 on %2").arg(shownName(name), shownName(table));
        else if (type == QLatin1String("table"))
            found << QStringLiteral("the table %1").arg(shownName(name));
        else
            found << QStringLiteral("the %1 %2").arg(shownName(type), shownName(name));
    }
    if (auto stopped = SqlFailure::stoppedEarly(query, QStringLiteral("The store %1 cannot be read").arg(path)))
        return stopped;
    if (found.isEmpty()) return std::nullopt;
    constexpr qsizetype kNamed = 5;
    QString list = found.mid(0, kNamed).join(QStringLiteral("; "));
    if (found.size() > kNamed) list += QStringLiteral("; and %1 more").arg(found.size() - kNamed);
    return SqlFailure::numbered(
        SqlFailure::NotADatabase,
        QStringLiteral("The store %1 is not a Brimvale database: it holds what this program does not create, which "
                       "could change or remove loans behind its back on every save, so it is not opened. Found: %2.")
            .arg(path, list));
}

}  // namespace StoreSchema
