#include "LocaleText.h"

#include "Money.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>

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

// Characters that only steer the direction of the text (the marks around
// Arabic and Hebrew amounts and signs): never part of what the user means.
QString withoutFormatMarks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c.category() != QChar::Other_Format) out.append(c);
    return out;
}

// Takes a leading sign off `s` (trimmed); true when one was there.
bool takeSign(QString& s, const QLocale& loc, bool& negative)
{
    for (const QString& minus : {withoutFormatMarks(loc.negativeSign()), QStringLiteral("-"), QString(QChar(0x2212))}) {
        if (startsWithAt(s, 0, minus)) {
            negative = true;
            s = s.mid(minus.size()).trimmed();
            return true;
        }
    }
    for (const QString& plus : {withoutFormatMarks(loc.positiveSign()), QStringLiteral("+")}) {
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
    for (const QString& symbol : {withoutFormatMarks(loc.currencySymbol(QLocale::CurrencySymbol)),
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
    if (group.size() != 1) return false;
    const QChar own = group.at(0);
    if (c == own) return true;
    // Locales that group with a (narrow) no-break space also take a typed blank,
    // and those that group with a typographic apostrophe take the typed one.
    if (own.isSpace()) return c.isSpace();
    if (own == QChar(0x2019) || own == QLatin1Char('\'')) return c == QLatin1Char('\'') || c == QChar(0x2019);
    return false;
}

// Group sizes from the first (most significant) to the last, as the locale
// writes a whole number of `digits` digits: 3,3 in most places, 2,2,3 in
// India, no group at all for four digits in Spain.
QList<int> writtenGroups(const QLocale& loc, qsizetype digits)
{
    QList<int> sizes;
    if (digits > 18) return sizes;
    const QString written = withoutFormatMarks(loc.toString(QString(digits, QLatin1Char('1')).toLongLong()));
    for (const QString& group : written.split(loc.groupSeparator())) sizes.append(int(group.size()));
    return sizes;
}

// Groups of three, the first one to three digits long: how people everywhere
// group by hand.
bool threeDigitGroups(const QList<int>& sizes)
{
    for (qsizetype i = 1; i < sizes.size(); ++i)
        if (sizes.at(i) != 3) return false;
    return sizes.first() >= 1 && sizes.first() <= 3;
}

bool groupsFit(const QList<int>& sizes, const QLocale& loc)
{
    if (sizes.size() < 2) return true;
    qsizetype digits = 0;
    for (int size : sizes) digits += size;
    return threeDigitGroups(sizes) || sizes == writtenGroups(loc, digits);
}

// Digits with group separators where the locale writes them and at most one
// decimal separator; no exponent, no letters. Returns the C form ("1234.5").
// A separator anywhere else is refused rather than skipped: "6.5" under German
// settings or "1,5" under American ones is a typing slip, not 65 or 15.
std::optional<QByteArray> plainDigits(const QString& s, const QLocale& loc)
{
    const QString decimal = loc.decimalPoint();
    QByteArray out;
    QList<int> groups{0};
    bool seenDecimal = false;
    bool seenDigit = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isDigit()) {
            out.append(char('0' + c.digitValue()));
            seenDigit = true;
            if (!seenDecimal) ++groups.last();
        } else if (!seenDecimal && startsWithAt(s, i, decimal)) {
            out.append('.');
            seenDecimal = true;
            i += decimal.size() - 1;
        } else if (!seenDecimal && groups.last() > 0 && isGroupSeparator(c, loc)) {
            groups.append(0);
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit) return std::nullopt;
    if (!groupsFit(groups, loc)) return std::nullopt;
    return out;
}

// The C form of a number, read the same whatever the C library's locale.
std::optional<double> cNumber(const QByteArray& digits)
{
    double value = 0.0;
    const char* first = digits.constData();
    const char* last = first + digits.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

QChar dateSeparator(const QLocale& loc)
{
    const QString format = loc.dateFormat(QLocale::ShortFormat);
    // Direction marks (Arabic short dates) are no separator the user sees.
    for (QChar c : format)
        if (!c.isLetter() && c != QLatin1Char('\'') && c.category() != QChar::Other_Format) return c;
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

// Separators a user may type between the fields of a date: the locale's own,
// and "/", "-" and "." wherever people write dates with them.
bool isDateSeparator(QChar c, const QLocale& loc)
{
    if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.') || c.isSpace()) return true;
    const QString format = loc.dateFormat(QLocale::ShortFormat);
    return !c.isLetterOrNumber() && c != QLatin1Char('\'') && format.contains(c);
}

// The numeric fields of a typed date; empty when anything else is in it.
QList<QString> dateFields(const QString& text, const QLocale& loc)
{
    QList<QString> fields;
    QString current;
    for (QChar c : text) {
        if (c.isDigit()) {
            current.append(QChar(u'0' + c.digitValue()));
        } else if (isDateSeparator(c, loc)) {
            if (!current.isEmpty()) fields.append(current);
            current.clear();
        } else {
            return {};
        }
    }
    if (!current.isEmpty()) fields.append(current);
    return fields;
}

// A two-digit year is the one from 50 years before the reference year to 49
// after it: loans run decades ahead, birthdays and old loans lie behind.
int fullYear(const QString& field, int referenceYear)
{
    const int value = field.toInt();
    if (field.size() == 2) {
        const int first = referenceYear - 50;
        return first + (((value - first) % 100) + 100) % 100;
    }
    return field.size() == 4 ? value : -1;
}

// Day, month and year in the short date's order, each typed with one or two
// digits (the year with two or four); or a four-digit year first, as in ISO
// dates. Read by hand: Qt's own reading turns two-digit years into 19xx and
// gives no date for "1/2/2024" where the format says "01/02/2024".
QDate numericDate(const QString& text, const QLocale& loc, int referenceYear)
{
    const QList<QString> fields = dateFields(text, loc);
    if (fields.size() != 3) return {};
    QString order = shortDateOrder(loc);
    if (fields.first().size() == 4 && order.front() != QLatin1Char('y')) order = QStringLiteral("yMd");
    int day = 0, month = 0, year = -1;
    for (int i = 0; i < 3; ++i) {
        const QString& field = fields.at(i);
        if (order.at(i) == QLatin1Char('y')) {
            year = fullYear(field, referenceYear);
        } else if (field.size() > 2) {
            return {};
        } else if (order.at(i) == QLatin1Char('d')) {
            day = field.toInt();
        } else {
            month = field.toInt();
        }
    }
    if (year < 0) return {};
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
    QString s = withoutFormatMarks(text).trimmed();
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
    const auto value = cNumber(*digits);
    if (!value) return std::nullopt;
    return negative ? -*value : *value;
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

QString shortDateOrder()
{
    return shortDateOrder(QLocale());
}

QString shortDateText(const QDate& date)
{
    if (!date.isValid()) return {};
    const QLocale loc;
    return loc.toString(date, fourDigitShortFormat(loc));
}

std::optional<QDate> readShortDate(const QString& text, int referenceYear)
{
    const QLocale loc;
    const QString s = withoutFormatMarks(text).trimmed();
    if (s.isEmpty()) return std::nullopt;
    QDate date = numericDate(s, loc, referenceYear);
    // Short forms that spell the month out are read as the locale writes them.
    if (!date.isValid()) date = loc.toDate(s, shortReadFormat(loc, QStringLiteral("yyyy")));
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
