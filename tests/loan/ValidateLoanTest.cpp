// The fourteen loan checks in order (an earlier failure hides every later one,
// so each row breaks all later steps too) and the rounding edges of the term.
#include "ValidateLoan.h"

#include <gtest/gtest.h>


namespace {

using F = LoanField;

struct Case {
    const char *name, *description;
    int frequency;
    const char* rate;
    int termType;
    const char *term, *loan, *payment, *message;  // message empty: passes
    LoanField field;
    int wholeTerm;
};

const Case kCases[] = {
    {"step1", "", -1, "", -1, "", "", "", "Loan Description must be entered.", F::Description, 0},
    {"step1_spacesOnly", "   ", 2, "6.5", 1, "30", "1000", "", "Loan Description must be entered.", F::Description, 0},
    {"step2", "Car", -1, "", -1, "", "", "", "Payment frequency must be selected.", F::Frequency, 0},
    {"step3", "Car", 2, " ", -1, "", "", "", "Interest rate must be entered.", F::InterestRate, 0},
    {"step4_letters", "Car", 2, "-abc", -1, "", "", "", "Interest rate must be numeric.", F::InterestRate, 0},
    {"step5", "Car", 2, "-0.01", -1, "", "", "", "Interest rate cannot be a negative number.", F::InterestRate, 0},
    {"step6", "Car", 2, "6.5", -1, "", "", "", "Payment term type must be selected.", F::TermType, 0},
    {"step7", "Car", 2, "6.5", 1, " ", "", "", "Payment term must be entered.", F::Term, 0},
    {"step8", "Car", 2, "6.5", 1, "ten", "", "", "Payment Term must be numeric.", F::Term, 0},
    {"step9", "Car", 2, "6.5", 1, "0", "", "", "Payment term must be greater than 0.", F::Term, 0},
    {"step10_termRoundsUp", "Car", 2, "6.5", 1, "0.6", "", "", "A Loan Amount or Payment Amount must be entered.", F::LoanAmount, 1},
    {"step9_roundsToZero", "Car", 2, "6.5", 1, "0.4", "1000", "", "Payment term must be greater than 0.", F::Term, 0},
    {"overflow", "Car", 2, "6.5", 1, "32768", "", "", "6 - Overflow", F::Term, 0},
    // A term that ends before its first payment: the term box is the one to change.
    {"noPayment_1MonthQuarterly", "Car", 5, "6.5", 0, "1", "1000", "",
     "A Payment Term of 1 month is shorter than one payment period (Quarterly), so there would be no payments. "
     "Enter a longer Payment Term.", F::Term, 0},
    {"noPayment_6MonthsAnually", "Car", 7, "6.5", 0, "6", "", "",
     "A Payment Term of 6 months is shorter than one payment period (Anually), so there would be no payments. "
     "Enter a longer Payment Term.", F::Term, 0},
    {"noPayment_3MonthsSemiAnnually", "Car", 6, "6.5", 0, "3", "1000", "",
     "A Payment Term of 3 months is shorter than one payment period (Semi-Annually), so there would be no payments. "
     "Enter a longer Payment Term.", F::Term, 0},
    {"onePayment_2MonthsQuarterly", "Car", 5, "6.5", 0, "2", "1000", "", "", F::Description, 2},
    {"onePayment_1YearAnually", "Car", 7, "6.5", 1, "1", "1000", "", "", F::Description, 1},
    {"noPayment_1MonthBiMonthlyHalfEven", "Car", 4, "6.5", 0, "1", "1000", "",
     "A Payment Term of 1 month is shorter than one payment period (Bi-Monthly(Every Two Months)), so there would be "
     "no payments. Enter a longer Payment Term.", F::Term, 0},
    {"onePayment_3MonthsBiMonthly", "Car", 4, "6.5", 0, "3", "1000", "", "", F::Description, 3},
    {"step10", "Car", 2, "6.5", 1, "30", " ", "", "A Loan Amount or Payment Amount must be entered.", F::LoanAmount, 30},
    {"step11", "Car", 2, "6.5", 1, "30", "lots", "250", "The Loan Amount must be numeric.", F::LoanAmount, 30},
    {"step12_tiny", "Car", 2, "6.5", 1, "30", "0.004", "", "Loan Amount must be greater than $0.00.", F::LoanAmount, 30},
    {"step12_minus", "Car", 2, "6.5", 1, "30", "-5", "", "Loan Amount must be greater than $0.00.", F::LoanAmount, 30},
    {"step12_minusZero", "Car", 2, "6.5", 1, "30", "-0", "", "Loan Amount must be greater than $0.00.", F::LoanAmount, 30},
    {"step13", "Car", 2, "6.5", 1, "30", "", "abc", "The Payment Amount must be numeric.", F::PaymentAmount, 30},
    {"step14", "Car", 2, "6.5", 1, "30", "", "0.004", "Payment Amount must be greater than $0.00.", F::PaymentAmount, 30},
    {"zeroRate", "Car", 2, "0", 1, "30", "1000", "", "", F::Description, 30},
    {"termRoundsUp", "Car", 2, "6.5", 1, "0.6", "1000", "", "", F::Description, 1},
    {"halfToEvenDown", "Car", 2, "6.5", 1, "12.5", "1000", "", "", F::Description, 12},
    {"halfToEvenUp", "Car", 2, "6.5", 1, "13.5", "1000", "", "", F::Description, 14},
    {"loanWithLettersPayment", "Car", 2, "6.5", 1, "30", "1000", "letters", "", F::Description, 30},
    {"paymentOnly", "Car", 2, "6.5", 1, "30", "", "$250.00", "", F::Description, 30},
};

TEST(ValidateLoan, StepsInOrderAndEdges)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const ValidationResult r = validateLoan(
            {c.description, c.frequency, c.rate, c.termType, c.term, c.loan, c.payment, QDate(2024, 1, 15)});
        const QString message = QString::fromUtf8(c.message);
        EXPECT_EQ(r.ok, message.isEmpty()) << r.message.toStdString();
        EXPECT_EQ(r.message.toStdString(), c.message);
        // The whole term, once its own check passed, also when a later check fails.
        EXPECT_EQ(r.wholeTerm, c.wholeTerm);
        if (!message.isEmpty()) {
            EXPECT_EQ(r.field, c.field);
            EXPECT_EQ(r.isError, message == QStringLiteral("6 - Overflow"));
        }
    }
}

