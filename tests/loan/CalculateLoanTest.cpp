// The one entry point from a typed loan to a result: what the run found goes
// back into the loan, and what it refuses names the box or the rate change.
#include "CalculateLoan.h"
#include "LoanFigures.h"
#include "Loans.h"
#include "PinnedLocale.h"

#include <gtest/gtest.h>

namespace {

using engine::RateChangeMode;

Loan loanOf(std::optional<double> amount, double payment, double rate, int term,
            CalculateChoice choice = CalculateChoice::Payment, engine::TermUnit unit = engine::TermUnit::Years)
{
    SampleLoan s;
    s.ratePercent = rate;
    s.term = term;
    s.unit = unit;
    Loan loan = typedLoan(s);
    loan.loanAmount = amount;
    loan.paymentAmount = payment;
    loan.choice = choice;
    return loan;
}

TEST(CalculateLoan, WhatTheRunFindsOrRefuses)
{
    pinUnitedStates();
    const auto rate = CalculateChoice::InterestRate;
    const auto term = CalculateChoice::Term;
    struct Row {
        const char* name;
        Loan loan;
        const char* message;  // refused: the message (the payment box named), or "number - description"
        double amount, payment, ratePercent;
        int wholeTerm, payments;
    };
    const Row rows[] = {
        {"paymentFromAmount", loanOf(100000, 0, 6, 30), "", 100000, 599.55, 6, 30, 360},
        {"amountFromPayment", loanOf(std::nullopt, 599.55, 6, 30), "", 99999.91, 599.55, 6, 30, 360},
        {"tinyRateIsNoRate", loanOf(1200, 0, 0.00000000000001, 12, {}, engine::TermUnit::Months), "", 1200, 100,
         0.00000000000001, 12, 12},
        {"overflowingTerm", loanOf(1000, 0, 6, 2731), "6 - Overflow", 0, 0, 0, 0, 0},
        {"rateFromBothAmounts", loanOf(100000, 599.55, 0, 30, rate), "", 100000, 599.55, 6, 30, 360},
        {"rateWithDecimals", loanOf(10000, 309.92, 0, 36, rate, engine::TermUnit::Months), "", 10000, 309.92, 7.25, 36, 36},
        // 197 payments: 16 years and 5 months, so the whole term is 17 years.
        {"termBetweenYears", loanOf(100000, 800, 6, 0, term), "", 100000, 800, 6, 17, 197},
        {"noRate", loanOf(1000, 80, 0, 1, rate),
         "No interest rate of 0 % or more gives a Payment Amount of $80.00 on a Loan Amount of $1,000.00 over this "
         "term: even without interest the payment is larger.", 0, 0, 0, 0, 0},
        {"paymentBelowInterest", loanOf(100000, 500, 6, 0, term),
         "The Payment Amount $500.00 does not exceed the interest of the first period on a Loan Amount of "
         "$100,000.00, so the loan would never be repaid.", 0, 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto outcome = calculateLoan(row.loan, {}, false, QDate(2024, 1, 1));
        if (const auto* failure = std::get_if<ValidationFailure>(&outcome)) {
            EXPECT_EQ(failure->message.toStdString(), row.message);
            EXPECT_EQ(failure->field, LoanField::PaymentAmount);
            continue;
        }
        if (const auto* error = std::get_if<engine::NumberedError>(&outcome)) {
            EXPECT_EQ(error->text(), row.message);
            continue;
        }
        EXPECT_STREQ(row.message, "");
        const LoanResult& result = std::get<LoanResult>(outcome);
        EXPECT_EQ(result.loan.loanAmount, std::optional(row.amount));
        EXPECT_EQ(result.loan.paymentAmount, row.payment);
        EXPECT_EQ(result.loan.annualRatePercent, row.ratePercent);
        EXPECT_EQ(result.loan.term, row.wholeTerm);
        EXPECT_EQ(int(result.schedule.baseline.payments), row.payments);
        EXPECT_EQ(result.schedule.rows.back().balance, 0.0);
        EXPECT_EQ(result.today, QDate(2024, 1, 1));
    }
}

TEST(CalculateLoan, RateChangesRefusedByNameOrFollowed)
{
    pinUnitedStates();
    const Loan loan = loanOf(100000, 0, 6, 30);
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
        {"negativeStoredRate", {{QDate(2029, 1, 1), 7, RateChangeMode::NewPayment}, {QDate(2031, 1, 1), -2,
                                                                                   RateChangeMode::NewPayment}},
         "The rate of rate change 2 cannot be a negative number.", LoanField::InterestRate, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto outcome = calculateLoan(loan, {{}, row.changes, {}}, false, QDate(2024, 1, 1));
        ASSERT_TRUE(std::holds_alternative<ValidationFailure>(outcome)) << "alternative " << outcome.index();
        const ValidationFailure& failure = std::get<ValidationFailure>(outcome);
        EXPECT_EQ(failure.message.toStdString(), row.message);
        EXPECT_EQ(failure.field, row.field);
        EXPECT_EQ(failure.rateChange, row.change);
    }

    // Followed: each change marks the payment where it takes effect, and
    // brings the payment it tells (a new level payment, or the same one).
    const std::vector<RateChangeRow> changes = {{QDate(2029, 1, 1), 7.5, RateChangeMode::NewPayment},
                                                {QDate(2034, 1, 1), 5.5, RateChangeMode::SamePayment},
                                                {QDate(2099, 1, 1), 9, RateChangeMode::NewPayment}};
    const LoanResult result = calculated(SampleLoan{}, {}, changes);
    std::vector<int> marked;
    for (std::size_t i = 0; i < result.schedule.rows.size(); ++i)
        if (engine::rateChangeTakesEffect(result.schedule, i))
            marked.push_back(result.schedule.rows[i].number);
    EXPECT_EQ(marked, (std::vector<int>{61, 121}));
    const auto payments = rateChangePayments(result.schedule);
    ASSERT_EQ(payments.size(), 3u);
    EXPECT_EQ(payments[0], std::optional(687.66));
    EXPECT_EQ(payments[1], payments[0]);
    EXPECT_EQ(payments[2], std::nullopt);
    // The report and the comparison tell it too.
    const LoanFigures figures = loanFigures(result);
    ASSERT_EQ(figures.paymentChanges.size(), 2);
    EXPECT_EQ(figures.paymentChanges[0].first.toStdString(), "Payment from 1/15/2029");
    EXPECT_EQ(figures.paymentsCell.toStdString(), "$599.55, then $687.66, then $687.66");
}

// The loan as lenders state it: compounding apart from the payments,
// accelerated payments, and the fees and points in the APR, as the figures
// the window, the report and the comparison show.
TEST(CalculateLoan, TheLoanAsLendersStateIt)
{
    pinUnitedStates();
    using engine::Compounding;
    using engine::PaymentFrequency;
    struct Row {
        const char* name;
        double amount, rate;
        int years;
        PaymentFrequency frequency;
        Compounding compounding;
        double fees, points;
        const char *payment, *amountFinanced, *apr;
        int payments;
    };
    const Row rows[] = {
        {"canadian", 85000, 11, 25, PaymentFrequency::Monthly, Compounding::SemiAnnually, 0, 0, "$818.15", "$85,000.00",
         "10.756 %", 300},
        {"canadian30", 130000, 12, 30, PaymentFrequency::Monthly, Compounding::SemiAnnually, 0, 0, "$1,308.30",
         "$130,000.00", "11.711 %", 360},
        {"asPaymentsIsToday", 100000, 6, 30, PaymentFrequency::Monthly, Compounding::AsPayments, 0, 0, "$599.55",
         "$100,000.00", "6.000 %", 360},
        {"monthlyCompoundingIsToday", 100000, 6, 30, PaymentFrequency::Monthly, Compounding::Monthly, 0, 0, "$599.55",
         "$100,000.00", "6.000 %", 360},
        {"acceleratedBiWeekly", 200000, 7.5, 15, PaymentFrequency::AcceleratedBiWeekly, Compounding::SemiAnnually, 0, 0,
         "$920.51", "$200,000.00", "7.373 %", 339},
        {"threePoints", 75000, 13.25, 30, PaymentFrequency::Monthly, Compounding::AsPayments, 0, 3, "$844.33",
         "$72,750.00", "13.693 %", 360},
        {"feesAndPoints", 75000, 13.25, 30, PaymentFrequency::Monthly, Compounding::AsPayments, 500, 1, "$844.33",
         "$73,750.00", "13.493 %", 360},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SampleLoan s;
        s.amount = row.amount;
        s.ratePercent = row.rate;
        s.term = row.years;
        s.frequency = row.frequency;
        Loan loan = typedLoan(s);
        loan.compounding = row.compounding;
        loan.fees = row.fees;
        loan.pointsPercent = row.points;
        const auto outcome = calculateLoan(loan, {}, false, QDate(2024, 1, 1));
        ASSERT_TRUE(std::holds_alternative<LoanResult>(outcome)) << outcome.index();
        const LoanResult& result = std::get<LoanResult>(outcome);
        const LoanFigures f = loanFigures(result);
        EXPECT_EQ(f[Figure::Payment].toStdString(), row.payment);
        EXPECT_EQ(f[Figure::AmountFinanced].toStdString(), row.amountFinanced);
        EXPECT_EQ(f[Figure::AnnualPercentageRate].toStdString(), row.apr);
        EXPECT_EQ(int(result.schedule.rows.size()), row.payments);
    }

    // Solving with accelerated payments names the frequency, on the Calculate list.
    Loan accelerated = loanOf(200000, 920.51, 0, 15, CalculateChoice::InterestRate);
    accelerated.frequency = PaymentFrequency::AcceleratedBiWeekly;
    const auto refused = calculateLoan(accelerated, {}, false, QDate(2024, 1, 1));
    ASSERT_TRUE(std::holds_alternative<ValidationFailure>(refused));
    EXPECT_EQ(std::get<ValidationFailure>(refused).field, LoanField::Calculate);
    EXPECT_TRUE(std::get<ValidationFailure>(refused).message.contains("Accelerated Bi-Weekly"));
    // Fees and points together at or above a loan amount found from the payment.
    Loan charged = loanOf(std::nullopt, 599.55, 6, 30);
    charged.fees = 60000;
    charged.pointsPercent = 50;
    const auto tooMuch = calculateLoan(charged, {}, false, QDate(2024, 1, 1));
    ASSERT_TRUE(std::holds_alternative<ValidationFailure>(tooMuch));
    EXPECT_EQ(std::get<ValidationFailure>(tooMuch).field, LoanField::Fees);
}

TEST(CalculateLoan, SavingStoresTheAmountFoundFromThePayment)
{
    const auto saved = loanForSaving(loanOf(std::nullopt, 599.55, 6, 30));
    ASSERT_TRUE(std::holds_alternative<Loan>(saved));
    EXPECT_EQ(std::get<Loan>(saved).loanAmount, std::optional(99999.91));
    Loan noPayments = loanOf(std::nullopt, 100, 6, 1, {}, engine::TermUnit::Months);
    noPayments.frequency = engine::PaymentFrequency::Quarterly;
    EXPECT_EQ(std::get<engine::NumberedError>(loanForSaving(noPayments)).text(),
              "11 - The loan amount cannot be derived from the payment: Division by zero");
}

}  // namespace
