#include "LocaleText.h"

#include "Money.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace LocaleText {

namespace {

// -0.0 and values that round to zero cents must never print a minus sign.
double cents(double value)
{
    const double r = engine::roundToCents(value);
    return r == 0.0 ? 0.0 : r;
}

bool startsWithAt(const QString& s, qsizetype pos, const QString& part)
{
    return !part.isEmpty() && QStringView(s).mid(pos).startsWith(part);
}

// Takes a leading sign off `s` (trimmed); true when one was there.
bool takeSign(QString& s, const QLocale& loc, bool& negative)
{
    for (const QString& minus : {loc.negativeSign(), QStringLiteral("-"), QString(QChar(0x2212))}) {
        if (startsWithAt(s, 0, minus)) {
            negative = true;
            s = s.mid(minus.size()).trimmed();
            return true;
        }
    }
    for (const QString& plus : {loc.positiveSign(), QStringLiteral("+")}) {
        if (startsWithAt(s, 0, plus)) {
            s = s.mid(plus.size()).trimmed();
            return true;
        }
    }
    return false;
}

// Takes the currency symbol (or ISO code) off either end of `s`.
bool takeCurrency(QString& s, const QLocale& loc)
{
    for (const QString& symbol : {loc.currencySymbol(QLocale::CurrencySymbol),
                                  loc.currencySymbol(QLocale::CurrencyIsoCode)}) {
        if (symbol.isEmpty()) continue;
        if (s.startsWith(symbol)) {
            s = s.mid(symbol.size()).trimmed();
            return true;
        }
        if (s.endsWith(symbol)) {
            s.chop(symbol.size());
            s = s.trimmed();
            return true;
        }
    }
    return false;
}

bool isGroupSeparator(QChar c, const QLocale& loc)
{
    const QString group = loc.groupSeparator();
    if (group.size() == 1 && c == group.at(0)) return true;
    // Locales that group with a (narrow) no-break space also take a typed blank.
    return group.size() == 1 && group.at(0).isSpace() && c.isSpace();
}

// Digits with group separators in the integer part and at most one decimal
// separator; no exponent, no letters. Returns the C form ("1234.5").
std::optional<QByteArray> plainDigits(const QString& s, const QLocale& loc)
{
    const QString decimal = loc.decimalPoint();
    QByteArray out;
    bool seenDecimal = false;
    bool seenDigit = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isDigit()) {
            out.append(char('0' + c.digitValue()));
            seenDigit = true;
        } else if (!seenDecimal && startsWithAt(s, i, decimal)) {
            out.append('.');
            seenDecimal = true;
            i += decimal.size() - 1;
        } else if (!seenDecimal && seenDigit && isGroupSeparator(c, loc)) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit) return std::nullopt;
    return out;
}

QChar dateSeparator(const QLocale& loc)
{
    const QString format = loc.dateFormat(QLocale::ShortFormat);
    for (QChar c : format)
        if (!c.isLetter() && c != QLatin1Char('\'')) return c;
    return QLatin1Char('/');
}

// The order of day ('d'), month ('M') and year ('y') in the short date format;
// month, day, year when the format does not name all three.
QString shortDateOrder(const QLocale& loc)
{
    const QString format = loc.dateFormat(QLocale::ShortFormat);
    QString order;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) &&
                 !order.contains(c))
            order.append(c);
    }
    return order.size() == 3 ? order : QStringLiteral("Mdy");
}

// The locale's short date format with day and month taking one or two digits
// and the year written with `yearLetters` ("yyyy" or "yy").
QString shortReadFormat(const QLocale& loc, const QString& yearLetters)
{
    static const QRegularExpression year(QStringLiteral("y+"));
    static const QRegularExpression day(QStringLiteral("(?<!d)dd(?!d)"));
    static const QRegularExpression month(QStringLiteral("(?<!M)MM(?!M)"));
    QString format = loc.dateFormat(QLocale::ShortFormat);
    format.replace(year, yearLetters);
    format.replace(day, QStringLiteral("d"));
    format.replace(month, QStringLiteral("M"));
    return format;
}

// The locale's short date format with any two-digit year widened to four.
QString fourDigitShortFormat(const QLocale& loc)
{
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    QString format = loc.dateFormat(QLocale::ShortFormat);
    format.replace(twoDigitYear, QStringLiteral("yyyy"));
    return format;
}

