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

    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // One payment skipped from today, then a new payment.
    int appendRow() override;
    QString refusal(const QModelIndex& index, const QVariant& value) const override;

protected:
    QVariant cell(int row, int column, bool edit) const override;

private:
    const Clock& m_clock;
};
