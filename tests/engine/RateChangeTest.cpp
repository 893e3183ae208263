// Rate changes during the loan, in both modes, with the baseline following them.
#include "EngineTestSupport.h"

#include "Money.h"
#include "Schedule.h"

using namespace enginetest;

namespace {

using enum engine::RateChangeMode;

RunOutcome runWith(const LoanTerms& terms, const std::vector<RateChange>& changes,
                   const std::vector<ExtraPayment>& extras = {})
{
    return runLoanTwice(terms, {.extraPayments = extras, .rateChanges = changes});
}

ScheduleResult runOk(const LoanTerms& terms, const std::vector<RateChange>& changes,
                     const std::vector<ExtraPayment>& extras = {})
{
    return enginetest::runOk(terms, {.extraPayments = extras, .rateChanges = changes});
}

std::vector<std::size_t> markedRows(const ScheduleResult& result)
{
    std::vector<std::size_t> marked;
    for (std::size_t i = 0; i < result.rows.size(); ++i)
        if (rateChangeTakesEffect(result, i))
            marked.push_back(i + 1);
    return marked;
}

// 100,000 at 6 % over 30 years monthly, first payment 15 January 2024: payment
// 61 is due 15 January 2029.
TEST(RateChanges, FollowTheirModeFromTheirFirstPayment)
{
    const LoanTerms base = loan(100000.0, 6, 30, Years, Monthly);
    const ScheduleResult plain = runOk(base, {});
    const double balanceAfter60 = plain.rows[59].balance;
    struct Row {
        const char* name;
        std::vector<RateChange> changes;
        std::size_t rows;         // payments made
        double payment61;         // the payment of row 61
        double rate61;            // the annual rate in force at row 61
    };
    const double up = roundToCents(paymentForLoan(balanceAfter60, 0.08 / 12, 300));
    const double down = roundToCents(paymentForLoan(balanceAfter60, 0.04 / 12, 300));
    const Row rows[] = {
        {"NewPaymentUp", {{ymd(2029, 1, 1), 8, NewPayment}}, 360, up, 8},
        {"NewPaymentDown", {{ymd(2029, 1, 15), 4, NewPayment}}, 360, down, 4},
        // On the due date itself it applies to that payment; a day later it does not.
        {"SamePaymentUpRunsPastTheEnd", {{ymd(2029, 1, 15), 7, SamePayment}}, 0, 599.55, 7},
        {"SamePaymentDownEndsEarly", {{ymd(2028, 12, 16), 4, SamePayment}}, 0, 599.55, 4},
        {"DayAfterTheDueDate", {{ymd(2029, 1, 16), 8, NewPayment}}, 360, 599.55, 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScheduleResult result = runOk(base, row.changes);
        EXPECT_TRUE(repaid(result));
        EXPECT_EQ(result.rows.at(60).payment, row.payment61);
        EXPECT_EQ(annualRatePercentAt(result, result.rows.at(60)), row.rate61);
        EXPECT_EQ(annualRatePercentAt(result, result.rows.at(59)), 6.0);
        if (row.rows) {
            EXPECT_EQ(result.rows.size(), row.rows);
        }
        // The change tells where it took effect and the payment it brought there.
        const RateChangeEffect effect = result.rateChangeEffects.at(0);
        EXPECT_EQ(markedRows(result), std::vector<std::size_t>{std::size_t(effect.row)});
        EXPECT_EQ(effect, (RateChangeEffect{true, short(row.rate61 != 6.0 ? 61 : 62),
                                            result.rows.at(std::size_t(effect.row - 1)).payment}));
    }
    // "Same payment": every payment after the change but the last is the same
    // payment, the last what was left plus its interest, with no extra.
    for (const ScheduleResult& same : {runOk(base, rows[2].changes), runOk(base, rows[3].changes)}) {
        for (std::size_t i = 60; i + 1 < same.rows.size(); ++i)
            ASSERT_EQ(same.rows[i].payment, 599.55) << "payment " << i + 1;
        EXPECT_LT(same.rows.back().payment, 599.55);
        EXPECT_EQ(same.rows.back().extra, 0.0);
        EXPECT_EQ(same.paymentsSaved, 0);
        EXPECT_NE(same.rows.size(), 360u);
    }
}

// Decided cases: a change before the first payment applies from payment 1; a
// change after the payoff changes nothing; of several changes between two due
// dates only the last takes effect.
TEST(RateChanges, BeforeTheFirstPaymentAfterThePayoffAndBetweenDueDates)
{
    const LoanTerms base = loan(20000.0, 5, 5, Years, Monthly);
    const ScheduleResult typed7 = runOk(loan(20000.0, 7, 5, Years, Monthly), {});

    // "New payment" before payment 1: exactly the loan with that rate typed.
    const ScheduleResult before = runOk(base, {{ymd(2023, 6, 1), 7, NewPayment}});
    EXPECT_TRUE(repaid(before));
    EXPECT_EQ(before.baselineBalances, typed7.baselineBalances);
    EXPECT_EQ(markedRows(before), std::vector<std::size_t>{1});
    EXPECT_EQ(before.rateChangeEffects, (std::vector<RateChangeEffect>{{true, 1, typed7.payment}}));
    // The payment box keeps the payment of the loan's own rate.
    EXPECT_EQ(before.payment, runOk(base, {}).payment);

    // "Same payment" before payment 1: the payment of 5 %, the interest of 7 %.
    const ScheduleResult same = runOk(base, {{ymd(2024, 1, 15), 7, SamePayment}});
    EXPECT_TRUE(repaid(same));
    EXPECT_EQ(same.rows[0].payment, same.payment);
    EXPECT_EQ(same.rows[0].interest, roundToCents(20000.0 * 0.00583333));
    EXPECT_GT(same.rows.size(), 60u);

    const ScheduleResult after = runOk(base, {{ymd(2029, 1, 16), 9, NewPayment}});
    EXPECT_EQ(after.rows, runOk(base, {}).rows);

    // 20 and 25 March fall between the payments of 15 March and 15 April.
    const ScheduleResult between =
        runOk(base, {{ymd(2024, 3, 25), 3, SamePayment}, {ymd(2024, 3, 20), 9, NewPayment}});
    EXPECT_TRUE(repaid(between));
    EXPECT_EQ(markedRows(between), std::vector<std::size_t>{4});
    EXPECT_EQ(between.rateChangeEffects, (std::vector<RateChangeEffect>{{true, 4, before.payment}, {}}));
    EXPECT_EQ(after.rateChangeEffects, std::vector<RateChangeEffect>(1));
    EXPECT_EQ(annualRatePercentAt(between, between.rows[3]), 3.0);
    EXPECT_EQ(between.rows[3].rateChange, 1);  // the first in the list as given
}

TEST(RateChanges, RefusedWithTheChangeNamed)
{
    const LoanTerms base = loan(100000.0, 6, 30, Years, Monthly);
    struct Row {
        const char* name;
        std::vector<RateChange> changes;
        std::vector<ExtraPayment> extras;
        RateChangeFailure expected;
    };
    RateChangeFailure sameDate;
    sameDate.reason = RateChangeFailure::Reason::SameDate;
    sameDate.change = 2;
    sameDate.otherChange = 0;
    RateChangeFailure stalls;
    stalls.reason = RateChangeFailure::Reason::PaymentNotAboveInterest;
    stalls.change = 1;
    stalls.paymentNumber = 61;
    stalls.dueDate = ymd(2029, 1, 15);
    stalls.payment = 0.0;  // the payment of 6.5 %, compared apart
    RateChangeFailure baselineStalls = stalls;
    baselineStalls.change = 0;
    baselineStalls.payment = 599.55;
    baselineStalls.withoutExtraPayments = true;
    const Row rows[] = {
        {"TwoOnOneDate", {{ymd(2030, 1, 1), 7, NewPayment}, {ymd(2031, 1, 1), 5, NewPayment},
                          {ymd(2030, 1, 1), 8, SamePayment}}, {}, sameDate},
        {"SamePaymentBelowTheInterest", {{ymd(2025, 1, 1), 6.5, NewPayment}, {ymd(2029, 1, 1), 12, SamePayment}},
         {}, stalls},
        // The run with a large lump sum could pay 8 %, the loan without it cannot.
        {"OnlyTheBaselineStalls", {{ymd(2029, 1, 1), 8, SamePayment}},
         {{ExtraPaymentKind::LumpSum, ymd(2024, 2, 1), std::nullopt, 60000.0}}, baselineStalls},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunOutcome outcome = runWith(base, row.changes, row.extras);
        auto* failure = std::get_if<RateChangeFailure>(&outcome);
        ASSERT_NE(failure, nullptr) << "alternative " << outcome.index();
        if (failure->reason == RateChangeFailure::Reason::PaymentNotAboveInterest) {
            EXPECT_GE(failure->interest, failure->payment);
            failure->interest = 0.0;  // checked above: whatever the balance gives
            if (!failure->withoutExtraPayments) {
                // The payment the "New payment" change of 2025 set (at payment 13).
                EXPECT_EQ(failure->payment, runOk(base, {row.changes[0]}).rows[12].payment);
                failure->payment = 0.0;
            }
        }
        EXPECT_TRUE(*failure == row.expected) << "change " << failure->change << ", payment "
                                              << failure->paymentNumber << ", due " << dateText(failure->dueDate);
    }
    // A negative rate cannot come from the window; the engine refuses it too.
    const RunOutcome negative = runWith(base, {{ymd(2030, 1, 1), -1, NewPayment}});
    ASSERT_TRUE(std::holds_alternative<NumberedError>(negative));
    EXPECT_EQ(std::get<NumberedError>(negative).number, ErrorNumber::InvalidPropertyValue);
}

// Rates of 0 %, each table repaid to the cent. (Every frequency with both
// modes: Shapes.EveryShapeAtEveryFrequency.)
TEST(RateChanges, ZeroRatesAndOtherFrequencies)
{
    struct Row {
        const char* name;
        LoanTerms terms;
        std::vector<RateChange> changes;
        std::vector<ExtraPayment> extras;
        std::size_t rows;  // 0: not pinned
    };
    const Row rows[] = {
        {"ToZeroNewPayment", loan(12000.0, 6, 12, Months, Monthly), {{ymd(2024, 7, 1), 0, NewPayment}}, {}, 12},
        {"ToZeroSamePayment", loan(12000.0, 6, 12, Months, Monthly), {{ymd(2024, 7, 1), 0, SamePayment}}, {}, 12},
        // 900 left at 2 % a month takes 11 more payments of 100.
        {"FromZeroSamePayment", loan(1200.0, 0, 12, Months, Monthly), {{ymd(2024, 4, 1), 24, SamePayment}}, {}, 14},
        {"FromZeroNewPayment", loan(1200.0, 0, 12, Months, Monthly), {{ymd(2024, 4, 1), 24, NewPayment}}, {}, 12},
        {"SemiMonthlyBothModes", loan(5000.0, 9, 24, Months, SemiMonthly, ymd(2024, 1, 31)),
         {{ymd(2024, 5, 15), 11, SamePayment}, {ymd(2025, 1, 1), 4, NewPayment}}, {}, 48},
        // After a "Same payment" change has run past the end, a "New payment"
        // change has one scheduled payment left and clears the balance.
        {"NewPaymentPastTheEnd", loan(1200.0, 0, 12, Months, Monthly),
         {{ymd(2024, 4, 1), 24, SamePayment}, {ymd(2025, 1, 15), 12, NewPayment}}, {}, 13},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScheduleResult result = runOk(row.terms, row.changes, row.extras);
        EXPECT_TRUE(repaid(result));
        if (row.rows) {
            EXPECT_EQ(result.rows.size(), row.rows);
        }
        for (const ScheduleRow& r : result.rows) {
            if (annualRatePercentAt(result, r) == 0.0) {
                ASSERT_EQ(r.interest, 0.0) << "payment " << r.number;
            }
        }
    }
}

// The savings compare like with like: the baseline is the same loan with the
// same rate changes and no extra payments.
TEST(RateChanges, ComparisonWithAndWithoutExtraPayments)
{
    const LoanTerms base = loan(150000.0, 5.5, 25, Years, Monthly, ymd(2024, 3, 1));
    const std::vector<RateChange> changes = {{ymd(2029, 3, 1), 7, NewPayment}, {ymd(2034, 3, 1), 8, SamePayment},
                                             {ymd(2039, 3, 1), 6, NewPayment}};
    const std::vector<ExtraPayment> extras = {
        {ExtraPaymentKind::Repeating, ymd(2024, 3, 1), ymd(2034, 3, 1), 150.0},
        {ExtraPaymentKind::LumpSum, ymd(2031, 5, 1), std::nullopt, 10000.0}};
    const ScheduleResult with = runOk(base, changes, extras);
    const ScheduleResult without = runOk(base, changes);
    EXPECT_TRUE(repaid(with));
    EXPECT_EQ(with.baselineBalances, without.baselineBalances);
    EXPECT_EQ(with.baseline.interestPaid, without.summary.interest);
    EXPECT_EQ(with.paymentsSaved, short(without.rows.size() - with.rows.size()));
    EXPECT_EQ(with.totalSaved, roundToCents(without.summary.totalPaid - with.summary.totalPaid));
    EXPECT_GT(with.totalSaved, 0.0);
}

TEST(RateChanges, SamePaymentPastTheLimitOverflows)
{
    // About 30,400 weekly payments at 0.5 %: a little more under "Same payment"
    // runs on past 32,767 payments.
    LoanTerms terms = loan(250000.0, 0.5, 7000, Months, Weekly, ymd(2024, 1, 1));
    const RunOutcome outcome = runWith(terms, {{ymd(2025, 1, 1), 0.52, SamePayment}});
    ASSERT_TRUE(std::holds_alternative<NumberedError>(outcome)) << "alternative " << outcome.index();
    EXPECT_EQ(std::get<NumberedError>(outcome), overflowError());
}

}  // namespace
