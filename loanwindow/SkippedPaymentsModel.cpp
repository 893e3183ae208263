#include "SkippedPaymentsModel.h"

#include "Clock.h"
#include "DateBox.h"
#include "LocaleText.h"
#include "NumberEntry.h"
#include "RateChangeRow.h"
#include "WholeNumbers.h"

#include <QLocale>

#include <cmath>

SkippedPaymentsModel::SkippedPaymentsModel(const Clock& clock, QObject* parent)
    : TypedRowsModel({"From", "Payments", "Then"}, parent), m_clock(clock)
{
}

QVariant SkippedPaymentsModel::cell(int row, int column, bool edit) const
{
    const SkippedPaymentRow& skip = this->row(row);
    switch (column) {
    case From: return edit ? QVariant(skip.from) : QVariant(LocaleText::shortDateText(skip.from));
    case Count: return QLocale().toString(skip.count);
    case Then: return edit ? QVariant(int(skip.mode)) : QVariant(rateChangeModeText(skip.mode));
    }
    return {};
}

bool SkippedPaymentsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !refusal(index, value).isEmpty())
        return false;
    SkippedPaymentRow& skip = m_rows[std::size_t(index.row())];
    switch (index.column()) {
    case From: skip.from = value.toDate(); break;
    case Count: skip.count = int(readEntry(NumberKind::Count, value.toString()).value); break;
    case Then: skip.mode = engine::RateChangeMode(value.toInt()); break;
    }
    cellsChanged(index.row(), index.column(), index.column());
    return true;
}

int SkippedPaymentsModel::appendRow()
{
    return append({m_clock.today(), 1, engine::RateChangeMode::NewPayment});
}

QString SkippedPaymentsModel::refusal(const QModelIndex& index, const QVariant& value) const
{
    switch (index.column()) {
    case From: return value.toDate().isValid() ? QString() : DateBox::refusal(QStringLiteral("From"));
    case Count: {
        const NumberEntry entry = readEntry(NumberKind::Count, value.toString());
        if (entry.number() && entry.value >= 1.0 && entry.value == std::floor(entry.value) &&
            engine::fitsSixteenBits(entry.value))
            return {};
        return QStringLiteral("The payments skipped by skip %1 must be a whole number, 1 or more.").arg(index.row() + 1);
    }
    case Then: return value.toInt() == 0 || value.toInt() == 1 ? QString() : QStringLiteral("No such payment rule.");
    default: return {};
    }
}
