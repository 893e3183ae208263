// Yearly totals and the axis scale, checked against the payment table's own
// cell texts rather than the engine's numbers.
#include "AxisScale.h"
#include "CalculateLoan.h"
#include "LocaleText.h"
#include "PinnedLocale.h"
#include "ResultsTable.h"
#include "YearlyTotals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

LoanInputs inputs(const char* amount, const char* rate, const char* term, int termType, int frequency, QDate first)
{
    return {QStringLiteral("Loan"), frequency, QString::fromUtf8(rate), termType, QString::fromUtf8(term),
            QString::fromUtf8(amount), QString(), first};
}

LoanResult run(const LoanInputs& in, const std::vector<ExtraPaymentRow>& extras = {})
{
    auto outcome = calculateLoan(in, extras, false, QDate(2024, 1, 1));
    EXPECT_TRUE(std::holds_alternative<LoanResult>(outcome));
    return std::holds_alternative<LoanResult>(outcome) ? std::get<LoanResult>(outcome) : LoanResult{};
}

// Cents of a text as the user reads it.
long long textCents(const QString& text)
{
    const std::optional<double> value = LocaleText::readNumber(text);
    EXPECT_TRUE(value) << text.toStdString();
    return value ? std::llround(*value * 100.0) : -1;
}

// What a user summing the payment table by hand gets for one year.
struct HandSums {
    int payments = 0;
    long long principal = 0, extra = 0, interest = 0;
    QString lastBalance;
};

std::map<int, HandSums> sumTableByYear(const std::vector<engine::ScheduleRow>& rows)
{
    std::map<int, HandSums> years;
    for (const engine::ScheduleRow& row : rows) {
        HandSums& year = years[int(row.dueDate.year())];
        ++year.payments;
        year.principal += textCents(resultsCellText(row, ResultsColumn::Principal));
        year.extra += textCents(resultsCellText(row, ResultsColumn::Extra));
        year.interest += textCents(resultsCellText(row, ResultsColumn::Interest));
        year.lastBalance = resultsCellText(row, ResultsColumn::Balance);
    }
    return years;
}

QString cell(const YearlyTotal& year, YearlyColumn column) { return yearlyCellText(year, column); }

