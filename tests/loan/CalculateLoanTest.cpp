// The one entry point from a window's inputs to a result, and the extra
// payment rows' conversion from the table's texts, without any window.
#include "CalculateLoan.h"
#include "ResultsTable.h"

#include <gtest/gtest.h>

namespace {

LoanInputs inputs(const char* term, const char* loan, const char* payment, int termType = 1, int frequency = 2)
{
    return {QStringLiteral("Car"), frequency, QStringLiteral("6"), termType, QString::fromUtf8(term),
            QString::fromUtf8(loan), QString::fromUtf8(payment), QDate(2024, 1, 15)};
}

// Each outcome with what the window writes back: the message and field of a
// failed check, the numbered error of a failed run, or the inputs as they
// stand after the run.
TEST(CalculateLoan, HandsBackAFailureAnErrorOrTheResult)
{
    struct Row {
        const char* name;
        LoanInputs in;
        const char* message;  // failed check, or "number - description" of the run
        const char *term, *loan, *payment;  // inputs after a successful run
        int rows;
    };
    const Row rows[] = {
        {"checkFailsKeepingTheWholeTerm", inputs("29.5", "", ""), "A Loan Amount or Payment Amount must be entered.",
         "", "", "", 0},
        {"overflowingRun", inputs("2731", "1000", ""), "6 - Overflow", "", "", "", 0},
        {"paymentDerived", inputs("29.5", "$100,000.00", "1"), "", "30", "$100,000.00", "$599.55", 360},
        {"loanDerived", inputs("30", "", "599.55"), "", "30", "$99,999.91", "$599.55", 360},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto outcome = calculateLoan(row.in, {}, false, QDate(2024, 1, 1));
        if (const auto* failure = std::get_if<ValidationFailure>(&outcome)) {
            EXPECT_EQ(failure->message.toStdString(), row.message);
            EXPECT_EQ(failure->field, LoanField::LoanAmount);
            EXPECT_EQ(failure->wholeTerm, 30);
        } else if (const auto* error = std::get_if<engine::NumberedError>(&outcome)) {
            EXPECT_EQ(error->text(), row.message);
        } else {
            const LoanResult& result = std::get<LoanResult>(outcome);
            EXPECT_STREQ(row.message, "");
            EXPECT_EQ(result.inputs.term.toStdString(), row.term);
            EXPECT_EQ(result.inputs.loanAmount.toStdString(), row.loan);
            EXPECT_EQ(result.inputs.paymentAmount.toStdString(), row.payment);
            EXPECT_EQ(int(result.schedule.rows.size()), row.rows);
            EXPECT_EQ(result.loan.loanAmount.has_value(), !row.in.loanAmount.isEmpty());
            EXPECT_EQ(result.today, QDate(2024, 1, 1));
        }
    }
}

// "L" and "R" rows are read; any other type is ignored unread; the first cell
// that does not convert names its row and column.
TEST(ExtraPaymentRows, ConvertFromTheTableTexts)
{
    const QString day = QStringLiteral("2/1/2024");
    struct Row {
        const char* name;
        ExtraPaymentTexts cells;
        const char* error;
        engine::ExtraPaymentKind kind;
    };
    const Row rows[] = {
        {"lumpSum", {"L", day, "", "$1,234.50"}, "", engine::ExtraPaymentKind::LumpSum},
        {"repeating", {"R", day, "3/1/2024", "0.00"}, "", engine::ExtraPaymentKind::Repeating},
        {"otherTypeUnread", {"X", "x", "y", "z"}, "", engine::ExtraPaymentKind::Ignored},
        {"badStart", {"L", "31/31/2024", "", "1"}, "13 - Type mismatch: extra payment 2, Start \"31/31/2024\"", {}},
        {"badStop", {"R", day, "", "1"}, "13 - Type mismatch: extra payment 2, Stop \"\"", {}},
        {"badAmount", {"R", day, day, "lots"}, "13 - Type mismatch: extra payment 2, Amount \"lots\"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // A good first row, so the failure names the second.
        const auto converted = extraPaymentRowsForRun({{"L", day, "", "5"}, row.cells});
        if (const auto* error = std::get_if<engine::NumberedError>(&converted)) {
            EXPECT_EQ(error->text(), row.error);
            continue;
        }
        EXPECT_STREQ(row.error, "");
        const ExtraPaymentRow& found = std::get<std::vector<ExtraPaymentRow>>(converted).at(1);
        EXPECT_EQ(found.kind, row.kind);
        if (row.kind == engine::ExtraPaymentKind::Ignored)
            continue;
        EXPECT_EQ(found.start, QDate(2024, 2, 1));
        EXPECT_EQ(found.stop.has_value(), row.kind == engine::ExtraPaymentKind::Repeating);
        EXPECT_EQ(found.amount, row.kind == engine::ExtraPaymentKind::LumpSum ? 1234.5 : 0.0);
    }
}

TEST(ResultsTable, CellTextsAndHeadings)
{
    engine::ScheduleRow row;
    row.number = 7;
    row.dueDate = engine::Date{std::chrono::year(2024), std::chrono::month(3), std::chrono::day(5)};
    row.principal = 1234.5;
    row.balance = -0.001;
    EXPECT_EQ(resultsCellText(row, ResultsColumn::Payment).toStdString(), "007 - 03/05/24");
    EXPECT_EQ(resultsCellText(row, ResultsColumn::Principal).toStdString(), "1,234.50");
    EXPECT_EQ(resultsCellText(row, ResultsColumn::Balance).toStdString(), "0.00");
    EXPECT_EQ(resultsTopHeading(ResultsColumn::CumulativePrincipal).toStdString(), "Principal");
    EXPECT_EQ(resultsHeading(ResultsColumn::CumulativeInterest).toStdString(), "Cummulitive");
}

}  // namespace

namespace {

// Saving converts whatever the window holds, checked or not: the first text
// that does not convert names itself, and nothing is saved.
TEST(SavingConversion, NamesTheValueThatDoesNotConvert)
{
    struct Row {
        const char* name;
        LoanInputs in;
        std::vector<ExtraPaymentTexts> extras;
        const char* error;  // empty: converts
        double storedAmount;
        int storedTerm;
    };
    LoanInputs noDate = inputs("30", "1000", "");
    noDate.startDate = QDate();
    const ExtraPaymentTexts good{"L", "3/1/2024", "", "5"};
    const Row rows[] = {
        {"noDate", noDate, {}, "13 - Type mismatch: the date of first payment is not a date.", 0, 0},
        {"letters in the payment", inputs("30", " ", "abc"), {},
         "13 - Type mismatch: the payment amount \"abc\" cannot be converted.", 0, 0},
        {"payment without payments", inputs("1", "", "100", 0, 5), {},
         "11 - The loan amount cannot be derived from the payment: Division by zero", 0, 0},
        {"letters in the amount", inputs("30", "lots", ""), {},
         "13 - Type mismatch: the loan amount \"lots\" cannot be converted.", 0, 0},
        {"term too large", inputs("1e10", "1000", ""), {}, "13 - Type mismatch: the term \"1e10\" cannot be converted.",
         0, 0},
        {"term beyond whole numbers", inputs(" 9999999999 ", "1000", ""), {},
         "6 - Overflow: the term 9999999999 is too large.", 0, 0},
        {"bad stop", inputs("30", "1000", ""), {good, {"X", "3/1/2024", "soon", "5"}},
         "13 - Type mismatch: the stop date of extra payment 2 \"soon\" cannot be converted.", 0, 0},
        {"bad start", inputs("30", "1000", ""), {good, {"L", "", "", "5"}},
         "13 - Type mismatch: the start date of extra payment 2 \"\" cannot be converted.", 0, 0},
        {"bad amount", inputs("30", "1000", ""), {good, {"L", "3/1/2024", "", "x"}},
         "13 - Type mismatch: the amount of extra payment 2 \"x\" cannot be converted.", 0, 0},
        {"derived amount, term half to even", inputs("29.5", "", "$599.55"), {good}, "", 99999.91, 30},
        {"unchecked term kept whole", inputs("40000.5", "1000", ""), {}, "", 1000, 40000},
        // The stored term, rounded half to even.
        {"2.5", inputs("2.5", "1000", ""), {}, "", 1000, 2}, {"3.5", inputs("3.5", "1000", ""), {}, "", 1000, 4},
        {"2.4", inputs("2.4", "1000", ""), {}, "", 1000, 2}, {"2.6", inputs("2.6", "1000", ""), {}, "", 1000, 3},
        {"-0.5", inputs("-0.5", "1000", ""), {}, "", 1000, 0}, {"0.5", inputs("0.5", "1000", ""), {}, "", 1000, 0},
        {"1.5", inputs("1.5", "1000", ""), {}, "", 1000, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto loan = loanForSaving(row.in);
        const auto extras = extraPaymentRowsForSaving(row.extras);
        const engine::NumberedError* error = std::get_if<engine::NumberedError>(&loan);
        if (!error)
            error = std::get_if<engine::NumberedError>(&extras);
        if (error) {
            EXPECT_EQ(error->text(), row.error);
            continue;
        }
        EXPECT_STREQ(row.error, "");
        EXPECT_EQ(std::get<Loan>(loan).loanAmount, row.storedAmount);
        EXPECT_EQ(std::get<Loan>(loan).term, row.storedTerm);
    }
}

}  // namespace
