#include "SkippedPaymentRow.h"

#include "LocaleText.h"

std::vector<engine::SkippedPayments> engineSkippedPayments(const std::vector<SkippedPaymentRow>& rows)
{
    std::vector<engine::SkippedPayments> out;
    out.reserve(rows.size());
    for (const SkippedPaymentRow& row : rows)
        out.push_back({LocaleText::toYmd(row.from), row.count, row.mode});
    return out;
}
