#include "EngineTestSupport.h"

#include "Money.h"
#include "WholeNumbers.h"

#include <cmath>

using namespace engine;

// Halves of the 15-digit decimal form go away from zero, so 1.005 (binary just
// below) still gives 1.01; a negative zero must never reach the table.
TEST(RoundDecimal, RoundsDecimalHalvesAwayFromZero)
{
    struct Row { double value; int decimals; double expected; };
    const Row rows[] = {{1.005, 2, 1.01},   {-1.005, 2, -1.01}, {2.675, 2, 2.68},   {9.995, 2, 10.0},
                        {0.125, 2, 0.13},   {-0.125, 2, -0.13}, {2.5, 0, 3.0},      {-2.5, 0, -3.0},
                        {1.00499, 2, 1.0},  {-0.004, 2, 0.0},   {-0.0, 2, 0.0},     {0.0725 / 12, 8, 0.00604167}};
    for (const Row& row : rows) {
        const double result = roundDecimal(row.value, row.decimals);
        EXPECT_EQ(result, row.expected) << row.value << " to " << row.decimals << " places";
        EXPECT_FALSE(std::signbit(result) && result == 0.0) << row.value << " gave a negative zero";
    }
}

TEST(AnnuityFormulas, GiveKnownAmountsAfterRounding)
{
    struct Row { const char* name; double computed; double expected; };
    const Row rows[] = {
        {"payment 100000 at 6 %", paymentForLoan(100000, 0.06 / 12, 360), 599.55},
        {"loan for 599.55 at 6 %", loanForPayment(599.55, 0.06 / 12, 360), 99999.91},
        {"payment at rate 0", paymentForLoan(1200, 0.0 / 12, 12), 100.0},
        {"loan at rate 0", loanForPayment(100, 0.0 / 12, 12), 1200.0},
        // 0.00000000000001 % a year: the periodic rate rounds to 0, a 0 % loan.
        {"payment at a rate rounding to 0", paymentForLoan(1200, 1e-16 / 12, 12), 100.0},
        {"loan at a rate rounding to 0", loanForPayment(100, 1e-16 / 12, 12), 1200.0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(roundToCents(row.computed), row.expected) << row.name;
}

// Whole counts: halves go to the even neighbour, on both sides of zero; the
// 16-bit bounds are inclusive; a fraction beyond them or not finite is "6 - Overflow".
TEST(WholeNumbers, HalfEvenAndTheSixteenBitLimit)
{
    struct Row { double value; double whole; bool fits; };
    const Row rows[] = {{12.5, 12, true},       {13.5, 14, true},          {-0.5, 0, true},
                        {-1.5, -2, true},       {0.6, 1, true},            {32767.4, 32767, true},
                        {32767.5, 32768, false}, {-32768.5, -32768, true}, {-32769, -32769, false}};
    for (const Row& row : rows) {
        EXPECT_EQ(roundHalfEven(row.value), row.whole) << row.value;
        EXPECT_EQ(fitsSixteenBits(roundHalfEven(row.value)), row.fits) << row.value;
        if (row.fits)
            EXPECT_EQ(roundedCount(row.value), short(row.whole)) << row.value;
        else
            EXPECT_THROW(roundedCount(row.value), EngineFailure) << row.value;
    }
    EXPECT_THROW(roundedCount(std::nan("")), EngineFailure);
    EXPECT_THROW(finiteOrOverflow(HUGE_VAL), EngineFailure);
}
