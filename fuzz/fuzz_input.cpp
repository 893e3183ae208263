// Drives the whole input path the way a loan window does, without widgets:
// seven input texts and list positions plus a few extra payment rows go
// through validation, parsing, the run with its baseline, and the text of
// every row. Every input must end in a validation message, a reported error
// or a complete, finite result.

#include "LocaleText.h"
#include "Schedule.h"
#include "ValidateLoan.h"

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

    LoanInputs inputs;
    inputs.description = QString::fromStdString(in.ConsumeRandomLengthString(32));
    inputs.frequency = in.ConsumeIntegralInRange<int>(-1, 8);
    inputs.interestRate = numberText(in);
    inputs.termType = in.ConsumeIntegralInRange<int>(-1, 2);
    inputs.term = numberText(in);
    inputs.loanAmount = in.ConsumeBool() ? QString() : numberText(in);
    inputs.paymentAmount = numberText(in);
    inputs.startDate = someDate(in);
    const bool suppressFuture = in.ConsumeBool();
    const QDate today = someDate(in);

    struct Row {
        QString type, start, stop, amount;
    };
    std::vector<Row> rows(in.ConsumeIntegralInRange<size_t>(0, 5));
    static const char* const kTypes[] = {"L", "R", "l", "", "X"};
    for (Row& row : rows) {
        row.type = QString::fromLatin1(kTypes[in.ConsumeIntegralInRange<int>(0, 4)]);
        row.start = dateText(in);
        row.stop = row.type == QLatin1String("L") ? QString() : dateText(in);
        row.amount = numberText(in);
    }

    const ValidationResult checked = validateLoan(inputs);
    if (!checked.ok) {
        if (checked.message.isEmpty())
            fail("validation failed without a message");
        return 0;
    }
    inputs.term = QString::number(checked.wholeTerm);

    // The grid rows, converted the way the window converts them; a cell that
    // does not convert is reported to the user and the run does not start.
    std::vector<engine::ExtraPayment> extras;
    for (const Row& row : rows) {
        engine::ExtraPayment payment;
        if (row.type == QLatin1String("L"))
            payment.kind = engine::ExtraPaymentKind::LumpSum;
        else if (row.type == QLatin1String("R"))
            payment.kind = engine::ExtraPaymentKind::Repeating;
        else
            continue;
        const auto start = LocaleText::readShortDate(row.start);
        const auto amount = LocaleText::readNumber(row.amount);
        if (!start || !amount)
            return 0;
        payment.start = LocaleText::toYmd(*start);
        payment.amount = *amount;
        if (payment.kind == engine::ExtraPaymentKind::Repeating) {
            const auto stop = LocaleText::readShortDate(row.stop);
            if (!stop)
                return 0;
            payment.stop = LocaleText::toYmd(*stop);
        }
        extras.push_back(payment);
    }

    const engine::LoanTerms terms = toLoanTerms(inputs);
    const auto outcome =
        engine::calculateSchedule(terms, extras, suppressFuture, LocaleText::toYmd(today));
    if (const auto* error = std::get_if<engine::EngineError>(&outcome)) {
        if (error->description.empty() || error->number == 0)
            fail("an error without a number or description");
        return 0;
    }

    const auto& result = std::get<engine::ScheduleResult>(outcome);
    checkFinite(result.loanAmount, "loan amount");
    checkFinite(result.payment, "payment");
    checkMoneyText(LocaleText::currencyText(result.loanAmount));
    checkMoneyText(LocaleText::currencyText(result.payment));
    for (const auto& row : result.rows) {
        for (double v : {row.principal, row.extra, row.cumulativePrincipal, row.interest,
                         row.cumulativeInterest, row.balance})
            checkFinite(v, "row amount");
        const QString texts[] = {
            LocaleText::paymentNumberText(row.number) + QLatin1String(" - ")
                + LocaleText::tableDateText(LocaleText::toQDate(row.dueDate)),
            LocaleText::groupedAmount(row.principal),
            LocaleText::groupedAmount(row.extra),
            LocaleText::groupedAmount(row.cumulativePrincipal),
            LocaleText::groupedAmount(row.interest),
            LocaleText::groupedAmount(row.cumulativeInterest),
            LocaleText::groupedAmount(row.balance),
        };
        for (const QString& text : texts)
            checkMoneyText(text);
    }
    for (double v : {result.summary.principal, result.summary.extraPayments,
                     result.summary.interest, result.summary.totalPaid,
                     result.baseline.totalPaid, result.baseline.interestPaid, result.totalSaved}) {
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
