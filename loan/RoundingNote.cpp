#include "RoundingNote.h"

#include "LocaleText.h"
#include "Money.h"
#include "Schedule.h"

QString lastPaymentRoundingNote(const engine::SummaryFigures& summary)
{
    if (engine::roundToCents(summary.lastPaymentRounding) <= 0.0)
        return {};
    return QStringLiteral("includes %1 rounding on the last payment")
        .arg(LocaleText::currencyText(summary.lastPaymentRounding));
}

QString extraPaymentsText(const engine::SummaryFigures& summary)
{
    const QString total = LocaleText::currencyText(summary.extraPayments);
    const double rounding = engine::roundToCents(summary.lastPaymentRounding);
    if (rounding <= 0.0)
        return total;
    if (engine::roundToCents(summary.extraPayments) <= rounding)
        return QStringLiteral("%1 (last payment rounding)").arg(total);
    return QStringLiteral("%1 (incl. %2 rounding)").arg(total, LocaleText::currencyText(rounding));
}
