#include "ResultsModel.h"

#include "ResultsTable.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

ResultsModel::ResultsModel(QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::make_shared<const std::vector<engine::ScheduleRow>>())
{
}

void ResultsModel::setRows(std::vector<engine::ScheduleRow> rows, engine::Date today)
{
    shareRows(std::make_shared<const std::vector<engine::ScheduleRow>>(std::move(rows)), today);
}

void ResultsModel::shareRows(std::shared_ptr<const std::vector<engine::ScheduleRow>> rows, engine::Date today)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_today = today;
    endResetModel();
}

int ResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows->size());
}

int ResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kResultsColumns;
}

QColor ResultsModel::rowColour(const engine::ScheduleRow& row, engine::Date today)
{
    const bool odd = row.number % 2 != 0;
    if (row.dueDate > today)
        return odd ? QColor(0xC0, 0xFF, 0xFF) : QColor(0x80, 0xFF, 0xFF);
    return odd ? QColor(0xFF, 0xFF, 0xC0) : QColor(0xFF, 0xFF, 0xA0);
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const auto& row = (*m_rows)[size_t(index.row())];
    const auto column = ResultsColumn(index.column());

    switch (role) {
    case Qt::DisplayRole:
        return resultsCellText(row, column);
    case Qt::BackgroundRole:
        // The payment column keeps the look of a fixed column.
        if (column == ResultsColumn::Payment)
            return QBrush(QGuiApplication::palette().color(QPalette::Button));
        return QBrush(rowColour(row, m_today));
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    case Qt::TextAlignmentRole:
        if (column == ResultsColumn::Payment)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kResultsColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return resultsHeading(ResultsColumn(section));
    if (role == TopHeadingRole)
        return resultsTopHeading(ResultsColumn(section));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}
