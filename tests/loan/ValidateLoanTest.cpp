// The loan's checks in order: an earlier failure hides every later one, so
// each row breaks all later steps too; the whole term goes back into its box
// once its own check passed.
#include "PinnedLocale.h"
#include "ValidateLoan.h"

#include <gtest/gtest.h>

namespace {

using F = LoanField;

// The boxes as typed, each read as the window reads it.
LoanDraft draft(const char* description, int frequency, const char* rate, int termType, const char* term,
                const char* loan, const char* payment, CalculateChoice choice = CalculateChoice::Payment)
{
    LoanDraft d;
    d.description = QString::fromUtf8(description);
    d.firstPaymentDate = QDate(2024, 1, 15);
    d.frequency = frequency;
    d.interestRate = readEntry(NumberKind::Rate, QString::fromUtf8(rate));
    d.termType = termType;
    d.term = readEntry(NumberKind::Count, QString::fromUtf8(term));
    d.loanAmount = readEntry(NumberKind::Amount, QString::fromUtf8(loan));
    d.paymentAmount = readEntry(NumberKind::Amount, QString::fromUtf8(payment));
    d.choice = choice;
    return d;
}

struct Case {
    const char* name;
    LoanDraft in;
    const char* message;  // empty: passes
    LoanField field;
    int wholeTerm;
};

TEST(ValidateLoan, ChecksInOrder)
{
    pinUnitedStates();
    const auto rate = CalculateChoice::InterestRate;
    const auto term = CalculateChoice::Term;
    const Case cases[] = {
        {"description", draft("   ", 2, "6.5", 1, "30", "1000", ""), "Loan Description must be entered.", F::Description, 0},
        {"frequency", draft("Car", -1, "", -1, "", "", ""), "Payment frequency must be selected.", F::Frequency, 0},
        {"rateBlank", draft("Car", 2, " ", -1, "", "", ""), "Interest rate must be entered.", F::InterestRate, 0},
        {"rateLetters", draft("Car", 2, "-abc", -1, "", "", ""), "Interest rate must be numeric.", F::InterestRate, 0},
        {"rateSeparator", draft("Car", 2, "6,5", -1, "", "", ""),
         "Interest rate must be numeric. Your regional settings write the decimal separator as \".\", as in 6.5.",
         F::InterestRate, 0},
        {"rateNegative", draft("Car", 2, "-0.01", -1, "", "", ""), "Interest rate cannot be a negative number.",
         F::InterestRate, 0},
        {"termType", draft("Car", 2, "6.5", -1, "", "", ""), "Payment term type must be selected.", F::TermType, 0},
        {"termBlank", draft("Car", 2, "6.5", 1, " ", "", ""), "Payment term must be entered.", F::Term, 0},
        {"termLetters", draft("Car", 2, "6.5", 1, "ten", "", ""), "Payment Term must be numeric.", F::Term, 0},
        {"termZero", draft("Car", 2, "6.5", 1, "0.4", "1000", ""), "Payment term must be greater than 0.", F::Term, 0},
        {"termOverflow", draft("Car", 2, "6.5", 1, "32768", "", ""), "6 - Overflow", F::Term, 0},
        {"termWithoutPayment", draft("Car", 5, "6.5", 0, "1", "1000", ""),
         "A Payment Term of 1 month is shorter than one payment period (Quarterly), so there would be no payments. "
         "Enter a longer Payment Term.", F::Term, 0},
        {"noAmount", draft("Car", 2, "6.5", 1, "0.6", "", ""), "A Loan Amount or Payment Amount must be entered.",
         F::LoanAmount, 1},
        {"amountLetters", draft("Car", 2, "6.5", 1, "30", "lots", "250"), "The Loan Amount must be numeric.",
         F::LoanAmount, 30},
        {"amountOtherGrouping", draft("Car", 2, "6.5", 1, "30", "300.000", ""),
         "The Loan Amount must be numeric. Your regional settings write the group separator as \",\", as in 300,000.",
         F::LoanAmount, 30},
        {"amountTooLarge", draft("Car", 2, "6.5", 1, "30", "99,999,999,999,999,999,999", ""),
         "The Loan Amount cannot be more than $9,999,999,999,999.99, the largest amount this program keeps.",
         F::LoanAmount, 30},
        {"amountRoundsToNothing", draft("Car", 2, "6.5", 1, "30", "0.004", ""), "Loan Amount must be greater than $0.00.",
         F::LoanAmount, 30},
        {"paymentLetters", draft("Car", 2, "6.5", 1, "30", "", "abc"), "The Payment Amount must be numeric.",
         F::PaymentAmount, 30},
        {"paymentNegative", draft("Car", 2, "6.5", 1, "30", "", "-5"), "Payment Amount must be greater than $0.00.",
         F::PaymentAmount, 30},
        {"halfToEven", draft("Car", 2, "6.5", 1, "12.5", "1000", "letters"), "", F::Description, 12},
        {"paymentOnly", draft("Car", 2, "6.5", 1, "13.5", "", "$250.00"), "", F::Description, 14},
        // "Loan amount" leaves the amount's box out: it is found from the payment.
        {"loanAmountChoice", draft("Car", 2, "6.5", 1, "30", "lots", "", CalculateChoice::LoanAmount),
         "A Loan Amount or Payment Amount must be entered.", F::LoanAmount, 30},
        {"rateSkipsTheRate", draft("Car", 2, "abc", 1, "30", "1000", "", rate),
         "The Payment Amount must be entered to calculate the Interest Rate.", F::PaymentAmount, 30},
        {"termSkipsTheTerm", draft("Car", 2, "6", 1, "abc", "", "599.55", term),
         "The Loan Amount must be entered to calculate the Term.", F::LoanAmount, 0},
        {"solvingWithBoth", draft("Car", 2, "", 1, "30", "100000", "599.55", rate), "", F::Description, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto checked = validateLoan(c.in);
        if (const auto* failure = std::get_if<ValidationFailure>(&checked)) {
            EXPECT_EQ(failure->message.toStdString(), c.message);
            EXPECT_EQ(failure->field, c.field);
            EXPECT_EQ(failure->wholeTerm, c.wholeTerm);
            continue;
        }
        EXPECT_STREQ(c.message, "");
        const Loan& loan = std::get<Loan>(checked);
        EXPECT_EQ(loan.term, c.wholeTerm);
        EXPECT_EQ(loan.loanAmount.has_value(), c.in.loanAmount.number().has_value());
    }
}

}  // namespace
