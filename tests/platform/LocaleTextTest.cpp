// Number, currency and date texts: what the formatters write must read back
// through the one number reader, and nothing else may pass as a number.
#include "LocaleText.h"
#include "Money.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

#include <cmath>
#include <ostream>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

class UsLocale {
public:
    UsLocale() { QLocale::setDefault(kUs); }
};

// ---------------------------------------------------------------- reading

struct ReadCase {
    const char* name;
    const char* text;
    double expected;
};

class ReadsNumber : public ::testing::TestWithParam<ReadCase> {
    UsLocale pinned;
};

TEST_P(ReadsNumber, Accepts)
{
    const auto value = LocaleText::readNumber(QString::fromUtf8(GetParam().text));
    ASSERT_TRUE(value.has_value()) << GetParam().text;
    EXPECT_DOUBLE_EQ(*value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ReadsNumber,
    ::testing::Values(ReadCase{"plain", "1234.5", 1234.5}, ReadCase{"whole", "30", 30},
                      ReadCase{"blanksAround", "  6.5  ", 6.5}, ReadCase{"grouped", "1,234,567.25", 1234567.25},
                      ReadCase{"noLeadingZero", ".5", 0.5}, ReadCase{"trailingPoint", "12.", 12},
                      ReadCase{"minus", "-0.01", -0.01}, ReadCase{"plus", "+7", 7},
                      ReadCase{"currency", "$1,234.50", 1234.5}, ReadCase{"currencyBelowOne", "$.50", 0.5},
                      ReadCase{"currencyZero", "$.00", 0}, ReadCase{"minusBeforeSymbol", "-$1,234.50", -1234.5},
                      ReadCase{"minusAfterSymbol", "$-5.00", -5}, ReadCase{"symbolAfter", "5.00 $", 5},
                      ReadCase{"parentheses", "($5.25)", -5.25}, ReadCase{"isoCode", "USD 12.00", 12},
                      ReadCase{"manyDecimals", "0.00000001", 1e-8}),
    [](const auto& info) { return std::string(info.param.name); });

class RejectsNumber : public ::testing::TestWithParam<const char*> {
    UsLocale pinned;
};

TEST_P(RejectsNumber, Rejects)
{
    EXPECT_FALSE(LocaleText::readNumber(QString::fromUtf8(GetParam())).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(NotNumbers, RejectsNumber,
                         ::testing::Values("", "   ", "abc", "12abc", "abc12", "NaN", "nan", "Infinity", "-inf",
                                           "inf", "-", "+", "$", "-$", "1.2.3", "--5", "$$5", "5$$", ",5",
                                           "1,234.5,6", "1e5", "0x10", "12 34 56 x", "(5", "1 2"));

TEST(ReadNumber, RejectsOverlongDigitsThatOverflow)
{
    UsLocale pinned;
    EXPECT_FALSE(LocaleText::readNumber(QString(400, QLatin1Char('9'))).has_value());
}

// ------------------------------------------------------------ formatting

struct FormatCase {
    const char* name;
    double value;
    const char* currency;   // currencyText
    const char* regional;   // regionalCurrencyText
    const char* grouped;    // groupedAmount
};

class FormatsMoney : public ::testing::TestWithParam<FormatCase> {
    UsLocale pinned;
};

TEST_P(FormatsMoney, AllThreeStyles)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(LocaleText::currencyText(c.value), QString::fromUtf8(c.currency));
    EXPECT_EQ(LocaleText::regionalCurrencyText(c.value), QString::fromUtf8(c.regional));
    EXPECT_EQ(LocaleText::groupedAmount(c.value), QString::fromUtf8(c.grouped));
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatsMoney,
    ::testing::Values(FormatCase{"half", 0.5, "$.50", "$0.50", "0.50"},
                      FormatCase{"grouped", 1234.5, "$1,234.50", "$1,234.50", "1,234.50"},
                      FormatCase{"negative", -1234.5, "-$1,234.50", "($1,234.50)", "-1,234.50"},
                      FormatCase{"negativeBelowOne", -0.5, "-$.50", "($0.50)", "-0.50"},
                      FormatCase{"zero", 0.0, "$.00", "$0.00", "0.00"},
                      FormatCase{"negativeZero", -0.0, "$.00", "$0.00", "0.00"},
                      FormatCase{"tinyNegative", -0.004, "$.00", "$0.00", "0.00"},
                      FormatCase{"halfCentUp", 1.005, "$1.01", "$1.01", "1.01"},
                      FormatCase{"halfCentNegative", -2.675, "-$2.68", "($2.68)", "-2.68"},
                      FormatCase{"millions", 1234567.891, "$1,234,567.89", "$1,234,567.89", "1,234,567.89"},
                      FormatCase{"exactlyOne", 1.0, "$1.00", "$1.00", "1.00"},
                      FormatCase{"justBelowOne", 0.999, "$1.00", "$1.00", "1.00"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every money text must read back as the cents the engine uses, and the reader
// must agree with what the formatters produce, sign and all.
class MoneyRoundTrip : public ::testing::TestWithParam<double> {
    UsLocale pinned;
};

TEST_P(MoneyRoundTrip, FormattersReadBack)
{
    const double cents = engine::roundToCents(GetParam());
    for (const QString& text : {LocaleText::currencyText(GetParam()), LocaleText::regionalCurrencyText(GetParam()),
                                LocaleText::groupedAmount(GetParam())}) {
        const auto back = LocaleText::readNumber(text);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_DOUBLE_EQ(*back, cents) << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1String("-0.00")) || text.contains(QLatin1String("-$.00")) ||
                     text.contains(QLatin1String("-$0.00")))
            << text.toStdString();
    }
    const auto plain = LocaleText::readNumber(LocaleText::plainNumberText(GetParam()));
    ASSERT_TRUE(plain.has_value());
    EXPECT_DOUBLE_EQ(*plain, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Values, MoneyRoundTrip,
                         ::testing::Values(0.0, -0.0, 0.01, -0.01, 0.5, -0.5, 0.994, -0.004, 1.0, 12.34, -12.34,
                                           999.995, 1234.5, -1234.5, 100000.0, 1234567.89, -9876543.21,
                                           123456789012.34));

struct PlainCase {
    const char* name;
    double value;
    const char* text;
};

class PlainNumber : public ::testing::TestWithParam<PlainCase> {
    UsLocale pinned;
};

TEST_P(PlainNumber, NoGroupingNoExponent)
{
    EXPECT_EQ(LocaleText::plainNumberText(GetParam().value), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, PlainNumber,
    ::testing::Values(PlainCase{"rate", 6.5, "6.5"}, PlainCase{"amount", 1234.5, "1234.5"},
                      PlainCase{"term", 30, "30"}, PlainCase{"zero", 0, "0"}, PlainCase{"negativeZero", -0.0, "0"},
                      PlainCase{"negative", -2.25, "-2.25"}, PlainCase{"binaryNoise", 0.1 + 0.2, "0.3"},
                      PlainCase{"large", 1e15, "1000000000000000"}, PlainCase{"small", 0.00001, "0.00001"},
                      PlainCase{"fifteenDigits", 123456789.123456, "123456789.123456"},
                      PlainCase{"million", 1000000, "1000000"}),
    [](const auto& info) { return std::string(info.param.name); });

// A failed figure shows as an empty box, never as "nan" or "inf".
TEST(Formatters, NonFiniteGivesEmptyText)
{
    UsLocale pinned;
    for (double v : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        EXPECT_TRUE(LocaleText::currencyText(v).isEmpty());
        EXPECT_TRUE(LocaleText::regionalCurrencyText(v).isEmpty());
        EXPECT_TRUE(LocaleText::groupedAmount(v).isEmpty());
        EXPECT_TRUE(LocaleText::plainNumberText(v).isEmpty());
    }
}

TEST(PaymentNumber, AtLeastThreeDigits)
{
    EXPECT_EQ(LocaleText::paymentNumberText(1), QStringLiteral("001"));
    EXPECT_EQ(LocaleText::paymentNumberText(42), QStringLiteral("042"));
    EXPECT_EQ(LocaleText::paymentNumberText(360), QStringLiteral("360"));
    EXPECT_EQ(LocaleText::paymentNumberText(1000), QStringLiteral("1000"));
    EXPECT_EQ(LocaleText::paymentNumberText(32767), QStringLiteral("32767"));
}

// ----------------------------------------------------------------- dates

TEST(TableDate, TwoDigitFieldsWithLocaleSeparator)
{
    UsLocale pinned;
    EXPECT_EQ(LocaleText::tableDateText(QDate(2024, 1, 15)), QStringLiteral("01/15/24"));
    EXPECT_EQ(LocaleText::tableDateText(QDate(2000, 12, 5)), QStringLiteral("12/05/00"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(LocaleText::tableDateText(QDate(2024, 1, 15)), QStringLiteral("01.15.24"));
    QLocale::setDefault(kUs);
}

TEST(ShortDate, FourDigitYear)
{
    UsLocale pinned;
    EXPECT_EQ(LocaleText::shortDateText(QDate(2024, 1, 15)), QStringLiteral("1/15/2024"));
    EXPECT_EQ(LocaleText::shortDateText(QDate(1924, 1, 15)), QStringLiteral("1/15/1924"));
    EXPECT_TRUE(LocaleText::shortDateText(QDate()).isEmpty());
}

class ShortDateRoundTrip : public ::testing::TestWithParam<QDate> {
    UsLocale pinned;
};

TEST_P(ShortDateRoundTrip, ReadsBackTheSameDay)
{
    const QString text = LocaleText::shortDateText(GetParam());
    EXPECT_EQ(LocaleText::readShortDate(text), std::optional<QDate>(GetParam())) << text.toStdString();
    EXPECT_EQ(LocaleText::readShortDate(QStringLiteral("  ") + text + QStringLiteral(" ")),
              std::optional<QDate>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Dates, ShortDateRoundTrip,
                         ::testing::Values(QDate(2024, 1, 15), QDate(1924, 1, 15), QDate(2029, 12, 31),
                                           QDate(1930, 1, 1), QDate(2000, 2, 29), QDate(1753, 1, 1),
                                           QDate(9999, 12, 31), QDate(100, 3, 1)));

struct DateTextCase {
    const char* name;
    const char* text;
    QDate expected;  // invalid: rejected
};

class ReadsShortDate : public ::testing::TestWithParam<DateTextCase> {
    UsLocale pinned;
};

TEST_P(ReadsShortDate, Typed)
{
    const auto date = LocaleText::readShortDate(QString::fromUtf8(GetParam().text));
    if (GetParam().expected.isValid())
        EXPECT_EQ(date, std::optional<QDate>(GetParam().expected));
    else
        EXPECT_FALSE(date.has_value()) << date->toString(Qt::ISODate).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadsShortDate,
    ::testing::Values(DateTextCase{"fourDigitYear", "1/15/2024", QDate(2024, 1, 15)},
                      DateTextCase{"paddedFields", "01/05/2024", QDate(2024, 1, 5)},
                      DateTextCase{"twoDigitYearThisCentury", "1/15/24", QDate(2024, 1, 15)},
                      DateTextCase{"twoDigitYearLastCentury", "1/15/85", QDate(1985, 1, 15)},
                      DateTextCase{"empty", "", QDate()}, DateTextCase{"blank", "  ", QDate()},
                      DateTextCase{"letters", "soon", QDate()}, DateTextCase{"noSuchMonth", "13/1/2024", QDate()},
                      DateTextCase{"noSuchDay", "2/30/2024", QDate()},
                      DateTextCase{"isoIsNotShort", "2024-01-15", QDate()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Chrono, ConvertsBothWays)
{
    using namespace std::chrono;
    for (const QDate& d : {QDate(2024, 2, 29), QDate(1999, 12, 31), QDate(2030, 1, 1)}) {
        const year_month_day ymd = LocaleText::toYmd(d);
        EXPECT_TRUE(ymd.ok());
        EXPECT_EQ(LocaleText::toQDate(ymd), d);
    }
    EXPECT_EQ(LocaleText::toYmd(QDate(2024, 3, 5)), year{2024} / March / day{5});
    EXPECT_FALSE(LocaleText::toQDate(year{2023} / February / day{29}).isValid());
}

// --------------------------------------------------- another locale's forms

class GermanLocale : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(kUs); }
};

TEST_F(GermanLocale, ReadsItsOwnSeparatorsAndSymbolAfter)
{
    EXPECT_EQ(LocaleText::readNumber(QStringLiteral("1.234,5")), std::optional<double>(1234.5));
    EXPECT_EQ(LocaleText::readNumber(QStringLiteral("-1.234,50 €")), std::optional<double>(-1234.5));
    EXPECT_FALSE(LocaleText::readNumber(QStringLiteral("1,2,3")).has_value());
}

TEST_F(GermanLocale, FormattersReadBack)
{
    for (double v : {0.5, -0.5, 1234.5, -1234567.89, 0.0, -0.001}) {
        for (const QString& text : {LocaleText::currencyText(v), LocaleText::regionalCurrencyText(v),
                                    LocaleText::groupedAmount(v)}) {
            const auto back = LocaleText::readNumber(text);
            ASSERT_TRUE(back.has_value()) << text.toStdString();
            EXPECT_DOUBLE_EQ(*back, engine::roundToCents(v)) << text.toStdString();
        }
        EXPECT_EQ(LocaleText::readNumber(LocaleText::plainNumberText(v)), std::optional<double>(v));
    }
    const QDate d(2024, 1, 15);
    EXPECT_EQ(LocaleText::readShortDate(LocaleText::shortDateText(d)), std::optional<QDate>(d));
    EXPECT_TRUE(LocaleText::shortDateText(d).contains(QLatin1String("2024")));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(kUs);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
