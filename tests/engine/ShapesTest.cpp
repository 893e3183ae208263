// Interest-only payments, a balloon, skipped payments and an extra payment
// that lowers the payment, alone and together.
#include "EngineTestSupport.h"

#include <functional>

using namespace enginetest;

namespace {

using enum engine::RateChangeMode;

LoanTerms shaped(LoanTerms terms, int interestOnly, int balloonAfter = 0)
{
    terms.interestOnlyPayments = interestOnly;
    terms.balloonAfter = balloonAfter;
    return terms;
}

ExtraPayment lowering(ExtraPayment extra)
{
    extra.then = ExtraPaymentThen::LowerThePayment;
    return extra;
}

std::vector<int> rowsMarked(const ScheduleResult& result, RowMark mark)
{
    std::vector<int> rows;
    for (const ScheduleRow& row : result.rows)
        if (row.marks & mark)
            rows.push_back(row.number);
    return rows;
}

// The rows of `result` from `first` to `last` (counted from 1) as their payments.
std::vector<double> payments(const ScheduleResult& result, int first, int last)
{
    std::vector<double> found;
    for (int n = first; n <= last && n <= int(result.rows.size()); ++n)
        found.push_back(result.rows[std::size_t(n - 1)].payment);
    return found;
}

const LoanTerms kHundredThousand = loan(100000.0, 6, 30, Years, Monthly);

// $300,000 at 7.5 % over 30 years monthly, 120 payments interest only.
TEST(Shapes, InterestOnlyExample)
{
    const ScheduleResult result = runOk(shaped(loan(300000.0, 7.5, 30, Years, Monthly), 120));
    EXPECT_TRUE(repaid(result));
    EXPECT_EQ(result.payment, 2416.78);  // the payment box: after the interest-only payments
    EXPECT_EQ(payments(result, 119, 122), (std::vector<double>{1875.00, 1875.00, 2416.78, 2416.78}));
    EXPECT_EQ(result.rows.size(), 360u);
    EXPECT_EQ(rowsMarked(result, InterestOnlyMark).size(), 120u);
    // With a blank loan amount, the amount whose payment over 240 that is.
    const LoanTerms fromPayment = shaped(loan(std::nullopt, 7.5, 30, Years, Monthly, ymd(2024, 1, 15), 2416.78), 120);
    EXPECT_EQ(runOk(fromPayment).loanAmount, 300000.05);
}

// $200,000 at 6 % over 30 years monthly, the balance due with payment 84.
TEST(Shapes, BalloonAt84)
{
    const LoanTerms terms = shaped(loan(200000.0, 6, 30, Years, Monthly), 0, 84);
    const ScheduleResult result = runOk(terms);
    EXPECT_TRUE(repaid(result));
    EXPECT_EQ(payments(result, 83, 84), (std::vector<double>{1199.10, 180477.97}));
    EXPECT_EQ(result.balloon, 179278.87);
    EXPECT_EQ(rowsMarked(result, BalloonMark), std::vector<int>{84});
    EXPECT_EQ(result.baseline.payments, 84);
    // Cleared by an extra payment before it: no balloon.
    const ScheduleResult early = runOk(terms, {.extraPayments = {lumpSum(ymd(2025, 1, 1), 250000.0)}});
    EXPECT_EQ(early.rows.size(), 13u);
    EXPECT_EQ(early.balloon, 0.0);
}

// Three payments from 15 January 2025, a due date (payments 13 to 15), skipped in each mode.
TEST(Shapes, ThreePaymentsSkipped)
{
    struct Row { RateChangeMode mode; double payment16; std::size_t rows; double last; };
    const Row rows[] = {{NewPayment, 610.56, 360, 609.30}, {SamePayment, 599.55, 378, 387.87}};
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.mode));
        const ScheduleResult result = runOk(kHundredThousand, {.skippedPayments = {{ymd(2025, 1, 15), 3, row.mode}}});
        EXPECT_TRUE(repaid(result));
        EXPECT_EQ(rowsMarked(result, SkippedMark), (std::vector<int>{13, 14, 15}));
        EXPECT_EQ(payments(result, 13, 16), (std::vector<double>{0.0, 0.0, 0.0, row.payment16}));
        EXPECT_EQ(result.rows[14].balance, 100261.00);
        EXPECT_EQ(result.rows.size(), row.rows);
        EXPECT_EQ(result.rows.back().payment, row.last);
        EXPECT_EQ(result.baselineBalances.size(), row.rows);  // the baseline skips them too
    }
}

