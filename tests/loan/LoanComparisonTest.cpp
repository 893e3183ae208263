// The comparison of loan windows: each loan's figures, the best-value marks
// and the columns of windows without a run.
#include "CalculateLoan.h"
#include "LoanComparison.h"
#include "Money.h"

#include <gtest/gtest.h>

namespace {

LoanInputs inputs(const char* amount, const char* rate, const char* term, int termType, int frequency = 2,
                  QDate first = QDate(2024, 1, 15))
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

std::string column(const ComparisonColumn& c)
{
    QStringList texts;
    for (const QString& text : c.texts)
        texts << text;
    return texts.join(u'|').toStdString();
}

// The marked rows of a column as letters: I total interest, T total paid, P payoff.
std::string marks(const ComparisonColumn& c)
{
    std::string found;
    for (int row = 0; row < kCompareRows; ++row) {
        if (!c.best[size_t(row)])
            continue;
        switch (CompareRow(row)) {
        case CompareRow::TotalInterest: found += 'I'; break;
        case CompareRow::TotalPaid: found += 'T'; break;
        case CompareRow::PayoffDate: found += 'P'; break;
        default: found += '?'; break;
        }
    }
    return found;
}

TEST(LoanComparison, EachLoanAgainstItsOwnBaseline)
{
    const LoanResult plain = run(inputs("1000", "12", "3", 0));
    const ExtraPaymentRow lumpSum{engine::ExtraPaymentKind::LumpSum, QDate(2024, 2, 1), std::nullopt, 500.0};
    const LoanResult early = run(inputs("1000", "12", "3", 0), {lumpSum});
    const auto columns = compareLoans({{QStringLiteral("Plain"), &plain},
                                       {QStringLiteral("Untitled"), nullptr},
                                       {QStringLiteral("Early"), &early}});
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0].caption, QStringLiteral("Plain"));
    EXPECT_EQ(column(columns[0]),
              "$1,000.00|$340.02|Monthly|12%|3 Months|1/15/2024|3|3/15/2024|$20.07|"
              "$.01 (last payment rounding)|$1,020.07|$.00|0");
    EXPECT_EQ(column(columns[1]), "Not calculated||||||||||||");
    EXPECT_FALSE(columns[1].calculated);
    EXPECT_EQ(column(columns[2]),
              "$1,000.00|$340.02|Monthly|12%|3 Months|1/15/2024|2|2/15/2024|$16.70|$336.66|$1,016.70|$3.37|1");
    const QString headings[] = {compareRowHeading(CompareRow::LoanAmount), compareRowHeading(CompareRow::PayoffDate),
                                compareRowHeading(CompareRow::PaymentsSaved)};
    EXPECT_EQ(headings[0], QStringLiteral("Loan Amount"));
    EXPECT_EQ(headings[1], QStringLiteral("Payoff Date"));
    EXPECT_EQ(headings[2], QStringLiteral("Payments Saved"));
}

