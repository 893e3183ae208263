// Rate changes and solving for the rate or the term through the loan layer:
// the rows' texts in the user's regional settings, the checks, and what a
// run writes back or refuses.
#include "CalculateLoan.h"
#include "LocaleText.h"
#include "PinnedLocale.h"

#include <gtest/gtest.h>

namespace {

using engine::RateChangeMode;
using engine::Unknown;

LoanInputs inputs(const char* rate, const char* term, const char* loan, const char* payment,
                  Unknown calculate = Unknown::PaymentOrLoanAmount, int termType = 1, int frequency = 2)
{
    LoanInputs in{QStringLiteral("House"), frequency, QString::fromUtf8(rate), termType, QString::fromUtf8(term),
                  QString::fromUtf8(loan), QString::fromUtf8(payment), QDate(2024, 1, 15)};
    in.calculate = calculate;
    return in;
}

TEST(RateChangeRows, TextsReadBackUnderEveryRegionalSetting)
{
    const std::vector<RateChangeRow> rows = {{QDate(2029, 1, 1), 6.875, RateChangeMode::NewPayment},
                                             {QDate(2034, 12, 31), 0, RateChangeMode::SamePayment},
                                             {QDate(2030, 2, 28), 12.5, RateChangeMode::SamePayment}};
    for (const RegionalSetting& setting : kRegionalSettings) {
        SCOPED_TRACE(setting.name);
        PinnedLocale pinned(setting.locale);
        std::vector<RateChangeTexts> texts;
        for (const RateChangeRow& row : rows)
            texts.push_back(rateChangeTexts(row));
        const auto read = rateChangeRowsFromTexts(texts);
        ASSERT_TRUE(std::holds_alternative<std::vector<RateChangeRow>>(read))
            << std::get<RateChangeProblem>(read).message.toStdString();
        EXPECT_EQ(std::get<std::vector<RateChangeRow>>(read), rows);
    }
    PinnedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(rateChangeTexts(rows[0]).rate.toStdString(), "6,875");
    EXPECT_EQ(rateChangeTexts(rows[1]).mode.toStdString(), "Same payment");
}

TEST(RateChangeRows, ProblemsNameTheRowAndTheCell)
{
    const RateChangeTexts good{"1/1/2029", "6.5", "New payment"};
    struct Row {
        const char* name;
        RateChangeTexts texts;
        RateChangeColumn column;
        const char* message;
    };
    const Row rows[] = {
        {"notADate", {"31/31/2029", "6", "New payment"}, RateChangeColumn::From,
         "The date of rate change 2 must be a date."},
        {"blankRate", {"1/1/2030", " ", "New payment"}, RateChangeColumn::Rate,
         "The rate of rate change 2 must be entered."},
        {"letters", {"1/1/2030", "six", "New payment"}, RateChangeColumn::Rate,
         "The rate of rate change 2 must be numeric."},
        {"negative", {"1/1/2030", "-0.5", "Same payment"}, RateChangeColumn::Rate,
         "The rate of rate change 2 cannot be a negative number."},
        {"unknownMode", {"1/1/2030", "6", "Lower payment"}, RateChangeColumn::Mode,
         "Rate change 2 must keep the payment (\"Same payment\") or compute a new one (\"New payment\")."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto read = rateChangeRowsFromTexts({good, row.texts});
        ASSERT_TRUE(std::holds_alternative<RateChangeProblem>(read));
        const RateChangeProblem& problem = std::get<RateChangeProblem>(read);
        EXPECT_EQ(problem.row, 1);
        EXPECT_EQ(problem.column, row.column);
        EXPECT_EQ(problem.message.toStdString(), row.message);
    }
}

// The default keeps today's run: passing no rate changes through the new
// entry point gives the old one's figures and texts.
TEST(CalculateLoanWithRateChanges, DefaultIsTodaysRun)
{
    for (const LoanInputs& in : {inputs("6", "30", "$100,000.00", ""), inputs("6", "30", "", "599.55"),
                                 inputs("7.25", "36", "10000", "", Unknown::PaymentOrLoanAmount, 0)}) {
        const auto before = calculateLoan(in, {}, false, QDate(2024, 1, 1));
        const auto after = calculateLoan(in, {}, {}, false, QDate(2024, 1, 1));
        const LoanResult& b = std::get<LoanResult>(before);
        const LoanResult& a = std::get<LoanResult>(after);
        EXPECT_EQ(a.inputs.paymentAmount, b.inputs.paymentAmount);
        EXPECT_EQ(a.inputs.loanAmount, b.inputs.loanAmount);
        EXPECT_EQ(a.inputs.interestRate, in.interestRate);
        EXPECT_EQ(a.schedule.summary.interest, b.schedule.summary.interest);
        EXPECT_EQ(a.schedule.rows.size(), b.schedule.rows.size());
    }
}

TEST(CalculateLoanWithRateChanges, RefusalsNameTheChange)
{
    const LoanInputs in = inputs("6", "30", "100000", "");
    struct Row {
        const char* name;
        std::vector<RateChangeRow> changes;
        const char* message;
        LoanField field;
        int change;
    };
    const Row rows[] = {
        {"sameDate",
         {{QDate(2030, 1, 1), 7, RateChangeMode::NewPayment}, {QDate(2030, 1, 1), 8, RateChangeMode::SamePayment}},
         "Rate changes 1 and 2 both apply from 1/1/2030; keep one of them.", LoanField::InterestRate, 1},
        {"samePaymentBelowInterest", {{QDate(2029, 1, 1), 8, RateChangeMode::SamePayment}},
         "Under rate change 1 (8 % from 1/1/2029, \"Same payment\") the payment of $599.55 does not exceed the "
         "interest of $620.36 due with payment 61 on 1/15/2029, so the balance would never fall. Give that change "
         "\"New payment\" or a lower rate.",
         LoanField::PaymentAmount, 0},
        {"negativeTypedRate", {{QDate(2029, 1, 1), 7, RateChangeMode::NewPayment}, {QDate(2031, 1, 1), -2,
                                                                                    RateChangeMode::NewPayment}},
         "The rate of rate change 2 cannot be a negative number.", LoanField::InterestRate, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto outcome = calculateLoan(in, {}, row.changes, false, QDate(2024, 1, 1));
        ASSERT_TRUE(std::holds_alternative<ValidationFailure>(outcome)) << "alternative " << outcome.index();
        const ValidationFailure& failure = std::get<ValidationFailure>(outcome);
        EXPECT_EQ(failure.message.toStdString(), row.message);
        EXPECT_EQ(failure.field, row.field);
        EXPECT_EQ(failure.rateChange, row.change);
        EXPECT_EQ(failure.wholeTerm, 30);
    }
}

TEST(CalculateLoanWithRateChanges, ResultCarriesTheRateInForce)
{
    const std::vector<RateChangeRow> changes = {{QDate(2029, 1, 1), 7, RateChangeMode::NewPayment},
                                                {QDate(2034, 1, 1), 5.5, RateChangeMode::SamePayment}};
    const auto outcome = calculateLoan(inputs("6", "30", "100000", ""), {}, changes, false, QDate(2024, 1, 1));
    const LoanResult& result = std::get<LoanResult>(outcome);
    EXPECT_EQ(result.rateChanges, changes);
    EXPECT_EQ(result.inputs.paymentAmount.toStdString(), "$599.55");
    std::vector<int> marked;
    for (std::size_t i = 0; i < result.schedule.rows.size(); ++i)
        if (engine::rateChangeTakesEffect(result.schedule, i))
            marked.push_back(result.schedule.rows[i].number);
    EXPECT_EQ(marked, (std::vector<int>{61, 121}));
    EXPECT_EQ(engine::annualRatePercentAt(result.schedule, result.schedule.rows[130]), 5.5);
    EXPECT_EQ(result.schedule.rows.back().balance, 0.0);
}

// Solving: what is checked, what is written back, and what is refused.
TEST(CalculateLoanSolving, WritesBackOrNamesThePaymentBox)
{
    struct Row {
        const char* name;
        LoanInputs in;
        const char* message;  // empty: solved
        LoanField field;
        const char *rate, *term, *payment;  // the inputs after the run
        int payments;
    };
    const Row rows[] = {
        {"rateFromBothAmounts", inputs("", "30", "$100,000.00", "$599.55", Unknown::InterestRate), "", {}, "6", "30",
         "$599.55", 360},
        {"rateWithDecimals", inputs("9", "36", "10000", "309.92", Unknown::InterestRate, 0), "", {}, "7.25", "36",
         "$309.92", 36},
        {"termInYears", inputs("6", "", "100000", "599.55", Unknown::Term), "", {}, "6", "30", "$599.55", 360},
        // 197 payments: 16 years and 5 months.
        {"termBetweenYears", inputs("6", "1", "100000", "800", Unknown::Term), "", {}, "6", "17", "$800.00", 197},
        {"termInMonths", inputs("6", "abc", "100000", "599.55", Unknown::Term, 0), "", {}, "6", "360", "$599.55",
         360},
        {"rateNeedsPayment", inputs("", "30", "100000", "", Unknown::InterestRate),
         "The Payment Amount must be entered to calculate the Interest Rate.", LoanField::PaymentAmount, "", "", "",
         0},
        {"termNeedsLoan", inputs("6", "", "", "599.55", Unknown::Term),
         "The Loan Amount must be entered to calculate the Term.", LoanField::LoanAmount, "", "", "", 0},
        {"noRate", inputs("", "1", "1000", "80", Unknown::InterestRate),
         "No interest rate of 0 % or more gives a Payment Amount of $80.00 on a Loan Amount of $1,000.00 over this "
         "term: even without interest the payment is larger.",
         LoanField::PaymentAmount, "", "", "", 0},
        {"paymentBelowInterest", inputs("6", "", "100000", "500", Unknown::Term),
         "The Payment Amount $500.00 does not exceed the interest of the first period on a Loan Amount of "
         "$100,000.00, so the loan would never be repaid.",
         LoanField::PaymentAmount, "", "", "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto outcome = calculateLoan(row.in, {}, {}, false, QDate(2024, 1, 1));
        if (const auto* failure = std::get_if<ValidationFailure>(&outcome)) {
            EXPECT_EQ(failure->message.toStdString(), row.message);
            EXPECT_EQ(failure->field, row.field);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<LoanResult>(outcome)) << std::get<engine::NumberedError>(outcome).text();
        const LoanResult& result = std::get<LoanResult>(outcome);
        EXPECT_STREQ(row.message, "");
        EXPECT_EQ(result.inputs.interestRate.toStdString(), row.rate);
        EXPECT_EQ(result.inputs.term.toStdString(), row.term);
        EXPECT_EQ(result.inputs.paymentAmount.toStdString(), row.payment);
        if (row.payments) {
            EXPECT_EQ(result.schedule.numberOfPayments, row.payments);
        }
        EXPECT_EQ(result.loan.calculate, row.in.calculate);
        EXPECT_EQ(result.schedule.rows.back().balance, 0.0);
    }
}

TEST(CalculateLoanSolving, SolvedRateInTheUsersNumberFormat)
{
    PinnedLocale german(QLocale(QLocale::German, QLocale::Germany));
    const auto outcome =
        calculateLoan(inputs("", "36", "10.000,00", "309,92", Unknown::InterestRate, 0), {}, {}, false, QDate(2024, 1, 1));
    ASSERT_TRUE(std::holds_alternative<LoanResult>(outcome));
    const LoanResult& result = std::get<LoanResult>(outcome);
    EXPECT_EQ(result.inputs.interestRate.toStdString(), "7,25");
    EXPECT_EQ(result.loan.annualRatePercent, 7.25);
    // Calculating again with the rate as written back gives the typed payment.
    LoanInputs again = result.inputs;
    again.calculate = Unknown::PaymentOrLoanAmount;
    const auto recalculated = calculateLoan(again, {}, {}, false, QDate(2024, 1, 1));
    EXPECT_EQ(std::get<LoanResult>(recalculated).schedule.payment, 309.92);
}

}  // namespace
