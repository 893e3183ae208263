#pragma once

#include "YearlyTotals.h"

#include <QAbstractTableModel>

// The amortization table summed per calendar year, with a last "Total" row.
// Texts and colours are computed in data(); a run resets the model once.
class YearlyModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit YearlyModel(QObject* parent = nullptr);

    // Sums the run's rows per year (one model reset).
    void setRows(const std::vector<engine::ScheduleRow>& rows, engine::Date today);
    const YearlyTotals& totals() const { return m_totals; }
    // The row index of the "Total" row, or -1 while there are no years.
    int totalRow() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A year's background: yellow once all its payments are due, cyan while
    // any is in the future; light and dark alternating from the first year.
    static QColor yearColour(const YearlyTotal& year, int index);

private:
    YearlyTotals m_totals;
};
