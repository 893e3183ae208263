// What a user types into a box is what the program reads, under each region
// as a user's desktop sets it (the C library's locale too): what the program
// writes reads back, the slips of each region are refused and say how the
// region writes the number, and typed dates are read whole.
#include "LocaleText.h"
#include "Money.h"
#include "NumberEntry.h"
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
        m_cLibrary = std::setlocale(LC_ALL, (std::string(name) + ".UTF-8").c_str()) != nullptr;
    }
    ~Region() { std::setlocale(LC_ALL, m_previous.c_str()); }
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

class Regions : public ::testing::TestWithParam<const char*> {};

TEST_P(Regions, WhatTheProgramWritesReadsBackAndSlipsAreRefused)
{
    Region region(GetParam());
    if (std::getenv("BRIMVALE_REQUIRE_LOCALES")) ASSERT_TRUE(region.cLibrary()) << GetParam() << " is not generated";
    for (double value : {0.0, 0.07, 0.5, 12.3, 999.99, 1000.0, 1234.56, 100000.0, 987654321.25, -1234.56,
                         kLargestAmount}) {
        const double cents = engine::roundToCents(value);
        for (const QString& text : {LocaleText::currencyText(value), LocaleText::regionalCurrencyText(value),
                                    LocaleText::groupedAmount(value), entryText(NumberKind::Amount, value)})
            EXPECT_EQ(readEntry(NumberKind::Amount, text).number(), std::optional(cents)) << text.toStdString();
    }
    for (double rate : {0.0, 5.5, 6.125, 5.12345678, 100.0, 32767.0})
        EXPECT_EQ(readEntry(NumberKind::Rate, entryText(NumberKind::Rate, rate)).number(), std::optional(rate));
    for (QDate date : {QDate(2024, 2, 29), QDate(1999, 12, 31), QDate(100, 1, 1), QDate(9999, 12, 31)})
        EXPECT_EQ(LocaleText::readShortDate(LocaleText::shortDateText(date)), std::optional(date))
            << LocaleText::shortDateText(date).toStdString();

    // A separator where the region would not write one is a slip, not a figure.
    const QLocale loc;
    const QString group = loc.groupSeparator(), decimal = loc.decimalPoint();
    QStringList slips = {"6" + group + "5", "150" + group + "00", "1" + group + "2345",
                         "1" + decimal + "500" + group + "000", "1" + group + group + "000",
                         "1" + decimal + "5" + decimal + "5"};
    if (!group.at(0).isSpace()) slips << group + "100" << "1000" + group;
    for (const QString& slip : slips)
        EXPECT_FALSE(readEntry(NumberKind::Rate, slip).number()) << slip.toStdString();
    EXPECT_EQ(readEntry(NumberKind::Amount, loc.toString(1234567.5, 'f', 2)).number(), std::optional(1234567.5));
}

INSTANTIATE_TEST_SUITE_P(Each, Regions, ::testing::ValuesIn(kRegions),
                         [](const auto& info) { return std::string(info.param); });

// The slips users reported, each under the region where it was made, and
// what the message then says of the region's own way.
TEST(Reading, TypedNumbersAndTheRegionsHints)
{
    const struct {
        const char* region;
        NumberKind kind;
        const char16_t* text;
        std::optional<double> value;
        const char* hint;
    } cases[] = {
        {"en_US", NumberKind::Rate, u"6,5", {}, " Your regional settings write the decimal separator as \".\", as in 6.5."},
        {"en_US", NumberKind::Amount, u"150,00", {}, " Your regional settings write the decimal separator as \".\", as in 150.00."},
        {"en_US", NumberKind::Amount, u"1,500", 1500.0, ""},
        {"en_US", NumberKind::Amount, u"$1,234,567.89", 1234567.89, ""},
        // The other convention's grouping, not three decimals of a cent.
        {"en_US", NumberKind::Amount, u"1.500", {}, " Your regional settings write the group separator as \",\", as in 1,500."},
        {"en_US", NumberKind::Amount, u"0.005", 0.005, ""},
        {"en_US", NumberKind::Rate, u"6.125", 6.125, ""},
        {"de_DE", NumberKind::Rate, u"6.5", {}, " Your regional settings write the decimal separator as \",\", as in 6,5."},
        {"de_DE", NumberKind::Amount, u"300,000", {}, " Your regional settings write the group separator as \".\", as in 300.000."},
        {"de_DE", NumberKind::Amount, u"0,004", 0.004, ""},
        {"de_DE", NumberKind::Amount, u"1.500,00 \u20AC", 1500.0, ""},
        {"de_DE", NumberKind::Amount, u"100,50", 100.5, ""},
        {"fr_FR", NumberKind::Rate, u"6 5", {}, " Your regional settings write the decimal separator as \",\", as in 6,5."},
        {"fr_FR", NumberKind::Amount, u"1\u202F234,50\u00A0\u20AC", 1234.5, ""},
        {"fr_FR", NumberKind::Amount, u"1 500,25", 1500.25, ""},
        {"de_CH", NumberKind::Amount, u"1'234.50", 1234.5, ""},
        {"en_IN", NumberKind::Amount, u"12,34,567.00", 1234567.0, ""},
        {"en_IN", NumberKind::Amount, u"1,23,4567.00", {}, ""},
        {"ar_EG", NumberKind::Rate, u"\u0666\u066B\u0665", 6.5, ""},
        {"hi_IN", NumberKind::Amount, u"\u0967,\u0968\u0969\u096A.\u096B", 1234.5, ""},
        {"en_US", NumberKind::Rate, u"abc", {}, ""},
        {"en_US", NumberKind::Rate, u"1e308", {}, ""},
    };
    for (const auto& c : cases) {
        Region region(c.region);
        const QString text = QString::fromUtf16(c.text);
        const NumberEntry entry = readEntry(c.kind, text);
        EXPECT_EQ(entry.number(), c.value) << c.region << " " << text.toStdString();
        EXPECT_EQ(entry.hint.toStdString(), c.hint) << c.region << " " << text.toStdString();
    }
}

