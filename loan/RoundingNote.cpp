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
    const QString note = lastPaymentRoundingNote(summary);
    return note.isEmpty() ? total : QStringLiteral("%1 (%2)").arg(total, note);
}