// A $20,000 lump sum on 1 January 2029 (payment 61) lowering the payment.
TEST(Shapes, RecastAfterALumpSum)
{
    const ScheduleResult result =
        runOk(kHundredThousand, {.extraPayments = {lowering(lumpSum(ymd(2029, 1, 1), 20000.0))}});
    EXPECT_TRUE(repaid(result));
    EXPECT_EQ(payments(result, 61, 62), (std::vector<double>{599.55, 470.50}));
    EXPECT_EQ(result.loweredPayment, 470.50);
    EXPECT_EQ(rowsMarked(result, LoweredMark), std::vector<int>{61});
    EXPECT_EQ(result.rows.size(), 360u);
    // The loan without it is the loan as scheduled.
    EXPECT_EQ(result.baselineBalances, runOk(kHundredThousand).baselineBalances);
    EXPECT_GT(result.totalSaved, 0.0);
}

// Within the interest-only payments a rate change or a skip changes only the
// interest; the payment after them is the level payment at the rate then in
// force over the payments left, whatever the mode, and the loan ends as
// scheduled. An extra payment due on a skipped payment still applies.
TEST(Shapes, ChangesAmongTheInterestOnlyPayments)
{
    const LoanTerms terms = shaped(loan(300000.0, 7.5, 30, Years, Monthly), 120);
    const ScheduleResult result = runOk(
        terms, {.extraPayments = {lumpSum(ymd(2028, 2, 1), 1000.0)},
                .rateChanges = {{ymd(2027, 1, 1), 9, SamePayment}},
                .skippedPayments = {{ymd(2028, 1, 1), 3, SamePayment}}});
    EXPECT_TRUE(repaid(result));
    EXPECT_EQ(result.rows.size(), 360u);
    EXPECT_EQ(result.rows[37].payment, roundToCents(result.rows[36].balance * 0.0075));
    EXPECT_EQ(rowsMarked(result, SkippedMark), (std::vector<int>{49, 50, 51}));
    EXPECT_EQ(result.rows[49].extra, 1000.0);
    EXPECT_EQ(result.rows[120].payment, roundToCents(paymentForLoan(result.rows[119].balance, 0.0075, 240)));
    EXPECT_EQ(result.rateChangeEffects[0], (RateChangeEffect{true, 37, result.rows[36].payment}));
}

// Every shape alone and with rate changes and extra payments, at every
// frequency: each table repaid row by row, the shape marked where it took effect.
TEST(Shapes, EveryShapeAtEveryFrequency)
{
    struct Shape { const char* name; std::function<void(LoanTerms&, LoanRun&, int n)> apply; RowMark mark; };
    const Shape shapes[] = {
        {"InterestOnly", [](LoanTerms& t, LoanRun&, int n) { t.interestOnlyPayments = n / 4; }, InterestOnlyMark},
        {"Balloon", [](LoanTerms& t, LoanRun&, int n) { t.balloonAfter = n / 2; }, BalloonMark},
        {"SkipNew", [](LoanTerms&, LoanRun& r, int) { r.skippedPayments = {{ymd(2025, 3, 1), 3, NewPayment}}; },
         SkippedMark},
        {"SkipSame", [](LoanTerms&, LoanRun& r, int) { r.skippedPayments = {{ymd(2025, 3, 1), 3, SamePayment}}; },
         SkippedMark},
        {"Recast", [](LoanTerms&, LoanRun& r, int) { r.extraPayments.push_back(lowering(lumpSum(ymd(2026, 2, 1), 3000))); },
         LoweredMark},
    };
    const LoanRun changesAndExtras{
        .extraPayments = {lumpSum(ymd(2024, 9, 1), 2000.0), repeating(ymd(2025, 1, 1), ymd(2026, 1, 1), 50.0)},
        .rateChanges = {{ymd(2025, 6, 1), 8, NewPayment}, {ymd(2026, 6, 1), 5, SamePayment}}};
    for (int f = 0; f < int(kFrequencyTexts.size()); ++f) {
        const LoanTerms plain = loan(30000.0, 6, 5, Years, PaymentFrequency(f));
        const int n = numberOfPayments(plain);
        for (const LoanRun& base : {LoanRun{}, changesAndExtras}) {
            LoanTerms all = plain;
            LoanRun allRun = base;
            for (const Shape& shape : shapes) {
                SCOPED_TRACE(std::string(kFrequencyTexts[std::size_t(f)]) + ", " + shape.name +
                             (base.rateChanges.empty() ? "" : " with rate changes and extra payments"));
                LoanTerms terms = plain;
                LoanRun run = base;
                shape.apply(terms, run, n);
                const ScheduleResult result = runOk(terms, run);
                EXPECT_TRUE(repaid(result));
                EXPECT_FALSE(rowsMarked(result, shape.mark).empty());
                if (shape.mark != SkippedMark || shape.name == std::string("SkipNew"))
                    shape.apply(all, allRun, n);
            }
            SCOPED_TRACE(std::string(kFrequencyTexts[std::size_t(f)]) + ", every shape together");
            EXPECT_TRUE(repaid(runOk(all, allRun)));
        }
    }
}

