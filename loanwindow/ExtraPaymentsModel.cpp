#include "ExtraPaymentsModel.h"

ExtraPaymentsModel::ExtraPaymentsModel(QObject* parent) : QAbstractTableModel(parent) {}

int ExtraPaymentsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ExtraPaymentsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ExtraPaymentsModel::text(int row, Column column) const
{
    const ExtraPaymentRow& payment = m_rows[size_t(row)];
    const Shown& shown = m_shown[size_t(row)];
    switch (column) {
    case Number: return shown.number > 0 ? QString::number(shown.number) : QString();
    case Type: return extraPaymentTypeText(payment.kind);
    case Start: return extraPaymentDateText(payment.start);
    case Stop: return payment.stop ? extraPaymentDateText(*payment.stop) : QString();
    case Amount: return shown.amountUntyped ? QStringLiteral("0.00") : extraPaymentAmountText(payment.amount);
    case ColumnCount: break;
    }
    return {};
}

QVariant ExtraPaymentsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), Column(index.column()));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

QVariant ExtraPaymentsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kHeadings[ColumnCount] = {"#", "Type", "Start", "Stop", "Amount"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeadings[section]);
}

Qt::ItemFlags ExtraPaymentsModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void ExtraPaymentsModel::setLoadedRows(std::vector<ExtraPaymentRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_shown.assign(m_rows.size(), Shown{});
    for (size_t i = 0; i < m_shown.size(); ++i)
        m_shown[i].number = int(i) + 1;
    endResetModel();
}

void ExtraPaymentsModel::clear()
{
    setLoadedRows({});
}

int ExtraPaymentsModel::addRow(const QDate& start, const QDate& stop)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_rows.push_back({engine::ExtraPaymentKind::Repeating, start, stop, 0.0});
    m_shown.push_back({0, true});
    endInsertRows();
    return row;
}

void ExtraPaymentsModel::removeRow(int row)
{
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    m_shown.erase(m_shown.begin() + row);
    endRemoveRows();
}

void ExtraPaymentsModel::cellChanged(int row, Column column)
{
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void ExtraPaymentsModel::setKind(int row, engine::ExtraPaymentKind kind)
{
    ExtraPaymentRow& payment = m_rows[size_t(row)];
    payment.kind = kind;
    if (kind == engine::ExtraPaymentKind::LumpSum)
        payment.stop.reset();
    emit dataChanged(index(row, Type), index(row, Stop), {Qt::DisplayRole});
}

void ExtraPaymentsModel::setStart(int row, const QDate& date)
{
    m_rows[size_t(row)].start = date;
    cellChanged(row, Start);
}

void ExtraPaymentsModel::setStop(int row, const QDate& date)
{
    m_rows[size_t(row)].stop = date;
    cellChanged(row, Stop);
}

void ExtraPaymentsModel::setAmount(int row, double amount)
{
    m_rows[size_t(row)].amount = amount;
    m_shown[size_t(row)].amountUntyped = false;
    cellChanged(row, Amount);
}
