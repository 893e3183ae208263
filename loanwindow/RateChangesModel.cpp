#include "RateChangesModel.h"

#include "Clock.h"
#include "DateBox.h"
#include "LocaleText.h"
#include "NumberEntry.h"

#include <cmath>

RateChangesModel::RateChangesModel(const Clock& clock, std::function<double()> loanRate, QObject* parent)
    : TypedRowsModel(parent), m_clock(clock), m_loanRate(std::move(loanRate))
{
    connect(this, &QAbstractItemModel::modelReset, this, [this] { m_payments.clear(); });
    connect(this, &QAbstractItemModel::rowsRemoved, this, [this] { m_payments.clear(); });
}

int RateChangesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RateChangesModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RateChangeRow& change = row(index.row());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::EditRole) {
        switch (index.column()) {
        case From: return change.from;
        case Rate: return LocaleText::plainNumberText(change.annualPercent);
        case Mode: return int(change.mode);
        }
    }
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case From: return LocaleText::shortDateText(change.from);
        case Rate: return LocaleText::plainNumberText(change.annualPercent);
        case Mode: return rateChangeModeText(change.mode);
        case Payment: {
            const std::size_t row = std::size_t(index.row());
            return row < m_payments.size() && m_payments[row] ? LocaleText::currencyText(*m_payments[row]) : QString();
        }
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

QVariant RateChangesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kHeadings[ColumnCount] = {"From", "Rate %", "Then", "Payment"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeadings[section]);
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
