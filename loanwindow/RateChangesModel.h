#pragma once

#include "RateChangeRow.h"

#include <QAbstractTableModel>

#include <vector>

// The rate changes table: typed rows, 0-based, shown in the user's regional
// settings (RateChangeTexts).
class RateChangesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { From, Rate, Mode, ColumnCount };

    explicit RateChangesModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const std::vector<RateChangeRow>& rows() const { return m_rows; }
    const RateChangeRow& row(int row) const { return m_rows[size_t(row)]; }
    // Every row's texts, the row `row` with `rate` typed in its rate cell.
    std::vector<RateChangeTexts> textsWithRate(int row, const QString& rate) const;

    void setRows(std::vector<RateChangeRow> rows);
    int addRow(const RateChangeRow& row);  // returns its row
    void removeRow(int row);
    void setRow(int row, const RateChangeRow& value);

private:
    std::vector<RateChangeRow> m_rows;
};
