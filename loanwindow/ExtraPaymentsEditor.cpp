#include "ExtraPaymentsEditor.h"

#include "Clock.h"
#include "ExtraPaymentRow.h"
#include "LocaleText.h"
#include "Messages.h"
#include "NumberedError.h"
#include "WholeNumbers.h"

#include <QApplication>
#include <QDateEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QCheckBox>

namespace {

// The row count is a 16-bit number.
constexpr int kMaxRows = engine::kSixteenBitMax;

QString nullError()
{
    return QString::fromStdString(engine::invalidUseOfNullError().text());
}

QString overflowText()
{
    return QString::fromStdString(engine::overflowError().text());
}

}  // namespace

ExtraPaymentsEditor::ExtraPaymentsEditor(frmLoan::Ui& ui, Messages& messages, const Clock& clock,
                                         QWidget* window)
    : QObject(window), m_ui(ui), m_messages(messages), m_clock(clock), m_window(window)
{
    connect(m_ui.cmdAddPayment, &QPushButton::clicked, this, &ExtraPaymentsEditor::addPaymentRow);
    connect(m_ui.cmdDeletePayment, &QPushButton::clicked, this, &ExtraPaymentsEditor::deletePayment);
    connect(m_ui.flxPayments, &QTableWidget::cellClicked, this, [this] { onTableSelection(); });
    connect(m_ui.flxPayments, &QTableWidget::currentCellChanged, this, [this] { onTableSelection(); });

    // A click on an option, and a selection made in code, both run the
    // option's handler; running it twice for one click changes nothing more.
    connect(m_ui.optType0, &QRadioButton::toggled, this, [this](bool on) { if (on) onTypeClicked(0); });
    connect(m_ui.optType1, &QRadioButton::toggled, this, [this](bool on) { if (on) onTypeClicked(1); });
    connect(m_ui.optType0, &QRadioButton::clicked, this, [this] { onTypeClicked(0); });
    connect(m_ui.optType1, &QRadioButton::clicked, this, [this] { onTypeClicked(1); });

    m_ui.dtBeginDate->installEventFilter(this);
    m_ui.dtEndDate->installEventFilter(this);
    m_ui.txtXPaymentAmount->installEventFilter(this);
}

QString ExtraPaymentsEditor::cell(int row, int column) const
{
    if (row < 1 || row > m_ui.flxPayments->rowCount())
        return {};
    const QTableWidgetItem* item = m_ui.flxPayments->item(row - 1, column);
    return item ? item->text() : QString();
}

void ExtraPaymentsEditor::setCell(int row, int column, const QString& text)
{
    QTableWidgetItem* item = m_ui.flxPayments->item(row - 1, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignCenter);
        m_ui.flxPayments->setItem(row - 1, column, item);
    }
    item->setText(text);
}

void ExtraPaymentsEditor::selectTableRow(int row)
{
    m_selectingInCode = true;
    if (row > 0) {
        m_ui.flxPayments->setCurrentCell(row - 1, 1);
    } else {
        m_ui.flxPayments->clearSelection();
        m_ui.flxPayments->setCurrentCell(-1, -1);
    }
    m_selectingInCode = false;
}

void ExtraPaymentsEditor::setAmountBoxGreyed(bool greyed)
{
    QPalette pal = m_ui.txtXPaymentAmount->palette();
    const QPalette system = QApplication::palette();
    const QColor ground = greyed ? system.color(QPalette::Button) : system.color(QPalette::Base);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, ground);
    m_ui.txtXPaymentAmount->setPalette(pal);
}

void ExtraPaymentsEditor::clearPaymentEntry()
{
    const QDate today = m_clock.today();
    m_ui.optType1->setChecked(true);
    m_ui.fraType->setEnabled(false);
    m_ui.dtBeginDate->setDate(today);
    m_ui.dtBeginDate->setEnabled(false);
    m_ui.dtEndDate->setDate(today);
    m_ui.dtEndDate->setEnabled(false);
    m_ui.txtXPaymentAmount->setText(QString());
    m_ui.txtXPaymentAmount->setEnabled(false);
    setAmountBoxGreyed(true);
}

void ExtraPaymentsEditor::enablePaymentEntry(const QString& typeLetter)
{
    if (typeLetter == QLatin1String("L"))
        m_ui.optType0->setChecked(true);
    else
        m_ui.optType1->setChecked(true);
    m_ui.fraType->setEnabled(true);
    m_ui.dtBeginDate->setEnabled(true);
    m_ui.dtEndDate->setEnabled(true);
    m_ui.txtXPaymentAmount->setEnabled(true);
    setAmountBoxGreyed(false);
}

