#include "LoanFigures.h"

#include "LoanResult.h"
#include "LocaleText.h"
#include "Money.h"

#include <QLocale>

#include <algorithm>

namespace {

QString date(engine::Date value)
{
    return LocaleText::shortDateText(LocaleText::toQDate(value));
}

template <std::size_t N>
QString listText(const std::array<std::string_view, N>& texts, int position)
{
    if (position < 0 || std::size_t(position) >= N)
        return {};
    const std::string_view text = texts[std::size_t(position)];
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString money(double value)
{
    return LocaleText::currencyText(value);
}

}  // namespace

LoanFigures loanFigures(const LoanResult& result)
{
    const Loan& loan = result.loan;
    const engine::ScheduleResult& run = result.schedule;
    const engine::SummaryFigures& summary = run.summary;
    const engine::BaselineFigures& baseline = run.baseline;
    LoanFigures f;
    auto set = [&f](Figure figure, const QString& text) { f.texts[std::size_t(figure)] = text; };
    set(Figure::FirstPayment, LocaleText::shortDateText(loan.firstPaymentDate));
    set(Figure::Frequency, listText(engine::kFrequencyTexts, listPosition(loan.frequency)));
    set(Figure::InterestRate, LocaleText::plainNumberText(run.annualRatePercent) + QStringLiteral(" %"));
    set(Figure::Term, QString::number(run.term) + QLatin1Char(' ') +
                          listText(engine::kTermTypeTexts, listPosition(loan.termUnit)));
    set(Figure::LoanAmount, money(run.loanAmount));
    set(Figure::Payment, money(run.payment));
    set(Figure::Principal, money(summary.principal));
    set(Figure::ExtraPayments, money(summary.extraPayments));
    set(Figure::Interest, money(summary.interest));
    set(Figure::TotalPrincipal, money(summary.totalPrincipal));
    set(Figure::TotalPaid, money(summary.totalPaid));
    set(Figure::OriginalLoanAmount, money(baseline.loanAmount));
    set(Figure::OriginalPayoffDate, date(baseline.payoffDate));
    set(Figure::OriginalInterestPaid, money(baseline.interestPaid));
    set(Figure::OriginalTotalPaid, money(baseline.totalPaid));
    set(Figure::PaidEarly, money(summary.extraPayments));
    set(Figure::AdjustedPayoffDate, date(run.adjustedPayoffDate));
    set(Figure::AdjustedInterestPaid, money(summary.interest));
    set(Figure::AdjustedTotalPaid, money(summary.totalPaid));
    set(Figure::PaymentsSaved, QString::number(run.paymentsSaved));
    set(Figure::TotalSaved, money(run.totalSaved));
    set(Figure::PaymentsMade, QString::number(run.rows.size()));
    set(Figure::InterestSaved, money(baseline.interestPaid - summary.interest));
    set(Figure::Compounding, listText(engine::kCompoundingTexts, int(loan.compounding)));
    set(Figure::Fees, money(loan.fees));
    set(Figure::Points, LocaleText::plainNumberText(loan.pointsPercent) + QStringLiteral(" %"));
    set(Figure::LoanDate, date(result.disclosure.loanDate));
    set(Figure::AmountFinanced, money(result.disclosure.amountFinanced));
    set(Figure::FinanceCharge, money(result.disclosure.financeCharge));
    set(Figure::AnnualPercentageRate,
        QLocale().toString(result.disclosure.annualPercentageRate, 'f', 3) + QStringLiteral(" %"));
    const auto count = [](long long n) { return n > 0 ? QLocale().toString(n) : QString(); };
    set(Figure::InterestOnlyPayments, count(loan.interestOnlyPayments));
    set(Figure::BalloonAfter, run.balloon > 0.0 ? count(loan.balloonAfter) : QString());
    set(Figure::SkippedPayments,
        count(std::count_if(run.rows.begin(), run.rows.end(), [](const auto& row) { return row.marks & engine::SkippedMark; })));
    set(Figure::BalloonPayment, run.balloon > 0.0 ? money(run.balloon) : QString());
    set(Figure::LoweredPayment, run.loweredPayment ? money(*run.loweredPayment) : QString());

    std::vector<const engine::RateChangeEffect*> effects;
    for (const engine::RateChangeEffect& effect : run.rateChangeEffects)
        if (effect.tookEffect && effect.row >= 1 && std::size_t(effect.row) <= run.rows.size())
            effects.push_back(&effect);
    std::sort(effects.begin(), effects.end(), [](auto* a, auto* b) { return a->row < b->row; });
    f.paymentsCell = f[Figure::Payment];
    for (const engine::RateChangeEffect* effect : effects) {
        const QString payment = money(effect->payment);
        f.paymentChanges.append({QStringLiteral("Payment from %1").arg(date(run.rows[std::size_t(effect->row - 1)].dueDate)),
                                 payment});
        f.paymentsCell += QStringLiteral(", then ") + payment;
    }

    const double rounding = engine::roundToCents(summary.lastPaymentRounding);
    f.extraPaymentsCell = f[Figure::ExtraPayments];
    if (rounding > 0.0) {
        f.roundingNote = QStringLiteral("includes %1 rounding on the last payment").arg(money(rounding));
        f.extraPaymentsCell = engine::roundToCents(summary.extraPayments) <= rounding
                                  ? QStringLiteral("%1 (last payment rounding)").arg(f[Figure::ExtraPayments])
                                  : QStringLiteral("%1 (incl. %2 rounding)").arg(f[Figure::ExtraPayments], money(rounding));
    }
    return f;
}

QList<FigureGroup> figureGroups(const LoanResult& result)
{
    const LoanFigures f = loanFigures(result);
    struct Line {
        const char* caption;
        Figure figure;
    };
    const auto group = [&f](const char* title, std::initializer_list<Line> lines) {
        FigureGroup g{QString::fromLatin1(title), {}};
        for (const Line& line : lines) {
            // A shape the loan does not have is not named.
            if (line.figure >= Figure::InterestOnlyPayments && f[line.figure].isEmpty())
                continue;
            g.lines.append({QString::fromLatin1(line.caption), f[line.figure]});
            if (line.figure == Figure::Payment)
                g.lines.append(f.paymentChanges);
            if ((line.figure == Figure::ExtraPayments || line.figure == Figure::PaidEarly) && !f.roundingNote.isEmpty())
                g.lines.append({f.roundingNote, QString()});
        }
        return g;
    };
    return {
        group("Loan Data", {{"Date of First Payment", Figure::FirstPayment},
                            {"Frequency", Figure::Frequency},
                            {"Compounding", Figure::Compounding},
                            {"Interest Rate", Figure::InterestRate},
                            {"Term", Figure::Term},
                            {"Loan Amount", Figure::LoanAmount},
                            {"Payment Amount", Figure::Payment},
                            {"Interest-Only Payments", Figure::InterestOnlyPayments},
                            {"Balloon After Payment", Figure::BalloonAfter},
                            {"Payments Skipped", Figure::SkippedPayments}}),
        group("Annual Percentage Rate", {{"Loan Date", Figure::LoanDate},
                                         {"Fees", Figure::Fees},
                                         {"Points", Figure::Points},
                                         {"Amount Financed", Figure::AmountFinanced},
                                         {"Finance Charge", Figure::FinanceCharge},
                                         {"APR", Figure::AnnualPercentageRate}}),
        group("Summary", {{"Principal", Figure::Principal},
                          {"Extra Payments", Figure::ExtraPayments},
                          {"Interest", Figure::Interest},
                          {"Total Principal Paid", Figure::TotalPrincipal},
                          {"Total All Payments", Figure::TotalPaid},
                          {"Balloon Payment", Figure::BalloonPayment}}),
        group("Original Loan", {{"Loan Amount", Figure::OriginalLoanAmount},
                                {"Payoff Date", Figure::OriginalPayoffDate},
                                {"Interest Paid", Figure::OriginalInterestPaid},
                                {"Total All Payments", Figure::OriginalTotalPaid}}),
        group("Adjusted Totals Due to Extra Payments", {{"Principal Amount Paid Early", Figure::PaidEarly},
                                                         {"Adjusted Payoff Date", Figure::AdjustedPayoffDate},
                                                         {"Adjusted Interest Paid", Figure::AdjustedInterestPaid},
                                                         {"Adjusted Total Payments", Figure::AdjustedTotalPaid}}),
        group("Total Savings Due to Extra Payments", {{"Number of Payments Saved", Figure::PaymentsSaved},
                                                       {"Total Saved", Figure::TotalSaved},
                                                       {"Payment Lowered To", Figure::LoweredPayment}}),
    };
}
