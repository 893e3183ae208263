#include "ExtraPaymentRows.h"

#include "LocaleText.h"

namespace {

QString mismatch(int row, const char* column, const QString& text)
{
    return QStringLiteral("13 - Type mismatch: extra payment %1, %2 \"%3\"")
        .arg(row)
        .arg(QString::fromLatin1(column), text);
}

}  // namespace

std::variant<std::vector<engine::ExtraPayment>, QString>
toEngineExtraPayments(const std::vector<ExtraPaymentTexts>& rows)
{
    std::vector<engine::ExtraPayment> out;
    out.reserve(rows.size());
    int number = 0;
    for (const auto& row : rows) {
        ++number;
        engine::ExtraPayment payment;
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
        payment.start = LocaleText::toYmd(*start);
        if (repeating) {
            const auto stop = LocaleText::readShortDate(row.stop);
            if (!stop)
                return mismatch(number, "Stop", row.stop);
            payment.stop = LocaleText::toYmd(*stop);
        }
        const auto amount = LocaleText::readNumber(row.amount);
        if (!amount)
            return mismatch(number, "Amount", row.amount);
        payment.amount = *amount;
        out.push_back(payment);
    }
    return out;
}