void ExtraPaymentsEditor::showSelectedPayment()
{
    const int r = m_currentRow;
    QString letter;
    if (!cell(r, 1).isEmpty()) {
        if (cell(r, 1) == QLatin1String("L")) {
            letter = QStringLiteral("L");
            m_ui.optType0->setChecked(true);
        } else {
            letter = QStringLiteral("R");
            m_ui.optType1->setChecked(true);
            if (const auto stop = cellDate(cell(r, 3)))
                m_ui.dtEndDate->setDate(*stop);
        }
        if (const auto start = cellDate(cell(r, 2)))
            m_ui.dtBeginDate->setDate(*start);
        m_ui.txtXPaymentAmount->setText(cell(r, 4));
    }
    enablePaymentEntry(letter);
}

void ExtraPaymentsEditor::addPaymentRow()
{
    auto* table = m_ui.flxPayments;
    if (table->rowCount() >= kMaxRows) {
        // The row count is a 16-bit number; one more would overflow.
        m_messages.critical(m_window, overflowText());
        return;
    }
    const QDate today = m_clock.today();
    m_ui.dtBeginDate->setDate(today);
    m_ui.dtEndDate->setDate(today);

    const int row = table->rowCount() + 1;
    table->setRowCount(row);
    setCell(row, 1, QStringLiteral("R"));
    setCell(row, 2, LocaleText::shortDateText(m_ui.dtBeginDate->date()));
    setCell(row, 3, LocaleText::shortDateText(m_ui.dtEndDate->date()));
    setCell(row, 4, QStringLiteral("0.00"));
    m_ui.txtXPaymentAmount->setText(QStringLiteral("0.00"));

    selectTableRow(row);
    m_currentRow = row;
    m_rowSelected = true;
    enablePaymentEntry(QStringLiteral("R"));
    m_ui.cmdDeletePayment->setEnabled(true);
    emit edited();
}

void ExtraPaymentsEditor::deletePayment()
{
    if (!m_rowSelected)
        return;
    emit edited();
    auto* table = m_ui.flxPayments;
    if (table->rowCount() >= 2) {
        const int removed = m_currentRow;
        m_selectingInCode = true;
        table->removeRow(removed - 1);
        m_selectingInCode = false;
        // The row that moved up into the removed one's place, or the new last row.
        const int next = std::min(removed, table->rowCount());
        selectTableRow(next);
        m_currentRow = next;
        showSelectedPayment();
        return;
    }
    for (int column = 0; column < 5; ++column)
        setCell(1, column, QString());
    selectTableRow(0);
    table->setRowCount(0);
    m_rowSelected = false;
    m_currentRow = 0;
    clearPaymentEntry();
    m_ui.cmdDeletePayment->setEnabled(false);
    m_ui.cmdAddPayment->setFocus();
}

void ExtraPaymentsEditor::onTableSelection()
{
    if (m_selectingInCode)
        return;
    const int row = m_ui.flxPayments->currentRow();
    if (row < 0)
        return;
    m_rowSelected = true;
    m_currentRow = row + 1;
    showSelectedPayment();
}

void ExtraPaymentsEditor::onTypeClicked(int index)
{
    const int r = m_currentRow;
    emit edited();
    if (index == 0) {
        if (r > 0) {
            setCell(r, 1, QStringLiteral("L"));
            setCell(r, 3, QString());
        }
        m_ui.dtEndDate->hide();
        m_ui.lblEndDate->hide();
    } else {
        if (r > 0) {
            setCell(r, 1, QStringLiteral("R"));
            if (cell(r, 3).isEmpty())
                setCell(r, 3, LocaleText::shortDateText(m_ui.dtEndDate->date()));
        }
        m_ui.dtEndDate->show();
        m_ui.lblEndDate->show();
    }
}

void ExtraPaymentsEditor::onDateLeft(int column)
{
    const int r = m_currentRow;
    if (r <= 0)
        return;
    const QDate picked = (column == 2 ? m_ui.dtBeginDate : m_ui.dtEndDate)->date();
    if (cellDate(cell(r, column)) == picked)
        return;
    setCell(r, column, LocaleText::shortDateText(picked));
    emit edited();
}

