#pragma once

#include "LoanRecord.h"

#include <QAbstractListModel>

// The picker's list over the loans as listed from the store: one row per loan,
// its description trimmed and cut for display (computed only for the rows a
// view shows), its key under Qt::UserRole. A list of 100,000 loans costs one
// vector, not an item per loan.
class LoanListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LoanListModel(std::vector<LoanListEntry> loans, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<LoanListEntry> m_loans;
};
