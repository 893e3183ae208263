// Every text the program writes reads back to the same value under each
// regional setting, with the C library's locale set to it as a user's desktop
// sets it; and the slips a user of that region makes are refused, never read
// as another figure.
#include "LocaleText.h"
#include "Money.h"
#include "PinnedLocale.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <clocale>

namespace {

// The C library's locale and Qt's default both set to one region for a case.
class Region {
public:
    explicit Region(const char* name) : m_pinned(QLocale(QString::fromLatin1(name)))
    {
        m_previous = std::setlocale(LC_ALL, nullptr);
        const std::string utf8 = std::string(name) + ".UTF-8";
        m_cLibrary = std::setlocale(LC_ALL, utf8.c_str()) != nullptr;
    }
    ~Region() { std::setlocale(LC_ALL, m_previous.c_str()); }
    // False where the C library's locale is not generated on this machine.
    bool cLibrary() const { return m_cLibrary; }

private:
    PinnedLocale m_pinned;
    std::string m_previous;
    bool m_cLibrary = false;
};

const char* const kRegions[] = {"en_US", "de_DE", "de_CH", "fr_FR", "es_ES", "it_IT", "pt_BR", "pt_PT", "nl_NL",
                                "pl_PL", "ru_RU", "uk_UA", "sv_SE", "da_DK", "nb_NO", "fi_FI", "cs_CZ", "hu_HU",
                                "el_GR", "tr_TR", "en_GB", "en_IN", "hi_IN", "ja_JP", "zh_CN", "ko_KR", "ar_EG",
                                "fa_IR", "he_IL", "th_TH"};

class RegionalTexts : public ::testing::TestWithParam<const char*> {};

TEST_P(RegionalTexts, WhatTheProgramWritesReadsBack)
{
    Region region(GetParam());
    if (std::getenv("BRIMVALE_REQUIRE_LOCALES")) ASSERT_TRUE(region.cLibrary()) << GetParam() << " is not generated";
    for (double value : {0.0, 0.07, 0.5, 1.0, 12.3, 999.99, 1000.0, 1234.56, 56789.01, 100000.0, 1234567.89,
                         987654321.25, -0.5, -1234.56, -1000000.0}) {
        SCOPED_TRACE(value);
        const double cents = engine::roundToCents(value);
        for (const QString& text : {LocaleText::currencyText(value), LocaleText::regionalCurrencyText(value),
                                    LocaleText::groupedAmount(value)})
            EXPECT_EQ(LocaleText::readNumber(text), std::optional(cents)) << text.toStdString();
    }
    for (double rate : {0.0, 5.5, 6.5, 0.125, 5.12345678, 18.0, 100.0, 360.0, 2731.0, 32767.0})
        EXPECT_EQ(LocaleText::readNumber(LocaleText::plainNumberText(rate)), std::optional(rate))
            << LocaleText::plainNumberText(rate).toStdString();
    for (QDate date : {QDate(2024, 1, 15), QDate(2024, 2, 29), QDate(1999, 12, 31), QDate(2029, 11, 3), QDate(1930, 6, 1)}) {
        EXPECT_EQ(LocaleText::readShortDate(LocaleText::shortDateText(date)), std::optional(date))
            << LocaleText::shortDateText(date).toStdString();
        EXPECT_EQ(LocaleText::readShortDate(LocaleText::tableDateText(date)), std::optional(date))
            << LocaleText::tableDateText(date).toStdString();
    }
    for (QDate date : {QDate(100, 1, 1), QDate(1024, 7, 4), QDate(9999, 12, 31)})
        EXPECT_EQ(LocaleText::readShortDate(LocaleText::shortDateText(date)), std::optional(date))
            << LocaleText::shortDateText(date).toStdString();
}

// A separator where the region would not write one: after the decimal
// separator, doubled, leading, trailing, or a group that is not whole.
TEST_P(RegionalTexts, MisplacedSeparatorsAreRefused)
{
    Region region(GetParam());
    const QLocale loc;
    const QString group = loc.groupSeparator();
    const QString decimal = loc.decimalPoint();
    QStringList slips = {
        "6" + group + "5",
        "1" + group + "5",
        "150" + group + "00",
        "1" + group + "2345",
        "1" + decimal + "500" + group + "000",
        "1" + group + group + "000",
        "1" + decimal + "5" + decimal + "5",
    };
    // A blank before or after the number is no separator.
    if (!group.at(0).isSpace()) slips << group + "100" << "1000" + group;
    for (const QString& slip : slips)
        EXPECT_FALSE(LocaleText::readNumber(slip).has_value()) << slip.toStdString();
    // ... while the region's own grouping reads, with and without groups.
    EXPECT_EQ(LocaleText::readNumber(loc.toString(1234567.5, 'f', 2)), std::optional(1234567.5));
    EXPECT_EQ(LocaleText::readNumber("1234567" + decimal + "5"), std::optional(1234567.5));
    EXPECT_EQ(LocaleText::readNumber("6" + decimal + "5"), std::optional(6.5));
}

INSTANTIATE_TEST_SUITE_P(Regions, RegionalTexts, ::testing::ValuesIn(kRegions),
                         [](const auto& info) { return std::string(info.param); });

// The slips users reported, each under the region where it was made.
TEST(RegionalTexts, TypedSlipsAreRefusedAndTheRegionsOwnFormsRead)
{
    const struct { const char* region; const char16_t* text; std::optional<double> value; } cases[] = {
        {"en_US", u"1,5", std::nullopt},       {"en_US", u"6,5", std::nullopt},
        {"en_US", u"150,00", std::nullopt},    {"en_US", u"3,0", std::nullopt},
        {"en_US", u"1,500", 1500.0},           {"en_US", u"250,000.00", 250000.0},
        {"en_US", u"$1,234,567.89", 1234567.89}, {"en_US", u"6.5", 6.5},
        {"de_DE", u"6.5", std::nullopt},       {"de_DE", u"6,5", 6.5},
        {"de_DE", u"1.500,00 \u20AC", 1500.0}, {"de_DE", u"20.000,00\u00A0\u20AC", 20000.0},
        {"de_DE", u"100,50", 100.5},           {"de_DE", u"1.500", 1500.0},
        {"es_ES", u"6.5", std::nullopt},       {"es_ES", u"6,5", 6.5},
        {"fr_FR", u"6,5", 6.5},                {"fr_FR", u"6.5", std::nullopt},
        {"fr_FR", u"6 5", std::nullopt},       {"fr_FR", u"1 500,25", 1500.25},
        {"ja_JP", u"6,5", std::nullopt},       {"ja_JP", u"6.5", 6.5},
        {"de_CH", u"1'234.50", 1234.5},        {"de_CH", u"1\u2019234.50", 1234.5},
        {"de_CH", u"12'34.50", std::nullopt},
        {"en_IN", u"12,34,567.00", 1234567.0}, {"en_IN", u"1,234,567.00", 1234567.0},
        {"en_IN", u"1,23,4567.00", std::nullopt},
        // Digits of other scripts, as those regions write them, are read as digits.
        {"ar_EG", u"\u0666\u066B\u0665", 6.5}, {"fa_IR", u"\u06F1\u066C\u06F2\u06F3\u06F4\u066B\u06F5", 1234.5},
        {"hi_IN", u"\u0967,\u0968\u0969\u096A.\u096B", 1234.5},
    };
    for (const auto& c : cases) {
        Region region(c.region);
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(LocaleText::readNumber(text), c.value) << c.region << " " << text.toStdString();
    }
}

// Dates typed in the region's order, with one- or two-digit days and months,
// two- or four-digit years and the separators people type; impossible days
// and texts that are no date are refused.
TEST(RegionalTexts, TypedDates)
{
    const struct { const char* region; const char* text; QDate date; } cases[] = {
        {"en_US", "02/01/2024", QDate(2024, 2, 1)},  {"en_US", "12/25/2024", QDate(2024, 12, 25)},
        {"en_US", "10/3/2024", QDate(2024, 10, 3)},  {"en_US", "2/15/2024", QDate(2024, 2, 15)},
        {"en_US", "2/15/24", QDate(2024, 2, 15)},    {"en_US", "2-15-2024", QDate(2024, 2, 15)},
        {"en_US", "2.15.2024", QDate(2024, 2, 15)},  {"en_US", "2024-02-15", QDate(2024, 2, 15)},
        {"en_US", " 2/15/2024 ", QDate(2024, 2, 15)},
        {"en_GB", "5/2/2024", QDate(2024, 2, 5)},    {"en_GB", "05/02/24", QDate(2024, 2, 5)},
        {"de_DE", "1.2.2027", QDate(2027, 2, 1)},    {"de_DE", "01.02.27", QDate(2027, 2, 1)},
        {"de_DE", "1/2/2027", QDate(2027, 2, 1)},    {"fr_FR", "1/2/2027", QDate(2027, 2, 1)},
        {"ja_JP", "2027/2/1", QDate(2027, 2, 1)},    {"ja_JP", "27/02/01", QDate(2027, 2, 1)},
        {"hu_HU", "2027. 02. 01.", QDate(2027, 2, 1)},
        {"en_US", "4/31/2024", {}},  {"en_US", "2/30/2024", {}},  {"en_US", "13/1/2024", {}},
        {"en_US", "2/29/2023", {}},  {"en_US", "1/15/024", {}},   {"en_US", "1/15/2", {}},
        {"en_US", "1/15", {}},       {"en_US", "1/1/1/2024", {}}, {"en_US", "Feb 1 2024", {}},
        {"en_US", "1/15/2024x", {}}, {"en_US", "", {}},           {"en_US", "//", {}},
        {"de_DE", "31.4.2024", {}},  {"en_GB", "31/4/2024", {}},  {"en_US", "123/1/2024", {}},
    };
    for (const auto& c : cases) {
        Region region(c.region);
        const auto read = LocaleText::readShortDate(QString::fromUtf8(c.text));
        EXPECT_EQ(read, c.date.isValid() ? std::optional(c.date) : std::nullopt) << c.region << " " << c.text;
    }
}

}  // namespace
