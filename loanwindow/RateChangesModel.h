#pragma once

#include "RateChangeRow.h"
#include "RowsModel.h"

#include <functional>
#include <optional>

class Clock;

// The rate changes table: typed rows shown in the user's regional settings,
// and the payment each change brought in the last run.
class RateChangesModel : public TypedRowsModel<RateChangeRow> {
    Q_OBJECT
public:
    enum Column { From, Rate, Mode, Payment, ColumnCount };

    // `loanRate`: the rate a new change starts at (the loan's own).
    RateChangesModel(const Clock& clock, std::function<double()> loanRate, QObject* parent = nullptr);

    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    int appendRow() override;
    QString refusal(const QModelIndex& index, const QVariant& value) const override;

    // The payment in force from each change, as the last run found it (none
    // for a change that took no effect); an edited row's is dropped.
    void setPayments(std::vector<std::optional<double>> payments);

protected:
    QVariant cell(int row, int column, bool edit) const override;

private:
    const Clock& m_clock;
    std::function<double()> m_loanRate;
    std::vector<std::optional<double>> m_payments;
};
