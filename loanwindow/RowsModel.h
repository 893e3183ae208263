#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

// A table of typed rows that the fields beside it edit (RowEditor). Each
// column gives its value to a field as Qt::EditRole (a text in the user's
// regional settings, a date, a list position) and takes one back.
class RowsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Adds a row with the values a new one starts with; returns its row.
    virtual int appendRow() = 0;
    // Why `value` from a field cannot go into `index`, in the words of the
    // field's message; empty when it can.
    virtual QString refusal(const QModelIndex& index, const QVariant& value) const = 0;

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
    }
};

// The rows themselves, typed: what the run reads and the store saves.
template <typename Row>
class TypedRowsModel : public RowsModel {
public:
    // `headings`: the columns' headings, one a column.
    TypedRowsModel(QStringList headings, QObject* parent) : RowsModel(parent), m_headings(std::move(headings)) {}

    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_headings.size()); }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_headings.size())
            return RowsModel::headerData(section, orientation, role);
        return m_headings[section];
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
            return {};
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        return cell(index.row(), index.column(), role == Qt::EditRole);
    }

    const std::vector<Row>& rows() const { return m_rows; }
    const Row& row(int row) const { return m_rows[std::size_t(row)]; }

    void setRows(std::vector<Row> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }

    bool removeRows(int row, int count, const QModelIndex& parent = {}) override
    {
        if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
            return false;
        beginRemoveRows({}, row, row + count - 1);
        m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
        endRemoveRows();
        return true;
    }

protected:
    // A cell's text as shown, or (`edit`) the value its field edits.
    virtual QVariant cell(int row, int column, bool edit) const = 0;

    int append(const Row& value)
    {
        const int row = rowCount();
        beginInsertRows({}, row, row);
        m_rows.push_back(value);
        endInsertRows();
        return row;
    }
    // The cells from `first` to `last` show again, and the fields that edit
    // them; the others keep what may be typed into them.
    void cellsChanged(int row, int first, int last) { emit dataChanged(index(row, first), index(row, last)); }

    std::vector<Row> m_rows;

private:
    QStringList m_headings;
};