TEST(Reading, AmountsAboveTheLargestAreRefusedNamingIt)
{
    pinUnitedStates();
    const NumberEntry huge = readEntry(NumberKind::Amount, QStringLiteral("99,999,999,999,999,999,999"));
    EXPECT_EQ(huge.state, NumberEntry::State::TooLarge);
    EXPECT_EQ(entryRefusal(huge, QStringLiteral("The Loan Amount must be numeric."), QStringLiteral("Loan Amount"))
                  .toStdString(),
              "The Loan Amount cannot be more than $9,999,999,999,999.99, the largest amount this program keeps.");
    EXPECT_EQ(readEntry(NumberKind::Amount, QStringLiteral("9,999,999,999,999.99")).number(), kLargestAmount);
    EXPECT_EQ(readEntry(NumberKind::Amount, QStringLiteral("  ")).state, NumberEntry::State::Blank);
}

// Dates typed in the region's order, with one- or two-digit days and months;
// a two-digit year lies from 50 years before to 49 after the current one.
TEST(Reading, TypedDates)
{
    const struct { const char* region; const char* text; QDate date; } cases[] = {
        {"en_US", "02/01/2024", QDate(2024, 2, 1)},  {"en_US", "10/3/2024", QDate(2024, 10, 3)},
        {"en_US", "2-15-2024", QDate(2024, 2, 15)},  {"en_US", "2024-02-15", QDate(2024, 2, 15)},
        {"en_US", "1/15/30", QDate(2030, 1, 15)},    {"en_US", "1/15/80", QDate(1980, 1, 15)},
        {"en_US", "1/15/76", QDate(1976, 1, 15)},    {"en_US", "1/15/75", QDate(2075, 1, 15)},
        {"en_GB", "5/2/2024", QDate(2024, 2, 5)},    {"de_DE", "1.3.28", QDate(2028, 3, 1)},
        {"ja_JP", "27/02/01", QDate(2027, 2, 1)},    {"hu_HU", "2027. 02. 01.", QDate(2027, 2, 1)},
        {"en_US", "4/31/2024", {}},  {"en_US", "2/29/2023", {}}, {"en_US", "1/15/024", {}},
        {"en_US", "1/15", {}},       {"en_US", "Feb 1 2024", {}}, {"de_DE", "31.4.2027", {}},
    };
    for (const auto& c : cases) {
        Region region(c.region);
        EXPECT_EQ(LocaleText::readShortDate(QString::fromUtf8(c.text), 2026),
                  c.date.isValid() ? std::optional(c.date) : std::nullopt)
            << c.region << " " << c.text;
    }
}

TEST(Reading, FormattersWriteExactTexts)
{
    pinUnitedStates();
    const struct { double value; const char *currency, *regional, *grouped; } cases[] = {
        {0.5, "$.50", "$0.50", "0.50"},
        {-1234.5, "-$1,234.50", "($1,234.50)", "-1,234.50"},
        {-0.004, "$.00", "$0.00", "0.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LocaleText::currencyText(c.value).toStdString(), c.currency);
        EXPECT_EQ(LocaleText::regionalCurrencyText(c.value).toStdString(), c.regional);
        EXPECT_EQ(LocaleText::groupedAmount(c.value).toStdString(), c.grouped);
    }
    EXPECT_EQ(LocaleText::tableDateText(QDate(2024, 2, 1)).toStdString(), "02/01/24");
    PinnedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(LocaleText::tableDateText(QDate(2024, 2, 1)).toStdString(), "01.02.24");
    EXPECT_EQ(entryText(NumberKind::Rate, 6.875).toStdString(), "6,875");
}

}  // namespace
