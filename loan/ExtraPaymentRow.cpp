#include "ExtraPaymentRow.h"

#include "LocaleText.h"

namespace {

engine::NumberedError mismatch(int row, const char* column, const QString& text)
{
    return {engine::ErrorNumber::TypeMismatch,
            QStringLiteral("Type mismatch: extra payment %1, %2 \"%3\"")
                .arg(row)
                .arg(QString::fromLatin1(column), text)
                .toStdString()};
}

}  // namespace

std::variant<std::vector<ExtraPaymentRow>, engine::NumberedError>
extraPaymentRowsForRun(const std::vector<ExtraPaymentTexts>& rows)
{
    std::vector<ExtraPaymentRow> out;
    out.reserve(rows.size());
    int number = 0;
    for (const auto& row : rows) {
        ++number;
        ExtraPaymentRow payment;
        const bool lumpSum = row.type == QLatin1String("L");
        const bool repeating = row.type == QLatin1String("R");
        if (!lumpSum && !repeating) {
            out.push_back(payment);  // Ignored: its cells are never read
            continue;
        }
        payment.kind = lumpSum ? engine::ExtraPaymentKind::LumpSum : engine::ExtraPaymentKind::Repeating;
        const auto start = LocaleText::readShortDate(row.start);
        if (!start)
            return mismatch(number, "Start", row.start);
        payment.start = *start;
        if (repeating) {
            const auto stop = LocaleText::readShortDate(row.stop);
            if (!stop)
                return mismatch(number, "Stop", row.stop);
            payment.stop = *stop;
        }
        const auto amount = LocaleText::readNumber(row.amount);
        if (!amount)
            return mismatch(number, "Amount", row.amount);
        payment.amount = *amount;
        out.push_back(payment);
    }
    return out;
}

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
        }
        out.push_back(payment);
    }
    return out;
}
