#pragma once

#include "Schedule.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

struct LoanResult;

// The rows of one amortization run as the results table shows them. Texts and
// colours are computed in data(), so even 32,767 rows cost nothing until they
// are painted.
class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The heading of the upper of the two heading rows; neighbours with the
    // same text are drawn as one merged cell.
    static constexpr int TopHeadingRole = Qt::UserRole + 1;

    explicit ResultsModel(QObject* parent = nullptr);

    // Replaces all rows at once (one model reset per run).
    void setRows(std::vector<engine::ScheduleRow> rows, engine::Date today);
    // The same with rows kept elsewhere (the window's last result), not copied.
    void shareRows(std::shared_ptr<const std::vector<engine::ScheduleRow>> rows, engine::Date today);
    // A whole run: its rows, today, and its rate changes, which the payment
    // column marks where they take effect (an icon and a tooltip; the texts
    // stay), with the rate in force in every row's tooltip.
    void shareRun(std::shared_ptr<const LoanResult> run);
    const std::vector<engine::ScheduleRow>& rows() const { return *m_rows; }
    // The same rows, shared: a run replaces them, never changes them in place.
    std::shared_ptr<const std::vector<engine::ScheduleRow>> sharedRows() const { return m_rows; }
    engine::Date today() const { return m_today; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The row background of a payment: yellow once due, cyan while in the
    // future, light on odd payment numbers and dark on even ones.
    static QColor rowColour(const engine::ScheduleRow& row, engine::Date today);

    // Whether the run shown marks rows: where a rate change or a shape took effect.
    bool marksRows() const { return m_run != nullptr; }

private:
    QString rateChangeTip(size_t row) const;
    QString shapeTip(size_t row) const;
    bool marked(size_t row) const;

    std::shared_ptr<const std::vector<engine::ScheduleRow>> m_rows;
    engine::Date m_today{};
    std::shared_ptr<const LoanResult> m_run;  // with marked rows only
};
