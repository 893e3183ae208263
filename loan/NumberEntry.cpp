#include "NumberEntry.h"

#include "LocaleText.h"

#include <QLocale>

#include <cmath>

namespace {

// "300,000" under German settings, "1.500" under American ones: a whole
// amount grouped the other convention's way, not three decimals of a cent.
bool otherConventionsGrouping(const QString& text, double value)
{
    if (std::fabs(value) < 1.0)
        return false;  // "0.005" is half a cent
    const QString decimal = QLocale().decimalPoint();
    const qsizetype at = text.lastIndexOf(decimal);
    if (at < 0)
        return false;
    qsizetype digits = 0;
    for (qsizetype i = at + decimal.size(); i < text.size() && text.at(i).isDigit(); ++i)
        ++digits;
    return digits == 3;
}

std::optional<double> readAs(NumberKind kind, const QString& text)
{
    const auto value = LocaleText::readNumber(text);
    if (value && kind == NumberKind::Amount && otherConventionsGrouping(text, *value))
        return std::nullopt;
    return value;
}

QString separatorName(const QString& separator)
{
    return separator.trimmed().isEmpty() ? QStringLiteral("a space") : QStringLiteral("\"%1\"").arg(separator);
}

// How the region writes what a refused text put in the wrong place: the text
// read with one of its separators taken as the region's decimal separator,
// else as its group separator. Empty when no such reading exists.
QString separatorHint(NumberKind kind, const QString& text)
{
    const QLocale loc;
    const QString trimmed = text.trimmed();
    const std::pair<QString, const char*> ways[] = {{loc.decimalPoint(), "decimal"}, {loc.groupSeparator(), "group"}};
    for (const auto& [separator, name] : ways) {
        for (QChar c : trimmed) {
            if (!(c.isPunct() || c.isSpace()) || QString(c) == separator)
                continue;
            QString example = trimmed;
            example.replace(c, separator);
            if (readAs(kind, example))
                return QStringLiteral(" Your regional settings write the %1 separator as %2, as in %3.")
                    .arg(QLatin1String(name), separatorName(separator), example);
        }
    }
    return {};
}

}  // namespace

NumberEntry readEntry(NumberKind kind, const QString& text)
{
    if (text.trimmed().isEmpty())
        return {};
    const auto value = readAs(kind, text);
    if (!value)
        return {NumberEntry::State::NotANumber, 0.0, separatorHint(kind, text)};
    if (kind == NumberKind::Amount && std::fabs(*value) > kLargestAmount)
        return {NumberEntry::State::TooLarge, 0.0, {}};
    return NumberEntry::of(*value);
}

QString entryText(NumberKind kind, double value)
{
    switch (kind) {
    case NumberKind::Amount: return LocaleText::currencyText(value);
    case NumberKind::Rate: return LocaleText::plainNumberText(value);
    case NumberKind::Count: return QString::number(std::llround(value));
    }
    return {};
}

QString entryRefusal(const NumberEntry& entry, const QString& numeric, const QString& boxName)
{
    if (entry.state == NumberEntry::State::TooLarge)
        return QStringLiteral("The %1 cannot be more than %2, the largest amount this program keeps.")
            .arg(boxName, LocaleText::currencyText(kLargestAmount));
    if (entry.hint.isEmpty())
        return numeric;
    return (numeric.endsWith(QLatin1Char('.')) ? numeric : numeric + QLatin1Char('.')) + entry.hint;
}
