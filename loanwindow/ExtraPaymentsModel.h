#pragma once

#include "ExtraPaymentRow.h"
#include "RowsModel.h"

class Clock;

// The extra payments table: typed rows, shown in the user's regional settings.
class ExtraPaymentsModel : public TypedRowsModel<ExtraPaymentRow> {
    Q_OBJECT
public:
    enum Column { Type, Start, Stop, Amount, Then, ColumnCount };
    // The Type column's values, as the option group's positions.
    enum Kind { LumpSum = 0, Repeating = 1 };

    ExtraPaymentsModel(const Clock& clock, QObject* parent = nullptr);

    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // A repeating payment of nothing yet, from today to today.
    int appendRow() override;
    QString refusal(const QModelIndex& index, const QVariant& value) const override;

protected:
    QVariant cell(int row, int column, bool edit) const override;

private:
    const Clock& m_clock;
};
