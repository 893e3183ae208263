#include "YearlyModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

YearlyModel::YearlyModel(QObject* parent) : QAbstractTableModel(parent) {}

void YearlyModel::setRows(const std::vector<engine::ScheduleRow>& rows, engine::Date today)
{
    beginResetModel();
    m_totals = yearlyTotals(rows, today);
    endResetModel();
}

int YearlyModel::totalRow() const
{
    return m_totals.years.empty() ? -1 : int(m_totals.years.size());
}

int YearlyModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || m_totals.years.empty())
        return 0;
    return int(m_totals.years.size()) + 1;
}

int YearlyModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kYearlyColumns;
}

QColor YearlyModel::yearColour(const YearlyTotal& year, int index)
{
    // The payment table's colours: its odd payments are light, even ones dark.
    const bool light = index % 2 == 0;
    if (!year.allDue)
        return light ? QColor(0xC0, 0xFF, 0xFF) : QColor(0x80, 0xFF, 0xFF);
    return light ? QColor(0xFF, 0xFF, 0xC0) : QColor(0xFF, 0xFF, 0xA0);
}

QVariant YearlyModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const bool isTotal = index.row() == totalRow();
    const YearlyColumn column = YearlyColumn(index.column());
    const YearlyTotal& year = isTotal ? m_totals.total : m_totals.years[size_t(index.row())];

    switch (role) {
    case Qt::DisplayRole:
        return isTotal ? yearlyTotalCellText(year, column) : yearlyCellText(year, column);
    case Qt::BackgroundRole:
        // The year column and the total row keep the look of a fixed column.
        if (isTotal || column == YearlyColumn::Year)
            return QBrush(QGuiApplication::palette().color(QPalette::Button));
        return QBrush(yearColour(year, index.row()));
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    case Qt::FontRole:
        if (isTotal) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (column == YearlyColumn::Year)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant YearlyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kYearlyColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return yearlyHeading(YearlyColumn(section));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}
