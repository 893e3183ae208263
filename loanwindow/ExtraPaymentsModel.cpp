#include "ExtraPaymentsModel.h"

#include "Clock.h"
#include "DateBox.h"
#include "LocaleText.h"
#include "Money.h"
#include "NumberEntry.h"

ExtraPaymentsModel::ExtraPaymentsModel(const Clock& clock, QObject* parent)
    : TypedRowsModel({"Type", "Start", "Stop", "Amount", "Then"}, parent), m_clock(clock)
{
}

QVariant ExtraPaymentsModel::cell(int row, int column, bool edit) const
{
    const ExtraPaymentRow& payment = this->row(row);
    const bool lumpSum = payment.kind == engine::ExtraPaymentKind::LumpSum;
    switch (column) {
    case Type: return edit ? QVariant(lumpSum ? LumpSum : Repeating) : QVariant(extraPaymentTypeText(payment.kind));
    case Start: return edit ? QVariant(payment.start) : QVariant(LocaleText::shortDateText(payment.start));
    case Stop:
        if (edit)
            return payment.stop.value_or(QDate());
        return payment.stop ? LocaleText::shortDateText(*payment.stop) : QString();
    case Amount: return LocaleText::regionalCurrencyText(payment.amount);
    case Then: return edit ? QVariant(int(payment.then)) : QVariant(extraPaymentThenText(payment.then));
    }
    return {};
}

bool ExtraPaymentsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !refusal(index, value).isEmpty())
        return false;
    ExtraPaymentRow& payment = m_rows[std::size_t(index.row())];
    if (index.column() == Stop && payment.kind == engine::ExtraPaymentKind::LumpSum)
        return false;  // a lump sum has no end
    switch (index.column()) {
    case Type:
        if (value.toInt() == LumpSum) {
            // The stop date stays in the End Date box, which a switch back takes again.
            payment.kind = engine::ExtraPaymentKind::LumpSum;
            payment.stop.reset();
        } else {
            payment.kind = engine::ExtraPaymentKind::Repeating;
        }
        break;
    case Start: payment.start = value.toDate(); break;
    case Stop: payment.stop = value.toDate(); break;
    case Amount: payment.amount = engine::roundToCents(readEntry(NumberKind::Amount, value.toString()).value); break;
    case Then: payment.then = engine::ExtraPaymentThen(value.toInt()); break;
    }
    // A new kind shows again with its stop date, or without one.
    cellsChanged(index.row(), index.column(), index.column() == Type ? int(Stop) : index.column());
    return true;
}

int ExtraPaymentsModel::appendRow()
{
    const QDate today = m_clock.today();
    return append({engine::ExtraPaymentKind::Repeating, today, today, 0.0});
}

QString ExtraPaymentsModel::refusal(const QModelIndex& index, const QVariant& value) const
{
    switch (index.column()) {
    case Start: return value.toDate().isValid() ? QString() : DateBox::refusal(QStringLiteral("Start Date"));
    case Stop: return value.toDate().isValid() ? QString() : DateBox::refusal(QStringLiteral("End Date"));
    case Amount: {
        const NumberEntry entry = readEntry(NumberKind::Amount, value.toString());
        if (entry.number())
            return {};
        return entryRefusal(entry, QStringLiteral("Amount must be numeric"), QStringLiteral("Amount"));
    }
    case Then: return value.toInt() == 0 || value.toInt() == 1 ? QString() : QStringLiteral("No such effect.");
    default: return {};
    }
}
