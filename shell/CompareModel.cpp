#include "CompareModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>

CompareModel::CompareModel(QObject* parent) : QAbstractTableModel(parent) {}

void CompareModel::setLoans(const std::vector<ComparedLoan>& loans)
{
    beginResetModel();
    m_columns = compareLoans(loans);
    endResetModel();
}

int CompareModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kCompareRows;
}

int CompareModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QColor CompareModel::bestColour()
{
    return QColor(0xC0, 0xFF, 0xC0);
}

QVariant CompareModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ComparisonColumn& column = m_columns[size_t(index.column())];
    const bool best = column.best[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return column.texts[size_t(index.row())];
    case BestRole:
        return best;
    case Qt::FontRole:
        if (best) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::BackgroundRole:
        if (best)
            return QBrush(bestColour());
        return {};
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CompareModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < int(m_columns.size()) ? QVariant(m_columns[size_t(section)].caption)
                                                               : QVariant();
    return section >= 0 && section < kCompareRows ? QVariant(compareRowHeading(CompareRow(section))) : QVariant();
}
