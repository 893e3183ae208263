#pragma once

#include "LoanTerms.h"
#include "Money.h"
#include "NumberedError.h"
#include "Schedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace engine {

inline std::ostream& operator<<(std::ostream& out, const NumberedError& error)
{
    return out << error.number << " - " << error.description;
}

}  // namespace engine

namespace enginetest {

using namespace engine;
using enum engine::PaymentFrequency;
using enum engine::TermUnit;

inline Date ymd(int y, unsigned m, unsigned d)
{
    return Date{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
}

inline std::string dateText(const Date& date)
{
    return std::to_string(int(date.year())) + '-' + std::to_string(unsigned(date.month())) + '-' +
           std::to_string(unsigned(date.day()));
}

// The loan of most cases: first payment 15 January 2024.
inline LoanTerms loan(std::optional<double> amount, double ratePercent, int term, TermUnit unit,
                      PaymentFrequency frequency, Date first = ymd(2024, 1, 15), double payment = 0.0)
{
    return {.description = "", .loanAmount = amount, .paymentAmount = payment, .annualRatePercent = ratePercent,
            .term = term, .termUnit = unit, .frequency = frequency, .firstPaymentDate = first};
}

// Whole sequences: one failure naming the first index that differs.
template <class T, class Text>
::testing::AssertionResult sameSequence(const std::vector<T>& expected, const std::vector<T>& found, Text text)
{
    for (std::size_t i = 0; i < expected.size() && i < found.size(); ++i)
        if (!(expected[i] == found[i]))
            return ::testing::AssertionFailure()
                   << "index " << i << ": expected " << text(expected[i]) << ", found " << text(found[i]);
    if (expected.size() != found.size())
        return ::testing::AssertionFailure() << "expected " << expected.size() << " items, found " << found.size();
    return ::testing::AssertionSuccess();
}

// The compounding that is once a payment: it must give the figures of "As
// payments" to the last bit.
inline std::optional<Compounding> compoundedAsPaid(std::optional<PaymentFrequency> frequency)
{
    constexpr Compounding matching[] = {Compounding::Weekly,    Compounding::BiWeekly,  Compounding::Monthly,
                                        Compounding::SemiMonthly, Compounding::BiMonthly, Compounding::Quarterly,
                                        Compounding::SemiAnnually, Compounding::Annually};
    if (!frequency || int(*frequency) >= int(std::size(matching)))
        return std::nullopt;
    return matching[int(*frequency)];
}

// Every run of the tables: one "As payments" is repeated compounded once a
// payment, which must give the same outcome row for row.
inline RunOutcome runLoanTwice(const LoanTerms& terms, const LoanRun& run)
{
    RunOutcome outcome = runLoan(terms, run);
    const auto same = compoundedAsPaid(terms.frequency);
    if (terms.compounding != Compounding::AsPayments || !same)
        return outcome;
    LoanTerms compounded = terms;
    compounded.compounding = *same;
    const RunOutcome again = runLoan(compounded, run);
    EXPECT_EQ(again.index(), outcome.index()) << "compounded " << int(*same);
    const auto* first = std::get_if<ScheduleResult>(&outcome);
    const auto* second = std::get_if<ScheduleResult>(&again);
    if (first && second) {
        auto rowText = [](const ScheduleRow& row) { return "row " + std::to_string(row.number); };
        auto pointText = [](const BalancePoint& point) { return std::to_string(point.balance); };
        EXPECT_TRUE(sameSequence(first->rows, second->rows, rowText)) << "compounded " << int(*same);
        EXPECT_TRUE(sameSequence(first->baselineBalances, second->baselineBalances, pointText));
        EXPECT_EQ(first->payment, second->payment);
        EXPECT_EQ(first->annualRatePercent, second->annualRatePercent);
    }
    return outcome;
}

inline LoanTerms compounded(LoanTerms terms, Compounding compounding)
{
    terms.compounding = compounding;
    return terms;
}

// A run expected to succeed; a refusal fails the test and gives an empty result.
inline ScheduleResult runOk(const LoanTerms& terms, const LoanRun& run = {})
{
    RunOutcome outcome = runLoanTwice(terms, run);
    const auto* error = std::get_if<NumberedError>(&outcome);
    EXPECT_TRUE(std::holds_alternative<ScheduleResult>(outcome))
        << "run refused, alternative " << outcome.index() << (error ? ": " + error->text() : std::string());
    return std::holds_alternative<ScheduleResult>(outcome) ? std::get<ScheduleResult>(outcome) : ScheduleResult{};
}

inline ExtraPayment lumpSum(Date date, double amount) { return {ExtraPaymentKind::LumpSum, date, std::nullopt, amount}; }
inline ExtraPayment repeating(Date from, Date to, double amount)
{
    return {ExtraPaymentKind::Repeating, from, to, amount};
}

// What every table must show, row by row: the payment is the principal and
// the interest as paid, the balance falls by the principal and the extra
// payment, the running totals add up; the principal column comes to the loan
// amount and the last balance is 0.00. The baseline too: its payments come to
// its total paid and it ends at 0.00; without extra payments it is the table.
// The first row that differs is named.
inline ::testing::AssertionResult repaid(const ScheduleResult& result)
{
    auto differs = [](const char* what, std::size_t index, double expected, double found) {
        return ::testing::AssertionFailure() << what << " of payment " << index + 1 << ": expected " << expected
                                             << ", found " << found;
    };
    double balance = result.loanAmount, principal = 0.0, interest = 0.0;
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
        const ScheduleRow& row = result.rows[i];
        principal += row.principal + row.extra;
        interest += row.interest;
        balance = roundToCents(balance - row.principal - row.extra);
        if (row.payment != roundToCents(row.principal + row.interest))
            return differs("payment", i, roundToCents(row.principal + row.interest), row.payment);
        if (row.balance != balance)
            return differs("balance", i, balance, row.balance);
        if (roundToCents(row.cumulativePrincipal) != roundToCents(principal))
            return differs("cumulative principal", i, principal, row.cumulativePrincipal);
        if (roundToCents(row.cumulativeInterest) != roundToCents(interest))
            return differs("cumulative interest", i, interest, row.cumulativeInterest);
    }
    if (result.rows.empty() || balance != 0.0 || roundToCents(principal) != result.loanAmount)
        return ::testing::AssertionFailure() << result.rows.size() << " rows repay " << principal << " of "
                                             << result.loanAmount << ", leaving " << balance;
    double paid = 0.0;
    for (const BalancePoint& point : result.baselineBalances)
        paid += point.payment;
    if (result.summary.extraPayments == result.summary.lastPaymentRounding) {
        std::vector<BalancePoint> rows;
        for (const ScheduleRow& row : result.rows)
            rows.push_back({row.dueDate, row.balance, roundToCents(row.payment + row.extra)});
        auto text = [](const BalancePoint& point) { return dateText(point.dueDate) + " " + std::to_string(point.balance); };
        if (auto same = sameSequence(rows, result.baselineBalances, text); !same)
            return same << " (the baseline without extra payments)";
    }
    if (result.baselineBalances.empty() || result.baselineBalances.back().balance != 0.0 ||
        roundToCents(paid) != roundToCents(result.baseline.totalPaid) ||
        roundToCents(result.baseline.totalPaid - result.baseline.interestPaid) != result.loanAmount)
        return ::testing::AssertionFailure() << "the baseline pays " << paid << " of " << result.baseline.totalPaid;
    return ::testing::AssertionSuccess();
}

}  // namespace enginetest
