#pragma once

#include "ExtraPaymentRow.h"

#include <QAbstractTableModel>

#include <vector>

// The extra payments table: typed rows, 0-based, shown in the table's texts.
// A row added in the window shows no number and "0.00" until an amount is
// typed; a loaded row shows its place in the stored list.
class ExtraPaymentsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, Type, Start, Stop, Amount, ColumnCount };

    explicit ExtraPaymentsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The rows as the run and the save take them.
    const std::vector<ExtraPaymentRow>& rows() const { return m_rows; }
    const ExtraPaymentRow& row(int row) const { return m_rows[size_t(row)]; }
    // What a cell shows.
    QString text(int row, Column column) const;

    // Loaded rows, numbered 1, 2, 3...
    void setLoadedRows(std::vector<ExtraPaymentRow> rows);
    void clear();
    // A new repeating row of no amount yet; returns its row.
    int addRow(const QDate& start, const QDate& stop);
    void removeRow(int row);

    // A lump sum has no stop date; a repeating payment keeps the one it has.
    void setKind(int row, engine::ExtraPaymentKind kind);
    void setStart(int row, const QDate& date);
    void setStop(int row, const QDate& date);
    void setAmount(int row, double amount);

private:
    void cellChanged(int row, Column column);

    std::vector<ExtraPaymentRow> m_rows;
    // Per row: the number shown (0 = none) and whether the amount was never typed.
    struct Shown {
        int number = 0;
        bool amountUntyped = false;
    };
    std::vector<Shown> m_shown;
};
