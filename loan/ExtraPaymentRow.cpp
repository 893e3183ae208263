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

std::variant<std::vector<ExtraPaymentRow>, engine::NumberedError>
extraPaymentRowsForSaving(const std::vector<ExtraPaymentTexts>& rows)
{
    auto typeMismatch = [](const QString& what, std::size_t index, const QString& text) {
        return engine::NumberedError{engine::ErrorNumber::TypeMismatch,
                                     QStringLiteral("Type mismatch: %1 of extra payment %2 \"%3\" cannot be converted.")
                                         .arg(what)
                                         .arg(index + 1)
                                         .arg(text)
                                         .toStdString()};
    };
    std::vector<ExtraPaymentRow> out;
    out.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ExtraPaymentTexts& row = rows[i];
        ExtraPaymentRow payment;
        const bool lumpSum = row.type == QLatin1String("L");
        payment.kind = lumpSum ? engine::ExtraPaymentKind::LumpSum : engine::ExtraPaymentKind::Repeating;
        if (!lumpSum) {
            payment.stop = LocaleText::readShortDate(row.stop);
            if (!payment.stop)
                return typeMismatch(QStringLiteral("the stop date"), i, row.stop);
        }
        const auto start = LocaleText::readShortDate(row.start);
        if (!start)
            return typeMismatch(QStringLiteral("the start date"), i, row.start);
        payment.start = *start;
        const auto amount = LocaleText::readNumber(row.amount);
        if (!amount)
            return typeMismatch(QStringLiteral("the amount"), i, row.amount);
        payment.amount = *amount;
        out.push_back(payment);
    }
    return out;
}

QString extraPaymentTypeText(engine::ExtraPaymentKind kind)
{
    return kind == engine::ExtraPaymentKind::LumpSum ? QStringLiteral("L") : QStringLiteral("R");
}

QString extraPaymentDateText(const QDate& date)
{
    return LocaleText::shortDateText(date);
}

QString extraPaymentAmountText(double amount)
{
    return LocaleText::regionalCurrencyText(amount);
}

std::optional<QString> typedAmountText(const QString& typed)
{
    const auto amount = LocaleText::readNumber(typed);
    if (!amount)
        return std::nullopt;
    return LocaleText::regionalCurrencyText(*amount);
}

std::optional<double> typedAmount(const QString& typed)
{
    const auto text = typedAmountText(typed);
    return text ? LocaleText::readNumber(*text) : std::nullopt;
}

double shownAmount(double amount)
{
    return LocaleText::readNumber(extraPaymentAmountText(amount)).value_or(amount);
}

std::optional<QDate> cellDate(const QString& cell)
{
    return LocaleText::readShortDate(cell);
}
