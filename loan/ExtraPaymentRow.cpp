#include "ExtraPaymentRow.h"

#include "LocaleText.h"

std::vector<engine::ExtraPayment> engineExtraPayments(const std::vector<ExtraPaymentRow>& rows)
{
    std::vector<engine::ExtraPayment> out;
    out.reserve(rows.size());
    for (const ExtraPaymentRow& row : rows) {
        engine::ExtraPayment payment;
        payment.kind = row.kind;
        if (row.kind != engine::ExtraPaymentKind::Ignored) {
            payment.start = LocaleText::toYmd(row.start);
            if (row.stop)
                payment.stop = LocaleText::toYmd(*row.stop);
            payment.amount = row.amount;
            payment.then = row.then;
        }
        out.push_back(payment);
    }
    return out;
}

QString extraPaymentTypeText(engine::ExtraPaymentKind kind)
{
    return kind == engine::ExtraPaymentKind::LumpSum ? QStringLiteral("L") : QStringLiteral("R");
}

QString extraPaymentThenText(engine::ExtraPaymentThen then)
{
    return then == engine::ExtraPaymentThen::LowerThePayment ? QStringLiteral("Lower the payment")
                                                             : QStringLiteral("Shorten the loan");
}