// Day, month and a two-digit year in the short date's order and separator,
// as typed or as the results table writes them: 00-29 is this century, 30-99
// the last. Read by hand, so 29 February 2000 is not lost to the 1900 that
// Qt's own two-digit year would give.
QDate twoDigitYearDate(const QString& s, const QLocale& loc)
{
    const QStringList parts = s.split(dateSeparator(loc));
    const QString order = shortDateOrder(loc);
    if (parts.size() != 3) return {};
    int day = 0, month = 0, year = -1;
    for (int i = 0; i < 3; ++i) {
        const QString& part = parts[i];
        const bool isYear = order[i] == QLatin1Char('y');
        if (part.isEmpty() || part.size() > 2 || (isYear && part.size() != 2)) return {};
        int value = 0;
        for (QChar c : part) {
            if (!c.isDigit()) return {};
            value = value * 10 + c.digitValue();
        }
        if (isYear) year = value < 30 ? 2000 + value : 1900 + value;
        else if (order[i] == QLatin1Char('d')) day = value;
        else month = value;
    }
    return QDate(year, month, day);
}

}  // namespace

void useRegionalSettings()
{
    const QLocale system = QLocale::system();
    QLocale::setDefault(system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                                        : system);
}

std::optional<double> readNumber(const QString& text)
{
    const QLocale loc;
    QString s = text.trimmed();
    if (s.isEmpty()) return std::nullopt;

    bool negative = false;
    if (s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'))) {
        negative = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    // Sign and symbol come in either order: "-$5", "$-5", "5 €", "-5 €".
    bool signed_ = !negative && takeSign(s, loc, negative);
    takeCurrency(s, loc);
    if (!signed_ && !negative) takeSign(s, loc, negative);
    if (s.isEmpty()) return std::nullopt;

    const auto digits = plainDigits(s, loc);
    if (!digits) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(digits->constData(), &end);
    if (end != digits->constData() + digits->size() || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

QString currencyText(double value)
{
    if (!std::isfinite(value)) return {};
    const QLocale loc;
    const double r = cents(value);
    const double magnitude = std::fabs(r);
    QString number = loc.toString(magnitude, 'f', 2);
    QString text = loc.toCurrencyString(magnitude, loc.currencySymbol(), 2);
    if (magnitude < 1.0 && number.startsWith(loc.zeroDigit())) {
        const QString bare = number.mid(loc.zeroDigit().size());
        text.replace(number, bare);
    }
    return r < 0 ? loc.negativeSign() + text : text;
}

QString regionalCurrencyText(double value)
{
    if (!std::isfinite(value)) return {};
    const QLocale loc;
    return loc.toCurrencyString(cents(value), loc.currencySymbol(), 2);
}

QString groupedAmount(double value)
{
    if (!std::isfinite(value)) return {};
    return QLocale().toString(cents(value), 'f', 2);
}

QString paymentNumberText(int number)
{
    const QString digits = QStringLiteral("%1").arg(std::abs(number), 3, 10, QLatin1Char('0'));
    return number < 0 ? QStringLiteral("-") + digits : digits;
}

QString tableDateText(const QDate& date)
{
    if (!date.isValid()) return {};
    const QLocale loc;
    QStringList fields;
    for (QChar field : shortDateOrder(loc)) {
        const int value = field == QLatin1Char('d')   ? date.day()
                          : field == QLatin1Char('M') ? date.month()
                                                      : ((date.year() % 100) + 100) % 100;
        fields.append(QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')));
    }
    return fields.join(dateSeparator(loc));
}

QString shortDateText(const QDate& date)
{
    if (!date.isValid()) return {};
    const QLocale loc;
    return loc.toString(date, fourDigitShortFormat(loc));
}

std::optional<QDate> readShortDate(const QString& text)
{
    const QLocale loc;
    const QString s = text.trimmed();
    if (s.isEmpty()) return std::nullopt;
    QDate date = loc.toDate(s, shortReadFormat(loc, QStringLiteral("yyyy")));
    if (!date.isValid()) date = twoDigitYearDate(s, loc);
    if (!date.isValid()) return std::nullopt;
    return date;
}

QString plainNumberText(double value)
{
    const QLocale loc;
    if (!std::isfinite(value)) return {};
    if (value == 0.0) return loc.toString(0);
    // Fixed notation with up to 15 significant digits: never an exponent, so
    // readNumber always takes the text back.
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(14 - magnitude, 0, 340);
    QString text = QString::number(std::fabs(value), 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    if (text == QLatin1String("0")) return loc.toString(0);
    text.replace(QLatin1Char('.'), loc.decimalPoint());
    return value < 0 ? loc.negativeSign() + text : text;
}

QDate toQDate(std::chrono::year_month_day date)
{
    if (!date.ok()) return {};
    return QDate(int(date.year()), int(unsigned(date.month())), int(unsigned(date.day())));
}

std::chrono::year_month_day toYmd(const QDate& date)
{
    return std::chrono::year_month_day{std::chrono::year{date.year()},
                                       std::chrono::month{unsigned(date.month())},
                                       std::chrono::day{unsigned(date.day())}};
}

}  // namespace LocaleText
