// The fourteen loan checks: each one's message and focus, their order (an
// earlier failure hides every later one), and the edge cases of rounding.
#include "ValidateLoan.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

#include <functional>
#include <ostream>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

LoanInputs validInputs()
{
    LoanInputs in;
    in.description = QStringLiteral("Car");
    in.frequency = 2;
    in.interestRate = QStringLiteral("6.5");
    in.termType = 1;
    in.term = QStringLiteral("30");
    in.loanAmount = QStringLiteral("10000");
    in.paymentAmount = QString();
    in.startDate = QDate(2024, 1, 15);
    return in;
}

struct FailCase {
    const char* name;
    std::function<void(LoanInputs&)> change;
    const char* message;
    LoanField field;
    bool isError = false;
};

class FailsCheck : public ::testing::TestWithParam<FailCase> {};

TEST_P(FailsCheck, MessageAndFocus)
{
    LoanInputs in = validInputs();
    GetParam().change(in);
    const ValidationResult result = validateLoan(in);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, QString::fromUtf8(GetParam().message));
    EXPECT_EQ(result.field, GetParam().field);
    EXPECT_EQ(result.isError, GetParam().isError);
}

// Breaking everything from one step on: only that step's message may show.
void breakFrom(LoanInputs& in, int step)
{
    if (step <= 1) in.description = QStringLiteral("   ");
    if (step <= 2) in.frequency = -1;
    if (step <= 3) in.interestRate = QString();
    if (step <= 6) in.termType = -1;
    if (step <= 7) in.term = QStringLiteral(" ");
    if (step <= 10) {
        in.loanAmount = QString();
        in.paymentAmount = QString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailsCheck,
    ::testing::Values(
        FailCase{"step1_blankDescription", [](LoanInputs& in) { in.description.clear(); },
                 "Loan Description must be entered.", LoanField::Description},
        FailCase{"step1_spacesOnly", [](LoanInputs& in) { in.description = QStringLiteral("    "); },
                 "Loan Description must be entered.", LoanField::Description},
        FailCase{"step1_beforeAllOthers", [](LoanInputs& in) { breakFrom(in, 1); },
                 "Loan Description must be entered.", LoanField::Description},
        FailCase{"step2_noFrequency", [](LoanInputs& in) { breakFrom(in, 2); },
                 "Payment frequency must be selected.", LoanField::Frequency},
        FailCase{"step3_blankRate", [](LoanInputs& in) { breakFrom(in, 3); }, "Interest rate must be entered.",
                 LoanField::InterestRate},
        FailCase{"step4_lettersRate",
                 [](LoanInputs& in) {
                     breakFrom(in, 6);
                     in.interestRate = QStringLiteral("-abc");
                 },
                 "Interest rate must be numeric.", LoanField::InterestRate},
        FailCase{"step5_negativeRate",
                 [](LoanInputs& in) {
                     breakFrom(in, 6);
                     in.interestRate = QStringLiteral("-0.01");
                 },
                 "Interest rate cannot be a negative number.", LoanField::InterestRate},
        FailCase{"step6_noTermType", [](LoanInputs& in) { breakFrom(in, 6); }, "Payment term type must be selected.",
                 LoanField::TermType},
        FailCase{"step7_blankTerm", [](LoanInputs& in) { breakFrom(in, 7); }, "Payment term must be entered.",
                 LoanField::Term},
        FailCase{"step8_lettersTerm",
                 [](LoanInputs& in) {
                     breakFrom(in, 10);
                     in.term = QStringLiteral("ten");
                 },
                 "Payment Term must be numeric.", LoanField::Term},
        FailCase{"step9_zeroTerm",
                 [](LoanInputs& in) {
                     breakFrom(in, 10);
                     in.term = QStringLiteral("0");
                 },
                 "Payment term must be greater than 0.", LoanField::Term},
        FailCase{"step9_termRoundsToZero", [](LoanInputs& in) { in.term = QStringLiteral("0.4"); },
                 "Payment term must be greater than 0.", LoanField::Term},
        FailCase{"step9_halfRoundsToEvenZero", [](LoanInputs& in) { in.term = QStringLiteral("0.5"); },
                 "Payment term must be greater than 0.", LoanField::Term},
        FailCase{"step9_negativeTerm", [](LoanInputs& in) { in.term = QStringLiteral("-5"); },
                 "Payment term must be greater than 0.", LoanField::Term},
        FailCase{"termOverflow", [](LoanInputs& in) { in.term = QStringLiteral("32768"); }, "6 - Overflow",
                 LoanField::Term, true},
        FailCase{"termOverflowHidesLaterSteps",
                 [](LoanInputs& in) {
                     breakFrom(in, 10);
                     in.term = QStringLiteral("40,000");
                 },
                 "6 - Overflow", LoanField::Term, true},
        FailCase{"termNegativeOverflow", [](LoanInputs& in) { in.term = QStringLiteral("-40000"); }, "6 - Overflow",
                 LoanField::Term, true},
        FailCase{"termHalfRoundsPastLimit", [](LoanInputs& in) { in.term = QStringLiteral("32767.5"); },
                 "6 - Overflow", LoanField::Term, true},
        FailCase{"step10_bothAmountsBlank", [](LoanInputs& in) { breakFrom(in, 10); },
                 "A Loan Amount or Payment Amount must be entered.", LoanField::LoanAmount},
        FailCase{"step10_bothAmountsSpaces",
                 [](LoanInputs& in) {
                     in.loanAmount = QStringLiteral("  ");
                     in.paymentAmount = QStringLiteral(" ");
                 },
                 "A Loan Amount or Payment Amount must be entered.", LoanField::LoanAmount},
        FailCase{"step11_lettersLoan", [](LoanInputs& in) { in.loanAmount = QStringLiteral("lots"); },
                 "The Loan Amount must be numeric.", LoanField::LoanAmount},
        FailCase{"step11_evenWithGoodPayment",
                 [](LoanInputs& in) {
                     in.loanAmount = QStringLiteral("1O00");
                     in.paymentAmount = QStringLiteral("250");
                 },
                 "The Loan Amount must be numeric.", LoanField::LoanAmount},
        FailCase{"step12_loanRoundsToZero", [](LoanInputs& in) { in.loanAmount = QStringLiteral("0.004"); },
                 "Loan Amount must be greater than $0.00.", LoanField::LoanAmount},
        FailCase{"step12_negativeLoan", [](LoanInputs& in) { in.loanAmount = QStringLiteral("-5"); },
                 "Loan Amount must be greater than $0.00.", LoanField::LoanAmount},
        FailCase{"step12_zeroCurrency", [](LoanInputs& in) { in.loanAmount = QStringLiteral("$.00"); },
                 "Loan Amount must be greater than $0.00.", LoanField::LoanAmount},
        FailCase{"step13_lettersPayment",
                 [](LoanInputs& in) {
                     in.loanAmount = QStringLiteral("  ");
                     in.paymentAmount = QStringLiteral("abc");
                 },
                 "The Payment Amount must be numeric.", LoanField::PaymentAmount},
        FailCase{"step14_paymentRoundsToZero",
                 [](LoanInputs& in) {
                     in.loanAmount.clear();
                     in.paymentAmount = QStringLiteral("0.004");
                 },
                 "Payment Amount must be greater than $0.00.", LoanField::PaymentAmount},
        FailCase{"step14_negativePayment",
                 [](LoanInputs& in) {
                     in.loanAmount.clear();
                     in.paymentAmount = QStringLiteral("-$250.00");
                 },
                 "Payment Amount must be greater than $0.00.", LoanField::PaymentAmount}),
    [](const auto& info) { return std::string(info.param.name); });

struct PassCase {
    const char* name;
    std::function<void(LoanInputs&)> change;
    int wholeTerm;
};

class Passes : public ::testing::TestWithParam<PassCase> {};

TEST_P(Passes, WithWholeTerm)
{
    LoanInputs in = validInputs();
    GetParam().change(in);
    const ValidationResult result = validateLoan(in);
    EXPECT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(result.wholeTerm, GetParam().wholeTerm);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Passes,
    ::testing::Values(
        PassCase{"plain", [](LoanInputs&) {}, 30},
        PassCase{"zeroRate", [](LoanInputs& in) { in.interestRate = QStringLiteral("0"); }, 30},
        PassCase{"negativeZeroRate", [](LoanInputs& in) { in.interestRate = QStringLiteral("-0"); }, 30},
        PassCase{"termRoundsUp", [](LoanInputs& in) { in.term = QStringLiteral("0.6"); }, 1},
        PassCase{"halfToEvenDown", [](LoanInputs& in) { in.term = QStringLiteral("12.5"); }, 12},
        PassCase{"halfToEvenUp", [](LoanInputs& in) { in.term = QStringLiteral("13.5"); }, 14},
        PassCase{"spacesAroundTerm", [](LoanInputs& in) { in.term = QStringLiteral("  12.6 "); }, 13},
        PassCase{"largestTerm", [](LoanInputs& in) { in.term = QStringLiteral("32767"); }, 32767},
        PassCase{"loanGivenPaymentLetters",
                 [](LoanInputs& in) {
                     in.loanAmount = QStringLiteral("1000");
                     in.paymentAmount = QStringLiteral("letters");
                 },
                 30},
        PassCase{"paymentOnly",
                 [](LoanInputs& in) {
                     in.loanAmount.clear();
                     in.paymentAmount = QStringLiteral("250");
                 },
                 30},
        PassCase{"currencyAmounts", [](LoanInputs& in) { in.loanAmount = QStringLiteral("$1,234.50"); }, 30},
        PassCase{"loanRoundsUpToOneCent", [](LoanInputs& in) { in.loanAmount = QStringLiteral("0.005"); }, 30}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToLoanTerms, ConvertsValidatedTexts)
{
    LoanInputs in = validInputs();
    in.loanAmount = QStringLiteral("$1,234.50");
    in.paymentAmount = QStringLiteral("99.99");
    in.interestRate = QStringLiteral(" 6.25 ");
    in.term = QStringLiteral("12.5");
    const engine::LoanTerms terms = toLoanTerms(in);
    EXPECT_EQ(terms.description, "Car");
    EXPECT_EQ(terms.loanAmount, std::optional<double>(1234.5));
    EXPECT_DOUBLE_EQ(terms.paymentAmount, 99.99);
    EXPECT_DOUBLE_EQ(terms.annualRatePercent, 6.25);
    EXPECT_EQ(terms.term, 12);
    EXPECT_EQ(terms.termType, 1);
    EXPECT_EQ(terms.frequency, 2);
    using namespace std::chrono;
    EXPECT_EQ(terms.firstPaymentDate, year{2024} / January / day{15});
}

TEST(ToLoanTerms, BlankLoanAmountStaysEmpty)
{
    LoanInputs in = validInputs();
    in.loanAmount = QStringLiteral("   ");
    in.paymentAmount = QStringLiteral("$250.00");
    const engine::LoanTerms terms = toLoanTerms(in);
    EXPECT_FALSE(terms.loanAmount.has_value());
    EXPECT_DOUBLE_EQ(terms.paymentAmount, 250.0);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
