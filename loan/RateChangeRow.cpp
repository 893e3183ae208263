#include "RateChangeRow.h"

#include "LocaleText.h"

#include <cmath>

namespace {

RateChangeProblem problem(int row, RateChangeColumn column, const QString& message)
{
    return {row, column, message};
}

QString negativeRate(int row)
{
    return QStringLiteral("The rate of rate change %1 cannot be a negative number.").arg(row + 1);
}

}  // namespace

QString rateChangeModeText(engine::RateChangeMode mode)
{
    return mode == engine::RateChangeMode::SamePayment ? QStringLiteral("Same payment")
                                                       : QStringLiteral("New payment");
}

std::optional<engine::RateChangeMode> rateChangeModeFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    for (auto mode : {engine::RateChangeMode::NewPayment, engine::RateChangeMode::SamePayment})
        if (trimmed.compare(rateChangeModeText(mode), Qt::CaseInsensitive) == 0)
            return mode;
    return std::nullopt;
}

std::optional<RateChangeProblem> rateChangeRowsProblem(const std::vector<RateChangeRow>& rows)
{
    for (int i = 0; i < int(rows.size()); ++i) {
        const RateChangeRow& row = rows[std::size_t(i)];
        if (!row.from.isValid())
            return problem(i, RateChangeColumn::From,
                           QStringLiteral("The date of rate change %1 must be a date.").arg(i + 1));
        if (!std::isfinite(row.annualPercent))
            return problem(i, RateChangeColumn::Rate,
                           QStringLiteral("The rate of rate change %1 must be numeric.").arg(i + 1));
        if (row.annualPercent < 0.0)
            return problem(i, RateChangeColumn::Rate, negativeRate(i));
    }
    return std::nullopt;
}

std::vector<engine::RateChange> engineRateChanges(const std::vector<RateChangeRow>& rows)
{
    std::vector<engine::RateChange> out;
    out.reserve(rows.size());
    for (const RateChangeRow& row : rows)
        out.push_back({LocaleText::toYmd(row.from), row.annualPercent, row.mode});
    return out;
}

std::vector<std::optional<double>> rateChangePayments(const engine::ScheduleResult& result)
{
    std::vector<std::optional<double>> payments;
    for (const engine::RateChangeEffect& effect : result.rateChangeEffects)
        payments.push_back(effect.tookEffect ? std::optional(effect.payment) : std::nullopt);
    return payments;
}
