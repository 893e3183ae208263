// Money and date texts: exact forms, and everything the formatters write must
// read back through the one number reader; nothing else may pass as a number.
#include "LocaleText.h"
#include "Money.h"
#include "PinnedLocale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>


namespace {

TEST(LocaleText, FormattersWriteExactTextsThatReadBack)
{
    const struct { double value; const char *currency, *regional, *grouped; } cases[] = {
        {0.5, "$.50", "$0.50", "0.50"},
        {1234.5, "$1,234.50", "$1,234.50", "1,234.50"},
        {-1234.5, "-$1,234.50", "($1,234.50)", "-1,234.50"},
        {-0.5, "-$.50", "($0.50)", "-0.50"},
        {0.0, "$.00", "$0.00", "0.00"},
        {-0.0, "$.00", "$0.00", "0.00"},
        {-0.004, "$.00", "$0.00", "0.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const QString texts[] = {LocaleText::currencyText(c.value), LocaleText::regionalCurrencyText(c.value),
                                 LocaleText::groupedAmount(c.value)};
        EXPECT_EQ(texts[0].toStdString(), c.currency);
        EXPECT_EQ(texts[1].toStdString(), c.regional);
        EXPECT_EQ(texts[2].toStdString(), c.grouped);
        for (const QString& text : texts)
            EXPECT_EQ(LocaleText::readNumber(text), std::optional(engine::roundToCents(c.value))) << text.toStdString();
        EXPECT_EQ(LocaleText::readNumber(LocaleText::plainNumberText(c.value)), std::optional(c.value));
    }
}

TEST(LocaleText, ReadNumberRejectsWhatIsNotANumber)
{
    for (const char* text : {"", "   ", "abc", "12abc", "NaN", "inf", "1.2.3", "$", "\x01\x02"})
        EXPECT_FALSE(LocaleText::readNumber(QString::fromUtf8(text)).has_value()) << text;
    // As many digits as a number box holds: past any finite double.
    EXPECT_FALSE(LocaleText::readNumber(QString(1000, QLatin1Char('9'))).has_value());
}

TEST(LocaleText, ShortDateHasFourDigitYearAndReadsBack)
{
    const std::pair<QDate, const char*> dates[] = {{QDate(2024, 1, 15), "1/15/2024"}, {QDate(1924, 1, 15), "1/15/1924"}};
    for (const auto& [date, text] : dates) {
        EXPECT_EQ(LocaleText::shortDateText(date).toStdString(), text);
        EXPECT_EQ(LocaleText::readShortDate(LocaleText::shortDateText(date)), std::optional(date));
    }
}

// The results table's due date: two-digit fields in the order of the short
// date, with its separator; read back under the same settings to the same day.
TEST(LocaleText, TableDateFollowsTheRegionalOrderAndReadsBack)
{
    const struct { const char* setting; const char *february, *november; } cases[] = {
        {"United States", "02/01/24", "11/03/09"},
        {"British", "01/02/24", "03/11/09"},
        {"French", "01/02/24", "03/11/09"},
        {"German", "01.02.24", "03.11.09"},
        {"Japanese", "24/02/01", "09/11/03"},
    };
    for (const auto& c : cases) {
        const auto setting = std::find_if(std::begin(kRegionalSettings), std::end(kRegionalSettings),
                                          [&](const RegionalSetting& r) { return std::string(r.name) == c.setting; });
        ASSERT_NE(setting, std::end(kRegionalSettings));
        PinnedLocale pinned(setting->locale);
        SCOPED_TRACE(c.setting);
        const std::pair<QDate, const char*> dates[] = {{QDate(2024, 2, 1), c.february}, {QDate(2009, 11, 3), c.november}};
        for (const auto& [date, text] : dates) {
            EXPECT_EQ(LocaleText::tableDateText(date).toStdString(), text);
            EXPECT_EQ(LocaleText::readShortDate(QString::fromLatin1(text)), std::optional(date));
            EXPECT_EQ(LocaleText::readShortDate(LocaleText::shortDateText(date)), std::optional(date));
        }
    }
}

// Typed dates with a two-digit year: 00-29 fall in this century, 30-99 in the
// last, in every order of day, month and year.
TEST(LocaleText, TwoDigitYearsPivotAtThirty)
{
    const struct { QLocale locale; const char* text; QDate date; } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "1/15/29", QDate(2029, 1, 15)},
        {QLocale(QLocale::English, QLocale::UnitedStates), "1/15/30", QDate(1930, 1, 15)},
        {QLocale(QLocale::English, QLocale::UnitedStates), "12/31/99", QDate(1999, 12, 31)},
        {QLocale(QLocale::English, QLocale::UnitedStates), "2/29/00", QDate(2000, 2, 29)},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "15/01/29", QDate(2029, 1, 15)},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "15/1/30", QDate(1930, 1, 15)},
        {QLocale(QLocale::German, QLocale::Germany), "1.2.29", QDate(2029, 2, 1)},
        {QLocale(QLocale::German, QLocale::Germany), "01.02.30", QDate(1930, 2, 1)},
        {QLocale(QLocale::Japanese, QLocale::Japan), "29/02/01", QDate(2029, 2, 1)},
        {QLocale(QLocale::Japanese, QLocale::Japan), "30/02/01", QDate(1930, 2, 1)},
    };
    for (const auto& c : cases) {
        PinnedLocale pinned(c.locale);
        EXPECT_EQ(LocaleText::readShortDate(QString::fromLatin1(c.text)), std::optional(c.date))
            << c.locale.name().toStdString() << " " << c.text;
    }
    PinnedLocale us(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const char* text : {"1/15/2", "1/15/029", "2/30/24", "13/1/24"})
        EXPECT_FALSE(LocaleText::readShortDate(QString::fromLatin1(text)).has_value()) << text;
}

// Where the locale groups digits with a no-break space (French: U+202F, and
// U+00A0 as older settings and other programs write it), either, and a typed
// blank, is taken as the group separator.
TEST(LocaleText, NoBreakSpaceGroupsAmountsWhereTheLocaleGroupsWithIt)
{
    PinnedLocale french(QLocale(QLocale::French, QLocale::France));
    for (const char16_t* text : {u"1\u202F234,50", u"1\u00A0234,50", u"1 234,50", u"1\u202F234,50\u00A0\u20AC",
                                 u"1\u00A0234,50 \u20AC", u"-1\u00A0234,50"}) {
        const QString s = QString::fromUtf16(text);
        const auto value = LocaleText::readNumber(s);
        ASSERT_TRUE(value.has_value()) << s.toStdString();
        EXPECT_EQ(std::abs(*value), 1234.5) << s.toStdString();
    }
    EXPECT_EQ(LocaleText::readNumber(LocaleText::regionalCurrencyText(1234567.5)), std::optional(1234567.5));
    EXPECT_EQ(LocaleText::readNumber(LocaleText::currencyText(1234567.5)), std::optional(1234567.5));
}

}  // namespace
