// Money and date texts: exact forms, and everything the formatters write must
// read back through the one number reader; nothing else may pass as a number.
#include "LocaleText.h"
#include "Money.h"

#include <gtest/gtest.h>


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
    for (const char* text : {"", "   ", "abc", "12abc", "NaN", "inf", "1.2.3", "$"})
        EXPECT_FALSE(LocaleText::readNumber(QString::fromUtf8(text)).has_value()) << text;
}

TEST(LocaleText, ShortDateHasFourDigitYearAndReadsBack)
{
    const std::pair<QDate, const char*> dates[] = {{QDate(2024, 1, 15), "1/15/2024"}, {QDate(1924, 1, 15), "1/15/1924"}};
    for (const auto& [date, text] : dates) {
        EXPECT_EQ(LocaleText::shortDateText(date).toStdString(), text);
        EXPECT_EQ(LocaleText::readShortDate(LocaleText::shortDateText(date)), std::optional(date));
    }
}

}  // namespace