void ExtraPaymentsEditor::onAmountLeft()
{
    const int r = m_currentRow;
    if (r <= 0 || m_checkingAmount)
        return;
    QLineEdit* box = m_ui.txtXPaymentAmount;
    if (const auto text = typedAmountText(box->text())) {
        if (cell(r, 4) != *text) {
            setCell(r, 4, *text);
            emit edited();
        }
        return;
    }
    // Leaving the tab moves the focus out while the box is still enabled and
    // shown, but the tab control already names the new tab: that is the box
    // being disabled under the user, not the user leaving it.
    const bool tabLeft = m_ui.tabLoan->currentIndex() != 1;
    if (box->isEnabled() && box->isVisible() && !tabLeft) {
        m_checkingAmount = true;
        m_messages.warning(m_window, QStringLiteral("Amount must be numeric"));
        emit edited();
        box->setFocus();
        m_checkingAmount = false;
        return;
    }
    // The box was disabled or hidden under the user (the tab was left): no
    // message for a field the user can no longer see; the row keeps its amount.
    box->setText(QStringLiteral("0"));
}

bool ExtraPaymentsEditor::clickOnTheTabs(Qt::FocusReason reason) const
{
    const QWidget* bar = m_ui.tabLoan->tabBar();
    const QWidget* to = QApplication::focusWidget();
    return reason == Qt::MouseFocusReason && to && (to == bar || to->isAncestorOf(bar));
}

bool ExtraPaymentsEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Opening the calendar or a context menu, or switching to another
        // application, is not leaving the field.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            // Let the field finish its own editing first (a date picker fixes
            // up a half-typed date on focus loss), then read its value.
            watched->event(event);
            if (watched == m_ui.dtBeginDate)
                onDateLeft(2);
            else if (watched == m_ui.dtEndDate)
                onDateLeft(3);
            else if (watched == m_ui.txtXPaymentAmount && clickOnTheTabs(reason))
                // A click on a tab takes the focus (to the tab bar, or to the
                // window around it) before it changes the tab: judge the
                // amount once the click has had its effect.
                QMetaObject::invokeMethod(this, &ExtraPaymentsEditor::onAmountLeft, Qt::QueuedConnection);
            else if (watched == m_ui.txtXPaymentAmount)
                onAmountLeft();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ExtraPaymentsEditor::setInputsEnabled(bool enabled)
{
    for (QWidget* input : {static_cast<QWidget*>(m_ui.cmdAddPayment), static_cast<QWidget*>(m_ui.cmdDeletePayment),
                           static_cast<QWidget*>(m_ui.cmdRecalculate), static_cast<QWidget*>(m_ui.fraType),
                           static_cast<QWidget*>(m_ui.dtBeginDate), static_cast<QWidget*>(m_ui.dtEndDate),
                           static_cast<QWidget*>(m_ui.txtXPaymentAmount), static_cast<QWidget*>(m_ui.flxPayments),
                           static_cast<QWidget*>(m_ui.chkSuppressFuture)})
        input->setEnabled(enabled);
}

std::vector<ExtraPaymentTexts> ExtraPaymentsEditor::rows() const
{
    std::vector<ExtraPaymentTexts> out;
    const int count = m_ui.flxPayments->rowCount();
    out.reserve(size_t(count));
    for (int row = 1; row <= count; ++row)
        out.push_back({cell(row, 1), cell(row, 2), cell(row, 3), cell(row, 4)});
    return out;
}

std::optional<QString> ExtraPaymentsEditor::loadRecords(const std::vector<ExtraPaymentRecord>& records, bool whole)
{
    auto* table = m_ui.flxPayments;
    if (records.empty() && whole) {
        selectTableRow(0);
        table->setRowCount(0);
        m_currentRow = 0;
        m_rowSelected = false;
        clearPaymentEntry();
        m_ui.cmdDeletePayment->setEnabled(false);
        return std::nullopt;
    }
    table->setRowCount(0);
    int row = 1;
    for (const auto& record : records) {
        if (row > kMaxRows)
            return overflowText();
        table->setRowCount(row);
        setCell(row, 0, QString::number(row));
        if (!record.start)
            return nullError();
        setCell(row, 2, extraPaymentDateText(*record.start));
        const bool lumpSum = record.kind == engine::ExtraPaymentKind::LumpSum;
        setCell(row, 1, extraPaymentTypeText(record.kind));
        if (lumpSum) {
            setCell(row, 3, QString());
        } else {
            if (!record.stop)
                return nullError();
            setCell(row, 3, extraPaymentDateText(*record.stop));
        }
        if (!record.amount)
            return nullError();
        setCell(row, 4, extraPaymentAmountText(*record.amount));
        ++row;
    }
    if (!whole)
        return std::nullopt;
    selectTableRow(1);
    m_currentRow = 1;
    m_rowSelected = true;
    showSelectedPayment();
    return std::nullopt;
}
