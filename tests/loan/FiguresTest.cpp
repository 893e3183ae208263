// A run's figures as texts, the one set the window's boxes, the report and
// the comparison show; the comparison's best marks; the yearly totals.
#include "LoanComparison.h"
#include "LoanFigures.h"
#include "Loans.h"
#include "LocaleText.h"
#include "Money.h"
#include "PinnedLocale.h"
#include "ResultsTable.h"
#include "YearlyTotals.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using engine::ExtraPaymentKind;

// 1,000.00 at 12 % over 3 months from 15 January 2024.
SampleLoan workedExample()
{
    SampleLoan s;
    s.amount = 1000;
    s.ratePercent = 12;
    s.term = 3;
    s.unit = engine::TermUnit::Months;
    return s;
}

std::string joined(const LoanFigures& f, std::initializer_list<Figure> figures)
{
    QStringList texts;
    for (Figure figure : figures)
        texts << f[figure];
    return texts.join(u'|').toStdString();
}

TEST(LoanFigures, OneSetForEveryPlace)
{
    pinUnitedStates();
    const LoanResult plain = calculated(workedExample());
    const LoanFigures f = loanFigures(plain);
    EXPECT_EQ(joined(f, {Figure::FirstPayment, Figure::Frequency, Figure::InterestRate, Figure::Term,
                         Figure::LoanAmount, Figure::Payment}),
              "1/15/2024|Monthly|12 %|3 Months|$1,000.00|$340.02");
    EXPECT_EQ(joined(f, {Figure::Principal, Figure::ExtraPayments, Figure::Interest, Figure::TotalPrincipal,
                         Figure::TotalPaid}),
              "$999.99|$.01|$20.07|$1,000.00|$1,020.07");
    EXPECT_EQ(joined(f, {Figure::OriginalLoanAmount, Figure::OriginalPayoffDate, Figure::OriginalInterestPaid,
                         Figure::OriginalTotalPaid, Figure::AdjustedPayoffDate, Figure::PaymentsSaved,
                         Figure::TotalSaved}),
              "$1,000.00|3/15/2024|$20.07|$1,020.07|3/15/2024|0|$.00");
    // The cent the last payment adds is named wherever the extra payments show.
    EXPECT_EQ(f.roundingNote.toStdString(), "includes $.01 rounding on the last payment");
    EXPECT_EQ(f.extraPaymentsCell.toStdString(), "$.01 (last payment rounding)");
    const QList<FigureGroup> groups = figureGroups(plain);
    ASSERT_EQ(groups.size(), 6);
    EXPECT_EQ(groups[2].lines[2].first.toStdString(), "includes $.01 rounding on the last payment");

    const ExtraPaymentRow early{ExtraPaymentKind::LumpSum, QDate(2024, 2, 1), std::nullopt, 500.0};
    const LoanFigures paidEarly = loanFigures(calculated(workedExample(), {early}));
    EXPECT_EQ(joined(paidEarly, {Figure::PaidEarly, Figure::AdjustedPayoffDate, Figure::AdjustedInterestPaid,
                                 Figure::PaymentsSaved, Figure::TotalSaved, Figure::InterestSaved}),
              "$336.66|2/15/2024|$16.70|1|$3.37|$3.37");
    EXPECT_TRUE(paidEarly.roundingNote.isEmpty());

    PinnedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(loanFigures(plain)[Figure::Payment].toStdString(), "340,02\u00A0\u20AC");
}

// The marked rows of a column as letters: I total interest, T total paid, P payoff.
std::string marks(const ComparisonColumn& c)
{
    std::string found;
    if (c.best[std::size_t(CompareRow::PayoffDate)]) found += 'P';
    if (c.best[std::size_t(CompareRow::TotalInterest)]) found += 'I';
    if (c.best[std::size_t(CompareRow::TotalPaid)]) found += 'T';
    return found;
}