TEST(Shapes, Refused)
{
    using Reason = ShapeFailure::Reason;
    auto failure = [](Reason reason, engine::Shape shape, std::size_t skip = 0, std::size_t other = 0, short n = 0) {
        return ShapeFailure{reason, shape, skip, other, n};
    };
    ShapeFailure stalls = failure(Reason::PaymentNotAboveInterest, engine::Shape::SkippedPayments);
    stalls.paymentNumber = 18;
    stalls.dueDate = ymd(2025, 6, 15);
    stalls.payment = 2001.60;
    stalls.interest = 2121.87;
    struct Row { const char* name; LoanTerms terms; LoanRun run; ShapeFailure expected; };
    const Row rows[] = {
        {"InterestOnlyAllPayments", shaped(kHundredThousand, 360), {},
         failure(Reason::NotBeforeTheEnd, engine::Shape::InterestOnly, 0, 0, 360)},
        {"BalloonAtTheEnd", shaped(kHundredThousand, 0, 360), {},
         failure(Reason::NotBeforeTheEnd, engine::Shape::Balloon, 0, 0, 360)},
        // The third skip's first payment (15 April 2025) is the second one's last.
        {"SkipsSharingAPayment", kHundredThousand,
         {.skippedPayments = {{ymd(2025, 5, 1), 1, NewPayment}, {ymd(2025, 2, 1), 3, SamePayment},
                              {ymd(2025, 3, 20), 2, NewPayment}}},
         failure(Reason::SkipsOverlap, engine::Shape::SkippedPayments, 2, 1)},
        {"SolveInterestOnly", shaped(kHundredThousand, 12), {.calculate = Unknown::InterestRate},
         failure(Reason::CannotSolve, engine::Shape::InterestOnly)},
        {"SolveBalloon", shaped(kHundredThousand, 0, 12), {.calculate = Unknown::Term},
         failure(Reason::CannotSolve, engine::Shape::Balloon)},
        {"SolveSkips", kHundredThousand, {.skippedPayments = {{ymd(2025, 3, 1), 1, NewPayment}},
                                          .calculate = Unknown::Term},
         failure(Reason::CannotSolve, engine::Shape::SkippedPayments)},
        {"SolveRecast", kHundredThousand, {.extraPayments = {lowering(lumpSum(ymd(2026, 2, 1), 3000))},
                                           .calculate = Unknown::InterestRate},
         failure(Reason::CannotSolve, engine::Shape::LowerThePayment)},
        // 24 % over 30 years pays little more than the interest: after three
        // skipped payments "Same payment" never lowers the balance.
        {"SamePaymentStalls", loan(100000.0, 24, 30, Years, Monthly),
         {.skippedPayments = {{ymd(2025, 3, 1), 3, SamePayment}}}, stalls},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LoanTerms terms = row.terms;
        terms.paymentAmount = 599.55;  // solving needs both amounts
        const RunOutcome outcome = runLoan(terms, row.run);
        ASSERT_TRUE(std::holds_alternative<ShapeFailure>(outcome)) << "alternative " << outcome.index();
        EXPECT_EQ(std::get<ShapeFailure>(outcome), row.expected);
    }
}

}  // namespace
