#include "LoanListModel.h"

#include "DisplayText.h"

LoanListModel::LoanListModel(std::vector<LoanListEntry> loans, QObject* parent)
    : QAbstractListModel(parent), m_loans(std::move(loans))
{
}

int LoanListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_loans.size());
}

QVariant LoanListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LoanListEntry& entry = m_loans[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText::elided(entry.description.trimmed());
    case Qt::UserRole:
        return entry.seqNo;
    default:
        return {};
    }
}
