#include "RateChangesModel.h"

RateChangesModel::RateChangesModel(QObject* parent) : QAbstractTableModel(parent) {}

int RateChangesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RateChangesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RateChangesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        const RateChangeTexts texts = rateChangeTexts(m_rows[size_t(index.row())]);
        switch (Column(index.column())) {
        case From: return texts.from;
        case Rate: return texts.rate;
        case Mode: return texts.mode;
        case ColumnCount: break;
        }
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

QVariant RateChangesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kHeadings[ColumnCount] = {"From", "Rate %", "Payment"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeadings[section]);
}

Qt::ItemFlags RateChangesModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

std::vector<RateChangeTexts> RateChangesModel::textsWithRate(int row, const QString& rate) const
{
    std::vector<RateChangeTexts> texts;
    texts.reserve(m_rows.size());
    for (const RateChangeRow& change : m_rows)
        texts.push_back(rateChangeTexts(change));
    texts[size_t(row)].rate = rate;
    return texts;
}

void RateChangesModel::setRows(std::vector<RateChangeRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int RateChangesModel::addRow(const RateChangeRow& value)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_rows.push_back(value);
    endInsertRows();
    return row;
}

void RateChangesModel::removeRow(int row)
{
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void RateChangesModel::setRow(int row, const RateChangeRow& value)
{
    m_rows[size_t(row)] = value;
    emit dataChanged(index(row, From), index(row, Mode), {Qt::DisplayRole});
}
