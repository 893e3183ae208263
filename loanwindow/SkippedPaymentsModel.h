#pragma once

#include "RowsModel.h"
#include "SkippedPaymentRow.h"

class Clock;

// The skipped payments table: typed rows shown in the user's regional settings.
class SkippedPaymentsModel : public TypedRowsModel<SkippedPaymentRow> {
    Q_OBJECT
public:
    enum Column { From, Count, Then, ColumnCount };

    explicit SkippedPaymentsModel(const Clock& clock, QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // One payment skipped from today, then a new payment.
    int appendRow() override;
    QString refusal(const QModelIndex& index, const QVariant& value) const override;

private:
    const Clock& m_clock;
};
