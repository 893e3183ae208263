#pragma once

#include "LoanComparison.h"

#include <QAbstractTableModel>

// The comparison table: one column per loan window (its caption as heading),
// one row per figure. The best value of a row is marked through BestRole and
// drawn bold on a light green background.
class CompareModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int BestRole = Qt::UserRole + 1;

    explicit CompareModel(QObject* parent = nullptr);

    // Replaces every column at once (one model reset).
    void setLoans(const std::vector<ComparedLoan>& loans);
    const std::vector<ComparisonColumn>& columns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QColor bestColour();

private:
    std::vector<ComparisonColumn> m_columns;
};