TEST(LoanComparison, BestValuesMarkedAsShown)
{
    pinUnitedStates();
    SampleLoan loan;
    loan.amount = 200000;
    const LoanResult years30 = calculated(loan);
    loan.term = 15;
    const LoanResult years15 = calculated(loan);
    const ExtraPaymentRow extra{ExtraPaymentKind::Repeating, QDate(2024, 1, 1), QDate(2053, 12, 31), 900.0};
    loan.term = 30;
    const LoanResult years30Extra = calculated(loan, {extra});
    // Totals that show the same cents tie, whatever their fractions of a cent.
    LoanResult fraction = years15;
    fraction.schedule.summary.interest += 0.004;
    struct Row {
        const char* name;
        std::vector<const LoanResult*> loans;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"fifteenAgainstThirty", {&years30, &years15}, {"", "PIT"}},
        {"thirtyWithExtrasPaysOffFirst", {&years15, &years30, &years30Extra}, {"", "", "PIT"}},
        {"oneLoanHasNoBest", {&years15}, {""}},
        {"tiesInShownCentsMarkBoth", {&years15, &fraction, &years30}, {"PIT", "PIT", ""}},
        {"notCalculatedIsNeverBest", {nullptr, &years30, &years15}, {"", "", "PIT"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<ComparedLoan> loans;
        for (const LoanResult* result : row.loans)
            loans.push_back({QStringLiteral("Loan"), result});
        std::vector<std::string> found;
        for (const ComparisonColumn& c : compareLoans(loans))
            found.push_back(marks(c));
        EXPECT_EQ(found, row.expected);
    }
    const auto columns = compareLoans({{QStringLiteral("Untitled"), nullptr}, {QStringLiteral("Car"), &years15}});
    EXPECT_EQ(columns[0].texts[0].toStdString(), "Not calculated");
    EXPECT_EQ(columns[1].texts[std::size_t(CompareRow::AnnualRate)].toStdString(), "6 %");
    EXPECT_EQ(columns[1].texts[std::size_t(CompareRow::ExtraPayments)], loanFigures(years15).extraPaymentsCell);

    // Fees raise the APR of the same loan: the lower one is marked.
    Loan charged = typedLoan({.amount = 200000, .term = 15});
    charged.fees = 2000;
    const auto withFees = std::get<LoanResult>(calculateLoan(charged, {}, false, QDate(2024, 1, 10)));
    const auto offers = compareLoans({{QStringLiteral("Fees"), &withFees}, {QStringLiteral("None"), &years15}});
    const auto apr = std::size_t(CompareRow::AnnualPercentageRate);
    EXPECT_EQ(offers[0].texts[apr].toStdString() + "|" + offers[1].texts[apr].toStdString(), "6.157 %|6.000 %");
    EXPECT_EQ(offers[0].texts[std::size_t(CompareRow::FinanceCharge)].toStdString(), "$105,788.82");
    EXPECT_FALSE(offers[0].best[apr]);
    EXPECT_TRUE(offers[1].best[apr]);
}

// Cents of a text as the user reads it.
long long textCents(const QString& text)
{
    return std::llround(LocaleText::readNumber(text).value_or(-1) * 100.0);
}

// Each year's sums are what a user adding up the payment table's texts gets.
TEST(YearlyTotals, AddUpToThePaymentTable)
{
    pinUnitedStates();
    const ExtraPaymentRow lumpSum{ExtraPaymentKind::LumpSum, QDate(2025, 6, 1), std::nullopt, 1234.56};
    const ExtraPaymentRow repeating{ExtraPaymentKind::Repeating, QDate(2024, 12, 1), QDate(2025, 9, 1), 33.33};
    SampleLoan november{QStringLiteral("Loan"), 10000, 6, 16, engine::TermUnit::Months,
                        engine::PaymentFrequency::Monthly, QDate(2024, 11, 30)};
    SampleLoan weekly{QStringLiteral("Loan"), 5000, 7.25, 2, engine::TermUnit::Years,
                      engine::PaymentFrequency::Weekly, QDate(2024, 12, 30)};
    SampleLoan longest{QStringLiteral("Loan"), 250000, 6.5, 7536, engine::TermUnit::Months,
                       engine::PaymentFrequency::Weekly, QDate(2024, 1, 1)};
    struct Row {
        const char* name;
        LoanResult result;
        std::vector<int> payments;  // per year; empty: not checked
    };
    const Row rows[] = {
        {"paidOffEarlyByExtras", calculated(november, {lumpSum, repeating}, {}, QDate(2025, 12, 14)), {2, 12}},
        {"weeklyAcrossNewYear", calculated(weekly), {1, 52, 51}},
        {"longestWeekly", calculated(longest), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto& paid = row.result.schedule.rows;
        const YearlyTotals totals = yearlyTotals(paid, LocaleText::toYmd(QDate(2025, 12, 14)));
        std::map<int, std::array<long long, 4>> hand;  // payments, principal, extra, interest
        for (const engine::ScheduleRow& r : paid) {
            auto& year = hand[int(r.dueDate.year())];
            year[0] += 1;
            year[1] += textCents(resultsCellText(r, ResultsColumn::Principal));
            year[2] += textCents(resultsCellText(r, ResultsColumn::Extra));
            year[3] += textCents(resultsCellText(r, ResultsColumn::Interest));
        }
        ASSERT_EQ(totals.years.size(), hand.size());
        std::vector<int> payments;
        long long principal = 0;
        for (const YearlyTotal& year : totals.years) {
            const auto& sums = hand[year.year];
            payments.push_back(year.payments);
            ASSERT_EQ(year.payments, sums[0]) << year.year;
            ASSERT_EQ(textCents(yearlyCellText(year, YearlyColumn::Principal)), sums[1]) << year.year;
            ASSERT_EQ(textCents(yearlyCellText(year, YearlyColumn::Extra)), sums[2]) << year.year;
            ASSERT_EQ(textCents(yearlyCellText(year, YearlyColumn::TotalPaid)), sums[1] + sums[2] + sums[3]);
            principal += sums[1] + sums[2];
        }
        if (!row.payments.empty())
            EXPECT_EQ(payments, row.payments);
        // The principal paid, scheduled and extra, is the loan amount to the cent.
        EXPECT_EQ(principal, std::llround(*row.result.loan.loanAmount * 100.0));
        EXPECT_EQ(yearlyTotalCellText(totals.total, YearlyColumn::Year).toStdString(), "Total");
        EXPECT_EQ(yearlyTotalCellText(totals.total, YearlyColumn::BalanceDue), QString());
    }
}

}  // namespace
