// Drives the whole input path the way a loan window does, without widgets:
// the boxes' texts read into the typed loan, its validation, a few extra
// payment rows, calculateLoan (the run with its baseline), and the text of
// every row. Every input must end in a message, a reported error or a
// complete, finite result.

#include "CalculateLoan.h"
#include "ErrorText.h"
#include "NumberEntry.h"
#include "LocaleText.h"
#include "ResultsTable.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QCoreApplication>
#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what, const QString& detail = {})
{
    std::fprintf(stderr, "fuzz_input: %s %s\n", what, qPrintable(detail));
    std::abort();
}

// Either a free text or a well-formed one, so both the readers' rejections and
// the engine's deeper paths are reached.
QString numberText(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return QString::fromStdString(in.ConsumeRandomLengthString(24));
    case 1:
        return QString::number(in.ConsumeIntegralInRange<int>(-100, 40000));
    case 2:
        return QString::number(in.ConsumeFloatingPointInRange<double>(-1e6, 1e7), 'f',
                               in.ConsumeIntegralInRange<int>(0, 4));
    default:
        return LocaleText::currencyText(in.ConsumeFloatingPointInRange<double>(-1e5, 1e7));
    }
}

QDate someDate(FuzzedDataProvider& in)
{
    // Julian days from 1 January 100 to 31 December 9999.
    return QDate::fromJulianDay(in.ConsumeIntegralInRange<qint64>(1757583, 5373484));
}

QString dateText(FuzzedDataProvider& in)
{
    if (in.ConsumeIntegralInRange<int>(0, 4) == 0)
        return QString::fromStdString(in.ConsumeRandomLengthString(16));
    return LocaleText::shortDateText(someDate(in));
}

