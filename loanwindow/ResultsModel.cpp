#include "ResultsModel.h"

#include "LoanResult.h"
#include "LocaleText.h"
#include "ResultsTable.h"

#include <QBrush>
#include <QStringList>
#include <QColor>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

#include <algorithm>

namespace {

// A small arrow pointing at the payment where a new rate or a shape of the
// loan takes effect.
QIcon rateChangeMarker()
{
    static const QIcon marker = [] {
        QPixmap pixmap(10, 10);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xC0, 0x30, 0x30));
        const QPointF arrow[] = {{1, 1}, {9, 5}, {1, 9}};
        painter.drawPolygon(arrow, 3);
        return QIcon(pixmap);
    }();
    return marker;
}

}  // namespace

ResultsModel::ResultsModel(QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::make_shared<const std::vector<engine::ScheduleRow>>())
{
}

void ResultsModel::setRows(std::vector<engine::ScheduleRow> rows, engine::Date today)
{
    shareRows(std::make_shared<const std::vector<engine::ScheduleRow>>(std::move(rows)), today);
}

void ResultsModel::shareRows(std::shared_ptr<const std::vector<engine::ScheduleRow>> rows, engine::Date today)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_today = today;
    m_run.reset();
    endResetModel();
}

void ResultsModel::shareRun(std::shared_ptr<const LoanResult> run)
{
    beginResetModel();
    m_rows = std::shared_ptr<const std::vector<engine::ScheduleRow>>(run, &run->schedule.rows);
    m_today = LocaleText::toYmd(run->today);
    const bool anyMarked = !run->rows.rateChanges.empty() ||
                        std::any_of(m_rows->begin(), m_rows->end(), [](const auto& row) { return row.marks != 0; });
    m_run = anyMarked ? std::move(run) : nullptr;
    endResetModel();
}

QString ResultsModel::rateChangeTip(size_t row) const
{
    const engine::ScheduleResult& result = m_run->schedule;
    const engine::ScheduleRow& payment = result.rows[row];
    const QString rate = LocaleText::plainNumberText(engine::annualRatePercentAt(result, payment)) + QStringLiteral(" %");
    if (!engine::rateChangeTakesEffect(result, row) || payment.rateChange <= 0 ||
        size_t(payment.rateChange) > m_run->rows.rateChanges.size())
        return QStringLiteral("Rate in force: %1").arg(rate);
    const RateChangeRow& change = m_run->rows.rateChanges[size_t(payment.rateChange) - 1];
    // The payment the change brings, which otherwise only its principal and interest tell.
    return QStringLiteral("Rate change %1 from %2 takes effect: %3 (%4), payment %5")
        .arg(payment.rateChange)
        .arg(LocaleText::shortDateText(change.from), rate, rateChangeModeText(change.mode),
             LocaleText::currencyText(payment.payment));
}

bool ResultsModel::marked(size_t row) const
{
    // The interest-only payments are marked where they start and where they
    // end; skipped payments each, and the payment after them.
    const engine::ScheduleResult& result = m_run->schedule;
    const std::uint8_t marks = result.rows[row].marks;
    const std::uint8_t before = row == 0 ? 0 : result.rows[row - 1].marks;
    if ((marks & ~engine::InterestOnlyMark) != 0 || engine::rateChangeTakesEffect(result, row))
        return true;
    return ((marks ^ before) & engine::InterestOnlyMark) || (before & engine::SkippedMark);
}

QString ResultsModel::shapeTip(size_t row) const
{
    const engine::ScheduleResult& result = m_run->schedule;
    const engine::ScheduleRow& payment = result.rows[row];
    QStringList lines;
    if (row > 0 && (result.rows[row - 1].marks & engine::InterestOnlyMark) && !(payment.marks & engine::InterestOnlyMark))
        lines << QStringLiteral("The interest-only payments end: the payment is %1")
                     .arg(LocaleText::currencyText(payment.payment));
    if (row > 0 && (result.rows[row - 1].marks & engine::SkippedMark) && !(payment.marks & engine::SkippedMark))
        lines << QStringLiteral("The skipped payments end: the payment is %1")
                     .arg(LocaleText::currencyText(payment.payment));
    if (payment.marks & engine::InterestOnlyMark)
        lines << QStringLiteral("Interest only: this payment pays the period's interest and no principal");
    if (payment.marks & engine::SkippedMark)
        lines << QStringLiteral("Skipped payment: nothing paid, the interest of %1 added to the balance")
                     .arg(LocaleText::currencyText(payment.interest));
    if (payment.marks & engine::BalloonMark)
        lines << QStringLiteral("Balloon payment: the rest of the balance falls due, %1 above the payment")
                     .arg(LocaleText::currencyText(result.balloon));
    if ((payment.marks & engine::LoweredMark) && row + 1 < result.rows.size())
        lines << QStringLiteral("An extra payment lowers the payment: %1 from the next payment")
                     .arg(LocaleText::currencyText(result.rows[row + 1].payment));
    return lines.join(QLatin1Char('\n'));
}

int ResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows->size());
}

int ResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kResultsColumns;
}

QColor ResultsModel::rowColour(const engine::ScheduleRow& row, engine::Date today)
{
    const bool odd = row.number % 2 != 0;
    if (row.dueDate > today)
        return odd ? QColor(0xC0, 0xFF, 0xFF) : QColor(0x80, 0xFF, 0xFF);
    return odd ? QColor(0xFF, 0xFF, 0xC0) : QColor(0xFF, 0xFF, 0xA0);
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const auto& row = (*m_rows)[size_t(index.row())];
    const auto column = ResultsColumn(index.column());

    switch (role) {
    case Qt::DisplayRole:
        return resultsCellText(row, column);
    case Qt::BackgroundRole:
        // The payment column keeps the look of a fixed column.
        if (column == ResultsColumn::Payment)
            return QBrush(QGuiApplication::palette().color(QPalette::Button));
        return QBrush(rowColour(row, m_today));
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    case Qt::DecorationRole:
        if (m_run && column == ResultsColumn::Payment && marked(size_t(index.row())))
            return rateChangeMarker();
        return {};
    case Qt::ToolTipRole: {
        if (!m_run)
            return {};
        QStringList lines;
        if (!m_run->rows.rateChanges.empty())
            lines << rateChangeTip(size_t(index.row()));
        lines << shapeTip(size_t(index.row()));
        lines.removeAll(QString());
        return lines.isEmpty() ? QVariant() : QVariant(lines.join(QLatin1Char('\n')));
    }
    case Qt::TextAlignmentRole:
        if (column == ResultsColumn::Payment)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kResultsColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return resultsHeading(ResultsColumn(section));
    if (role == TopHeadingRole)
        return resultsTopHeading(ResultsColumn(section));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}