// Texts pasted into a number box that must not pass as numbers, in each of
// the rate, term and loan amount.
TEST(ValidateLoan, RefusesWhatIsNotANumber)
{
    const QString texts[] = {
        QString(1000, QLatin1Char('9')), QString(1000, QLatin1Char('x')),  // as many as a number box holds
        QStringLiteral("1\x01\x02" "2\t"), QStringLiteral("\u0661\u0662 \u0642\u0631\u0636"), QStringLiteral("1e308"),
        QStringLiteral("NaN"), QStringLiteral("Infinity"), QStringLiteral("0x10"),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.left(20).toStdString());
        const QDate day(2024, 1, 15);
        const ValidationResult rate = validateLoan({"Car", 2, text, 1, "30", "1000", "", day});
        const ValidationResult term = validateLoan({"Car", 2, "6.5", 1, text, "1000", "", day});
        const ValidationResult loan = validateLoan({"Car", 2, "6.5", 1, "30", text, "", day});
        EXPECT_EQ(rate.message.toStdString(), "Interest rate must be numeric.");
        EXPECT_EQ(rate.field, F::InterestRate);
        EXPECT_EQ(term.message.toStdString(), "Payment Term must be numeric.");
        EXPECT_EQ(term.field, F::Term);
        EXPECT_EQ(loan.message.toStdString(), "The Loan Amount must be numeric.");
        EXPECT_EQ(loan.field, F::LoanAmount);
    }
}

}  // namespace