void checkMoneyText(const QString& text)
{
    if (text.contains(QLatin1String("nan"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("inf"), Qt::CaseInsensitive))
        fail("non-finite number shown:", text);
    if (text == QLatin1String("-0.00") || text.startsWith(QLatin1String("-$.00")))
        fail("negative zero shown:", text);
}

void checkFinite(double value, const char* what)
{
    if (!std::isfinite(value))
        fail("non-finite value in the result:", QString::fromLatin1(what));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);

    // The boxes as a user fills them, each read as the window reads it.
    LoanDraft draft;
    draft.description = QString::fromStdString(in.ConsumeRandomLengthString(32));
    draft.frequency = in.ConsumeIntegralInRange<int>(-1, 9);
    draft.interestRate = readEntry(NumberKind::Rate, numberText(in));
    draft.termType = in.ConsumeIntegralInRange<int>(-1, 2);
    draft.term = readEntry(NumberKind::Count, numberText(in));
    draft.loanAmount = in.ConsumeBool() ? NumberEntry{} : readEntry(NumberKind::Amount, numberText(in));
    draft.paymentAmount = readEntry(NumberKind::Amount, numberText(in));
    draft.firstPaymentDate = someDate(in);
    draft.choice = CalculateChoice(in.ConsumeIntegralInRange<int>(0, kCalculateChoices - 1));
    const bool suppressFuture = in.ConsumeBool();
    const QDate today = someDate(in);

    // The extra payment rows as the fields give them: dates a date box took,
    // amounts the amount box read.
    std::vector<ExtraPaymentRow> extras;
    for (size_t i = in.ConsumeIntegralInRange<size_t>(0, 5); i > 0; --i) {
        const bool lumpSum = in.ConsumeBool();
        const auto start = LocaleText::readShortDate(dateText(in));
        const auto stop = LocaleText::readShortDate(dateText(in));
        const NumberEntry amount = readEntry(NumberKind::Amount, numberText(in));
        if (!start || (!lumpSum && !stop) || !amount.number())
            continue;  // the field refuses it with its message
        extras.push_back({lumpSum ? engine::ExtraPaymentKind::LumpSum : engine::ExtraPaymentKind::Repeating, *start,
                          lumpSum ? std::nullopt : stop, *amount.number()});
    }

    // Read last, so inputs made before them keep their meaning: the lender's
    // terms, the loan's shape, skips and what each extra payment does.
    draft.compounding = in.ConsumeIntegralInRange<int>(0, 10);
    draft.fees = readEntry(NumberKind::Amount, numberText(in));
    draft.points = readEntry(NumberKind::Rate, numberText(in));
    if (in.ConsumeBool())
        draft.loanDate = someDate(in);
    draft.interestOnly = readEntry(NumberKind::Count, numberText(in));
    draft.balloonAfter = readEntry(NumberKind::Count, numberText(in));
    for (ExtraPaymentRow& extra : extras)
        if (in.ConsumeBool())
            extra.then = engine::ExtraPaymentThen::LowerThePayment;
    std::vector<SkippedPaymentRow> skips;
    for (size_t i = in.ConsumeIntegralInRange<size_t>(0, 3); i > 0; --i)
        skips.push_back({someDate(in), in.ConsumeIntegralInRange<int>(1, 400),
                         in.ConsumeBool() ? engine::RateChangeMode::SamePayment : engine::RateChangeMode::NewPayment});

    const auto checked = validateLoan(draft);
    if (const auto* failure = std::get_if<ValidationFailure>(&checked)) {
        if (failure->message.isEmpty())
            fail("validation failed without a message");
        return 0;
    }
    const auto outcome = calculateLoan(std::get<Loan>(checked), {extras, {}, skips}, suppressFuture, today);
    if (const auto* failure = std::get_if<ValidationFailure>(&outcome)) {
        if (failure->message.isEmpty())
            fail("a refused run without a message");
        return 0;
    }
    if (const auto* error = std::get_if<engine::NumberedError>(&outcome)) {
        if (error->description.empty() || error->number == 0)
            fail("an error without a number or description");
        return 0;
    }

    const LoanResult& run = std::get<LoanResult>(outcome);
    checkMoneyText(entryText(NumberKind::Amount, run.loan.loanAmount.value_or(0.0)));
    checkMoneyText(entryText(NumberKind::Amount, run.loan.paymentAmount));
    const engine::ScheduleResult& result = run.schedule;
    checkFinite(result.loanAmount, "loan amount");
    checkFinite(result.payment, "payment");
    for (const auto& row : result.rows)
        for (double v : {row.principal, row.extra, row.cumulativePrincipal, row.interest,
                         row.cumulativeInterest, row.balance})
            checkFinite(v, "row amount");
    // The cells' texts as the results table shows them: every row of a
    // short loan; of a long one the first and last rows and a sample between,
    // which keeps tens of thousands of rows from starving the fuzzer.
    const int rowCount = int(result.rows.size());
    for (int r = 0; r < rowCount; ++r) {
        if (rowCount > 1000 && r >= 300 && r < rowCount - 300 && r % 97 != 0)
            continue;
        for (int c = 0; c < kResultsColumns; ++c)
            checkMoneyText(resultsCellText(result.rows[size_t(r)], ResultsColumn(c)));
    }
    for (double v : {result.summary.principal, result.summary.extraPayments,
                     result.summary.interest, result.summary.totalPaid,
                     result.baseline.totalPaid, result.baseline.interestPaid, result.totalSaved,
                     result.balloon, run.disclosure.amountFinanced, run.disclosure.financeCharge,
                     run.disclosure.annualPercentageRate}) {
        checkFinite(v, "summary figure");
        checkMoneyText(LocaleText::currencyText(v));
    }

    const bool paidOff = !result.rows.empty()
                         && LocaleText::groupedAmount(result.rows.back().balance)
                                == QLatin1String("0.00");
    const bool ranToTheEnd = int(result.rows.size()) == result.numberOfPayments;
    if (!paidOff && !ranToTheEnd)
        fail("the run stopped early with a balance left:",
             LocaleText::groupedAmount(result.rows.empty() ? 0.0 : result.rows.back().balance));
    return 0;
}
