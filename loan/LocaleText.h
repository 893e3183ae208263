#pragma once

#include <QDate>
#include <QString>

#include <chrono>
#include <optional>

// Number, currency and date texts under the user's regional settings (the
// default QLocale). One number reader serves both "is it numeric" and the
// conversion, so the two never disagree.
namespace LocaleText {

// Makes the user's regional settings the default locale; without any (the C
// locale: no currency symbol, dates "d MMM yyyy") United States conventions
// are used instead.
void useRegionalSettings();

// Blanks around, a sign, the locale's decimal and group separators and the
// currency symbol are accepted; empty or blank text is not a number, nor are
// non-finite values.
std::optional<double> readNumber(const QString& text);

// Amount boxes and summary boxes: 2 decimals, grouping, minus sign, no leading
// zero below 1 ("$.50", "$1,234.50", "-$5.00"); zero shows as "$.00".
QString currencyText(double value);

// Extra payment "Amount" cells: the locale's own currency style with 2
// decimals and grouping ("$1,234.50", "$0.50").
QString regionalCurrencyText(double value);

// "##,##0.00" and "###,##0.00": grouping, 2 decimals, leading minus; a value
// that rounds to zero shows as "0.00", never "-0.00".
QString groupedAmount(double value);

// "000": at least three digits.
QString paymentNumberText(int number);

// "mm/dd/yy" with the locale's date separator.
QString tableDateText(const QDate& date);

// The order of day ('d'), month ('M') and year ('y') in the short date.
QString shortDateOrder();

// The short date text, with a four-digit year so it reads back to the same day.
QString shortDateText(const QDate& date);
// A date as people type it in the short form: day and month with one or two
// digits, the year with four, or with two for the year from 50 before the
// reference year to 49 after it (in 2026: 30 is 2030, 80 is 1980); the
// locale's separator or "/", "-", "."; or a year first, as in 2024-02-15.
// Nothing else, and no impossible day, is a date.
std::optional<QDate> readShortDate(const QString& text, int referenceYear = QDate::currentDate().year());

// Plain number text, no grouping or symbol: 6.5, 1234.5, 360.
QString plainNumberText(double value);

QDate toQDate(std::chrono::year_month_day date);
std::chrono::year_month_day toYmd(const QDate& date);

}  // namespace LocaleText