TEST(YearlyTotals, AddUpToThePaymentTableTexts)
{
    const ExtraPaymentRow lumpSum{engine::ExtraPaymentKind::LumpSum, QDate(2025, 6, 1), std::nullopt, 1234.56};
    const ExtraPaymentRow repeating{engine::ExtraPaymentKind::Repeating, QDate(2024, 12, 1), QDate(2025, 9, 1),
                                    33.33};
    struct Row {
        const char* name;
        LoanInputs in;
        std::vector<ExtraPaymentRow> extras;
        QDate today;
        std::vector<int> years, payments;
        std::vector<bool> allDue;
    };
    const Row rows[] = {
        {"WorkedExample", inputs("1000", "12", "3", 0, 2, QDate(2024, 1, 15)), {}, QDate(2024, 3, 15),
         {2024}, {3}, {true}},
        {"NovemberToFebruary", inputs("10000", "6", "16", 0, 2, QDate(2024, 11, 15)), {}, QDate(2025, 12, 15),
         {2024, 2025, 2026}, {2, 12, 2}, {true, true, false}},
        {"NovemberStartPaidOffEarlyByExtras", inputs("10000", "6", "16", 0, 2, QDate(2024, 11, 30)),
         {lumpSum, repeating}, QDate(2025, 12, 14), {2024, 2025}, {2, 12}, {true, false}},
        {"WeeklyAcrossNewYear", inputs("5000", "7.25", "2", 1, 0, QDate(2024, 12, 30)), {}, QDate(2024, 12, 30),
         {2024, 2025, 2026}, {1, 52, 51}, {true, false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const LoanResult result = run(row.in, row.extras);
        const YearlyTotals totals = yearlyTotals(result.schedule.rows, LocaleText::toYmd(row.today));
        const std::map<int, HandSums> hand = sumTableByYear(result.schedule.rows);
        ASSERT_EQ(totals.years.size(), hand.size());

        std::vector<int> years, payments;
        std::vector<bool> allDue;
        HandSums all;
        auto expected = hand.begin();
        for (const YearlyTotal& year : totals.years) {
            SCOPED_TRACE(year.year);
            years.push_back(cell(year, YearlyColumn::Year).toInt());
            payments.push_back(cell(year, YearlyColumn::Payments).toInt());
            allDue.push_back(year.allDue);
            const HandSums& sums = (expected++)->second;
            EXPECT_EQ(textCents(cell(year, YearlyColumn::Principal)), sums.principal);
            EXPECT_EQ(textCents(cell(year, YearlyColumn::Extra)), sums.extra);
            EXPECT_EQ(textCents(cell(year, YearlyColumn::Interest)), sums.interest);
            EXPECT_EQ(textCents(cell(year, YearlyColumn::TotalPaid)), sums.principal + sums.extra + sums.interest);
            EXPECT_EQ(cell(year, YearlyColumn::BalanceDue), sums.lastBalance);
            all.payments += sums.payments;
            all.principal += sums.principal;
            all.extra += sums.extra;
            all.interest += sums.interest;
        }
        EXPECT_EQ(years, row.years);
        EXPECT_EQ(payments, row.payments);
        EXPECT_EQ(allDue, row.allDue);

        const YearlyTotal& total = totals.total;
        EXPECT_EQ(yearlyTotalCellText(total, YearlyColumn::Year), QStringLiteral("Total"));
        EXPECT_EQ(yearlyTotalCellText(total, YearlyColumn::Payments).toInt(), all.payments);
        EXPECT_EQ(textCents(yearlyTotalCellText(total, YearlyColumn::Principal)), all.principal);
        EXPECT_EQ(textCents(yearlyTotalCellText(total, YearlyColumn::Extra)), all.extra);
        EXPECT_EQ(textCents(yearlyTotalCellText(total, YearlyColumn::Interest)), all.interest);
        EXPECT_EQ(textCents(yearlyTotalCellText(total, YearlyColumn::TotalPaid)),
                  all.principal + all.extra + all.interest);
        EXPECT_EQ(yearlyTotalCellText(total, YearlyColumn::BalanceDue), QString());
        // The principal paid, scheduled and extra, is the loan amount to the cent.
        EXPECT_EQ(all.principal + all.extra, textCents(result.inputs.loanAmount));
    }
}

// The worked example as the yearly view shows it.
TEST(YearlyTotals, WorkedExampleTexts)
{
    const LoanResult result = run(inputs("1000", "12", "3", 0, 2, QDate(2024, 1, 15)));
    const YearlyTotals totals = yearlyTotals(result.schedule.rows, LocaleText::toYmd(QDate(2024, 1, 1)));
    ASSERT_EQ(totals.years.size(), 1u);
    QStringList year, total;
    for (int column = 0; column < kYearlyColumns; ++column) {
        year << yearlyCellText(totals.years[0], YearlyColumn(column));
        total << yearlyTotalCellText(totals.total, YearlyColumn(column));
    }
    EXPECT_EQ(year.join(u'|').toStdString(), "2024|3|999.99|0.01|20.07|1,020.07|0.00");
    EXPECT_EQ(total.join(u'|').toStdString(), "Total|3|999.99|0.01|20.07|1,020.07|");
    EXPECT_FALSE(totals.years[0].allDue);
}

// 32,767 weekly payments over some 628 years: every year still adds up.
TEST(YearlyTotals, LongestWeeklyLoan)
{
    const LoanResult result = run(inputs("250000", "6.5", "7536", 0, 0, QDate(2024, 1, 1)));
    ASSERT_EQ(result.schedule.rows.size(), 32767u);
    const YearlyTotals totals = yearlyTotals(result.schedule.rows, LocaleText::toYmd(QDate(2024, 6, 1)));
    const std::map<int, HandSums> hand = sumTableByYear(result.schedule.rows);
    ASSERT_EQ(totals.years.size(), hand.size());
    auto expected = hand.begin();
    for (const YearlyTotal& year : totals.years) {
        const HandSums& sums = (expected++)->second;
        ASSERT_EQ(year.payments, sums.payments) << year.year;
        ASSERT_EQ(year.principalCents + year.extraCents + year.interestCents,
                  sums.principal + sums.extra + sums.interest) << year.year;
    }
    EXPECT_EQ(yearlyTotalCellText(totals.total, YearlyColumn::Payments), QStringLiteral("32,767"));
}

// Sums are written exactly as the payment table writes its amounts, under
// every regional setting.
TEST(YearlyTotals, SumsWrittenAsTheTableWritesAmounts)
{
    const long long amounts[] = {0, 1, -5, 99, 100, 123456, 123456789, 9007199254740, -123456789};
    for (const RegionalSetting& setting : kRegionalSettings) {
        PinnedLocale pinned(setting.locale);
        for (const long long cents : amounts)
            EXPECT_EQ(centsText(cents), LocaleText::groupedAmount(double(cents) / 100.0))
                << setting.name << " " << cents;
    }
}

TEST(AxisScale, RoundTopsAndSteps)
{
    struct Row { double maximum; double top; double step; };
    const Row rows[] = {
        {1000.0, 1000.0, 200.0},      {1020.07, 1250.0, 250.0}, {250000.0, 250000.0, 50000.0},
        {99999.91, 100000.0, 20000.0}, {7.0, 8.0, 2.0},        {0.0, 1.0, 1.0},
        {123456789.0, 125000000.0, 25000000.0},
    };
    for (const Row& row : rows) {
        const AxisScale scale = roundAxisScale(row.maximum);
        EXPECT_EQ(scale.top, row.top) << row.maximum;
        EXPECT_EQ(scale.step, row.step) << row.maximum;
        EXPECT_GE(scale.top, row.maximum);
        EXPECT_LE(scale.ticks(), 6);
    }
    EXPECT_EQ(axisCurrencyText(250000.0), QStringLiteral("$250,000"));
}

}  // namespace