// The cents the last payment adds to clear the balance are counted with the
// extra payments; the figure stays, and says what part of it is rounding.
TEST(LoanComparison, LastPaymentRoundingIsNamed)
{
    struct Row {
        const char* name;
        LoanInputs in;
        std::vector<ExtraPaymentRow> extras;
        const char* shown;
    };
    const ExtraPaymentRow lastRow{engine::ExtraPaymentKind::LumpSum, QDate(2024, 3, 1), std::nullopt, 5.0};
    const ExtraPaymentRow early{engine::ExtraPaymentKind::LumpSum, QDate(2024, 2, 1), std::nullopt, 500.0};
    const ExtraPaymentRow bigLumpSum{engine::ExtraPaymentKind::LumpSum, QDate(2053, 12, 1), std::nullopt, 0.20};
    const Row rows[] = {
        {"no extra payments", inputs("1000", "12", "3", 0), {}, "$.01 (last payment rounding)"},
        {"a lump sum of $.20 in the last row and rounding", inputs("100000", "6", "30", 1), {bigLumpSum}, "$.45 (incl. $.25 rounding)"},
        // The user's own extra payment, of which the balance needed a cent: no rounding.
        {"an extra payment in the last row", inputs("1000", "12", "3", 0), {lastRow}, "$.01"},
        {"paid off early: no rounding", inputs("1000", "12", "3", 0), {early}, "$336.66"},
        {"no interest: nothing to round", inputs("1200", "0", "12", 0), {}, "$.00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const LoanResult result = run(row.in, row.extras);
        const auto columns = compareLoans({{QStringLiteral("Loan"), &result}});
        EXPECT_EQ(columns[0].texts[size_t(CompareRow::ExtraPayments)].toStdString(), row.shown);
    }
}

TEST(LoanComparison, BestValuesAreMarked)
{
    const LoanResult years15 = run(inputs("200000", "6", "15", 1));
    const LoanResult years30 = run(inputs("200000", "6", "30", 1));
    const ExtraPaymentRow extra{engine::ExtraPaymentKind::Repeating, QDate(2024, 1, 1), QDate(2053, 12, 31), 900.0};
    const LoanResult years30Extra = run(inputs("200000", "6", "30", 1), {extra});
    const LoanResult cheaper = run(inputs("150000", "6", "30", 1));
    struct Row {
        const char* name;
        std::vector<const LoanResult*> loans;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"FifteenAgainstThirty", {&years30, &years15}, {"", "PIT"}},
        // Extra payments of 900.00 a month pay off the 30-year loan before the 15-year one.
        {"ThirtyWithExtras", {&years15, &years30, &years30Extra}, {"", "", "PIT"}},
        {"OneLoanHasNoBest", {&years15}, {""}},
        {"TiesMarkBoth", {&years15, &years15, &years30}, {"PIT", "PIT", ""}},
        {"SmallerLoanPaysLessButNotEarlier", {&cheaper, &years30}, {"PIT", "P"}},
        {"NotCalculatedIsNeverBest", {nullptr, &years30, &years15}, {"", "", "PIT"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<ComparedLoan> loans;
        for (const LoanResult* loan : row.loans)
            loans.push_back({QStringLiteral("Loan"), loan});
        std::vector<std::string> found;
        for (const ComparisonColumn& c : compareLoans(loans))
            found.push_back(marks(c));
        EXPECT_EQ(found, row.expected);
    }
}

// Figures that show the same cents tie, whatever their unrounded values: the
// comparison marks what the user sees.
TEST(LoanComparison, TiesAreJudgedInShownCents)
{
    const LoanResult base = run(inputs("200000", "6", "30", 1));
    // The base loan with its total interest and total paid set to the whole
    // cents it shows plus a fraction of a cent.
    const auto withFractions = [&](double interest, double totalPaid) {
        LoanResult r = base;
        r.schedule.summary.interest = engine::roundToCents(base.schedule.summary.interest) + interest;
        r.schedule.summary.totalPaid = engine::roundToCents(base.schedule.summary.totalPaid) + totalPaid;
        return r;
    };
    struct Row {
        const char* name;
        LoanResult first, second;
        bool sameInterestShown;
        std::string expected;  // the marks of the two columns, "first/second"
    };
    const Row rows[] = {
        {"SameCentsAboveBothBest", withFractions(0.001, 0.001), withFractions(0.004, 0.0049), true, "PIT/PIT"},
        {"SameCentsAroundBothBest", withFractions(-0.004, 0.003), withFractions(0.004, -0.002), true, "PIT/PIT"},
        {"OneCentApartOnlyTheLower", withFractions(0.0, 0.0), withFractions(0.01, 0.01), false, "PIT/P"},
        {"OnlyTotalPaidTies", withFractions(0.0, 0.001), withFractions(0.01, 0.002), false, "PIT/PT"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto columns = compareLoans({{QStringLiteral("A"), &row.first}, {QStringLiteral("B"), &row.second}});
        const size_t interest = size_t(CompareRow::TotalInterest);
        EXPECT_EQ(columns[0].texts[interest] == columns[1].texts[interest], row.sameInterestShown);
        EXPECT_EQ(marks(columns[0]) + "/" + marks(columns[1]), row.expected);
    }
}

}  // namespace
