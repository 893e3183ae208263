#include "RateChangesModel.h"

#include "Clock.h"
#include "DateBox.h"
#include "LocaleText.h"
#include "NumberEntry.h"

#include <cmath>

RateChangesModel::RateChangesModel(const Clock& clock, std::function<double()> loanRate, QObject* parent)
    : TypedRowsModel({"From", "Rate %", "Then", "Payment"}, parent), m_clock(clock), m_loanRate(std::move(loanRate))
{
    connect(this, &QAbstractItemModel::modelReset, this, [this] { m_payments.clear(); });
    connect(this, &QAbstractItemModel::rowsRemoved, this, [this] { m_payments.clear(); });
}

QVariant RateChangesModel::cell(int row, int column, bool edit) const
{
    const RateChangeRow& change = this->row(row);
    switch (column) {
    case From: return edit ? QVariant(change.from) : QVariant(LocaleText::shortDateText(change.from));
    case Rate: return LocaleText::plainNumberText(change.annualPercent);
    case Mode: return edit ? QVariant(int(change.mode)) : QVariant(rateChangeModeText(change.mode));
    case Payment: {
        // Shown only: no field edits it.
        const std::size_t at = std::size_t(row);
        if (edit)
            return {};
        return at < m_payments.size() && m_payments[at] ? LocaleText::currencyText(*m_payments[at]) : QString();
    }
    }
    return {};
}

bool RateChangesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() == Payment || !refusal(index, value).isEmpty())
        return false;
    RateChangeRow& change = m_rows[std::size_t(index.row())];
    switch (index.column()) {
    case From: change.from = value.toDate(); break;
    case Rate: change.annualPercent = readEntry(NumberKind::Rate, value.toString()).value; break;
    case Mode: change.mode = engine::RateChangeMode(value.toInt()); break;
    }
    if (std::size_t(index.row()) < m_payments.size())
        m_payments[std::size_t(index.row())].reset();  // found for what the row was
    cellsChanged(index.row(), index.column(), index.column());
    cellsChanged(index.row(), Payment, Payment);
    return true;
}

int RateChangesModel::appendRow()
{
    const double rate = m_loanRate ? m_loanRate() : 0.0;
    return append({m_clock.today(), std::isfinite(rate) && rate >= 0.0 ? rate : 0.0, engine::RateChangeMode::NewPayment});
}

QString RateChangesModel::refusal(const QModelIndex& index, const QVariant& value) const
{
    const int number = index.row() + 1;
    switch (index.column()) {
    case From: return value.toDate().isValid() ? QString() : DateBox::refusal(QStringLiteral("From"));
    case Rate: {
        const NumberEntry entry = readEntry(NumberKind::Rate, value.toString());
        if (entry.isBlank())
            return QStringLiteral("The rate of rate change %1 must be entered.").arg(number);
        if (!entry.number())
            return entryRefusal(entry, QStringLiteral("The rate of rate change %1 must be numeric.").arg(number), {});
        if (entry.value < 0.0)
            return QStringLiteral("The rate of rate change %1 cannot be a negative number.").arg(number);
        return {};
    }
    case Mode: return value.toInt() == 0 || value.toInt() == 1 ? QString() : QStringLiteral("No such payment rule.");
    default: return {};
    }
}

void RateChangesModel::setPayments(std::vector<std::optional<double>> payments)
{
    m_payments = std::move(payments);
    if (rowCount() > 0)
        emit dataChanged(index(0, Payment), index(rowCount() - 1, Payment));
}
