#include "ExtraPaymentsEditor.h"

#include "ExtraPaymentsModel.h"
#include "ExtraPaymentsPage.h"

#include "Clock.h"
#include "ExtraPaymentRow.h"
#include "LocaleText.h"
#include "Messages.h"
#include "NumberedError.h"
#include "StoredAmount.h"
#include "WholeNumbers.h"

#include <QApplication>
#include "DateBox.h"
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
#include <QTableView>
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

ExtraPaymentsEditor::ExtraPaymentsEditor(ExtraPaymentsPage& page, const QTabWidget& tabs, Messages& messages,
                                         const Clock& clock, QWidget* window)
    : QObject(window), m_page(page), m_tabs(tabs), m_messages(messages), m_clock(clock), m_window(window)
{
    connect(m_page.cmdAddPayment, &QPushButton::clicked, this, &ExtraPaymentsEditor::addPaymentRow);
    connect(m_page.cmdDeletePayment, &QPushButton::clicked, this, &ExtraPaymentsEditor::deletePayment);
    connect(m_page.flxPayments, &QTableView::clicked, this, [this] { onTableSelection(); });
    connect(m_page.flxPayments->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { onTableSelection(); });

    // A click on an option, and a selection made in code, both run the
    // option's handler; running it twice for one click changes nothing more.
    connect(m_page.optType0, &QRadioButton::toggled, this, [this](bool on) { if (on) onTypeClicked(true); });
    connect(m_page.optType1, &QRadioButton::toggled, this, [this](bool on) { if (on) onTypeClicked(false); });
    connect(m_page.optType0, &QRadioButton::clicked, this, [this] { onTypeClicked(true); });
    connect(m_page.optType1, &QRadioButton::clicked, this, [this] { onTypeClicked(false); });

    for (DateBox* box : {m_page.dtBeginDate, m_page.dtEndDate})
        connect(box, &DateBox::typedDateRefused, this, [this, box] {
            // A click on a tab takes the focus before it changes the tab:
            // judge once the click has had its effect. A page the user has
            // left shows the row's date again; the row keeps it.
            if (!clickOnTheTabs(m_leaveReason)) {
                emit typedDateRefused(box);
                return;
            }
            QMetaObject::invokeMethod(this, [this, box] {
                if (pageLeft()) box->setDate(box->date());
                else emit typedDateRefused(box);
            }, Qt::QueuedConnection);
        });
    m_page.dtBeginDate->installEventFilter(this);
    m_page.dtEndDate->installEventFilter(this);
    m_page.txtXPaymentAmount->installEventFilter(this);
}

const std::vector<ExtraPaymentRow>& ExtraPaymentsEditor::rows() const
{
    return m_page.payments->rows();
}

void ExtraPaymentsEditor::selectTableRow(int row)
{
    m_selectingInCode = true;
    QTableView* table = m_page.flxPayments;
    if (row >= 0) {
        table->setCurrentIndex(m_page.payments->index(row, ExtraPaymentsModel::Type));
    } else {
        table->clearSelection();
        table->setCurrentIndex(QModelIndex());
    }
    m_selectingInCode = false;
}

void ExtraPaymentsEditor::setAmountBoxGreyed(bool greyed)
{
    QPalette pal = m_page.txtXPaymentAmount->palette();
    const QPalette system = QApplication::palette();
    const QColor ground = greyed ? system.color(QPalette::Button) : system.color(QPalette::Base);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, ground);
    m_page.txtXPaymentAmount->setPalette(pal);
}

void ExtraPaymentsEditor::clearPaymentEntry()
{
    const QDate today = m_clock.today();
    m_page.optType1->setChecked(true);
    m_page.fraType->setEnabled(false);
    m_page.dtBeginDate->setDate(today);
    m_page.dtBeginDate->setEnabled(false);
    m_page.dtEndDate->setDate(today);
    m_page.dtEndDate->setEnabled(false);
    m_page.txtXPaymentAmount->setText(QString());
    m_page.txtXPaymentAmount->setEnabled(false);
    setAmountBoxGreyed(true);
}

void ExtraPaymentsEditor::clear()
{
    m_page.payments->clear();
    clearPaymentEntry();
    m_page.cmdDeletePayment->setEnabled(false);
}

void ExtraPaymentsEditor::enablePaymentEntry(bool lumpSum)
{
    if (lumpSum)
        m_page.optType0->setChecked(true);
    else
        m_page.optType1->setChecked(true);
    m_page.fraType->setEnabled(true);
    m_page.dtBeginDate->setEnabled(true);
    m_page.dtEndDate->setEnabled(true);
    m_page.txtXPaymentAmount->setEnabled(true);
    setAmountBoxGreyed(false);
}

void ExtraPaymentsEditor::showSelectedPayment()
{
    const int r = m_currentRow;
    bool lumpSum = false;
    if (r >= 0 && r < m_page.payments->rowCount()) {
        const ExtraPaymentRow& payment = m_page.payments->row(r);
        if (payment.kind == engine::ExtraPaymentKind::LumpSum) {
            lumpSum = true;
            m_page.optType0->setChecked(true);
        } else {
            m_page.optType1->setChecked(true);
            if (payment.stop)
                m_page.dtEndDate->setDate(*payment.stop);
        }
        // The option's handler may have changed the row: read it again.
        m_page.dtBeginDate->setDate(m_page.payments->row(r).start);
        m_page.txtXPaymentAmount->setText(m_page.payments->text(r, ExtraPaymentsModel::Amount));
    }
    enablePaymentEntry(lumpSum);
}

void ExtraPaymentsEditor::addPaymentRow()
{
    ExtraPaymentsModel* model = m_page.payments;
    if (model->rowCount() >= kMaxRows) {
        // The row count is a 16-bit number; one more would overflow.
        m_messages.critical(m_window, overflowText());
        return;
    }
    const QDate today = m_clock.today();
    m_page.dtBeginDate->setDate(today);
    m_page.dtEndDate->setDate(today);

    const int row = model->addRow(m_page.dtBeginDate->date(), m_page.dtEndDate->date());
    m_page.txtXPaymentAmount->setText(QStringLiteral("0.00"));

    selectTableRow(row);
    m_currentRow = row;
    m_rowSelected = true;
    enablePaymentEntry(false);
    m_page.cmdDeletePayment->setEnabled(true);
    emit edited();
}

void ExtraPaymentsEditor::deletePayment()
{
    if (!m_rowSelected)
        return;
    emit edited();
    ExtraPaymentsModel* model = m_page.payments;
    if (model->rowCount() >= 2) {
        const int removed = m_currentRow;
        m_selectingInCode = true;
        model->removeRow(removed);
        m_selectingInCode = false;
        // The row that moved up into the removed one's place, or the new last row.
        const int next = std::min(removed, model->rowCount() - 1);
        selectTableRow(next);
        m_currentRow = next;
        showSelectedPayment();
        return;
    }
    selectTableRow(-1);
    model->clear();
    m_rowSelected = false;
    m_currentRow = -1;
    clearPaymentEntry();
    m_page.cmdDeletePayment->setEnabled(false);
    m_page.cmdAddPayment->setFocus();
}

void ExtraPaymentsEditor::onTableSelection()
{
    if (m_selectingInCode)
        return;
    const int row = m_page.flxPayments->currentIndex().row();
    if (row < 0)
        return;
    m_rowSelected = true;
    m_currentRow = row;
    showSelectedPayment();
}

void ExtraPaymentsEditor::onTypeClicked(bool lumpSum)
{
    const int r = m_currentRow;
    emit edited();
    if (lumpSum) {
        if (r >= 0)
            m_page.payments->setKind(r, engine::ExtraPaymentKind::LumpSum);
        m_page.dtEndDate->hide();
        m_page.lblEndDate->hide();
    } else {
        if (r >= 0) {
            m_page.payments->setKind(r, engine::ExtraPaymentKind::Repeating);
            if (!m_page.payments->row(r).stop)
                m_page.payments->setStop(r, m_page.dtEndDate->date());
        }
        m_page.dtEndDate->show();
        m_page.lblEndDate->show();
    }
}

void ExtraPaymentsEditor::onDateLeft(bool start)
{
    const int r = m_currentRow;
    if (r < 0)
        return;
    ExtraPaymentsModel* model = m_page.payments;
    const QDate picked = (start ? m_page.dtBeginDate : m_page.dtEndDate)->date();
    if (start) {
        if (model->row(r).start == picked)
            return;
        model->setStart(r, picked);
    } else {
        // A lump sum has no stop date (its end date field is hidden).
        if (model->row(r).kind == engine::ExtraPaymentKind::LumpSum || model->row(r).stop == picked)
            return;
        model->setStop(r, picked);
    }
    emit edited();
}

DateBox* ExtraPaymentsEditor::takeTypedDates()
{
    for (DateBox* box : {m_page.dtBeginDate, m_page.dtEndDate}) {
        if (!box->isEnabled() || box->isHidden() || box->showsDate())
            continue;
        if (!box->takeTypedDate())
            return box;
        onDateLeft(box == m_page.dtBeginDate);
    }
    return nullptr;
}

void ExtraPaymentsEditor::onAmountLeft()
{
    const int r = m_currentRow;
    if (r < 0 || m_checkingAmount)
        return;
    QLineEdit* box = m_page.txtXPaymentAmount;
    if (const auto amount = typedAmount(box->text())) {
        // Unchanged when the cell would show the same text.
        if (m_page.payments->text(r, ExtraPaymentsModel::Amount) != extraPaymentAmountText(*amount)) {
            m_page.payments->setAmount(r, *amount);
            emit edited();
        }
        return;
    }
    // Leaving the tab moves the focus out while the box is still enabled and
    // shown, but the tab control already names the new tab: that is the box
    // being disabled under the user, not the user leaving it.
    if (box->isEnabled() && box->isVisible() && !pageLeft()) {
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

bool ExtraPaymentsEditor::pageLeft() const
{
    const QWidget* current = m_tabs.currentWidget();
    return !current || !(current == m_page.page || current->isAncestorOf(m_page.page));
}

bool ExtraPaymentsEditor::clickOnTheTabs(Qt::FocusReason reason) const
{
    const QWidget* bar = m_tabs.tabBar();
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
            m_leaveReason = reason;
            // Let the field finish its own editing first (a date picker fixes
            // up a half-typed date on focus loss), then read its value.
            watched->event(event);
            if (watched == m_page.dtBeginDate)
                onDateLeft(true);
            else if (watched == m_page.dtEndDate)
                onDateLeft(false);
            else if (watched == m_page.txtXPaymentAmount && clickOnTheTabs(reason))
                // A click on a tab takes the focus (to the tab bar, or to the
                // window around it) before it changes the tab: judge the
                // amount once the click has had its effect.
                QMetaObject::invokeMethod(this, &ExtraPaymentsEditor::onAmountLeft, Qt::QueuedConnection);
            else if (watched == m_page.txtXPaymentAmount)
                onAmountLeft();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ExtraPaymentsEditor::setInputsEnabled(bool enabled)
{
    for (QWidget* input : {static_cast<QWidget*>(m_page.cmdAddPayment), static_cast<QWidget*>(m_page.cmdDeletePayment),
                           static_cast<QWidget*>(m_page.cmdRecalculate), static_cast<QWidget*>(m_page.fraType),
                           static_cast<QWidget*>(m_page.dtBeginDate), static_cast<QWidget*>(m_page.dtEndDate),
                           static_cast<QWidget*>(m_page.txtXPaymentAmount), static_cast<QWidget*>(m_page.flxPayments),
                           static_cast<QWidget*>(m_page.chkSuppressFuture)})
        input->setEnabled(enabled);
}

std::optional<QString> ExtraPaymentsEditor::loadRecords(const std::vector<ExtraPaymentRecord>& records, bool whole)
{
    ExtraPaymentsModel* model = m_page.payments;
    if (records.empty() && whole) {
        selectTableRow(-1);
        model->clear();
        m_currentRow = -1;
        m_rowSelected = false;
        clearPaymentEntry();
        m_page.cmdDeletePayment->setEnabled(false);
        return std::nullopt;
    }
    // A row that cannot be shown whole is not shown: the rows before it are.
    std::vector<ExtraPaymentRow> rows;
    rows.reserve(std::min(records.size(), size_t(kMaxRows)));
    std::optional<QString> error;
    for (const auto& record : records) {
        if (rows.size() >= size_t(kMaxRows)) {
            error = overflowText();
            break;
        }
        const bool lumpSum = record.kind == engine::ExtraPaymentKind::LumpSum;
        if (!record.start || (!lumpSum && !record.stop) || !record.amount) {
            error = nullError();
            break;
        }
        if (!showableAmount(*record.amount)) {
            error = overflowText() + QStringLiteral(": the stored amount %1 of extra payment %2 is larger than %3, the "
                                                    "largest amount this window can show")
                                         .arg(QString::number(*record.amount, 'g', 17))
                                         .arg(rows.size() + 1)
                                         .arg(LocaleText::groupedAmount(kLargestStoredAmount));
            break;
        }
        ExtraPaymentRow row;
        row.kind = lumpSum ? engine::ExtraPaymentKind::LumpSum : engine::ExtraPaymentKind::Repeating;
        row.start = *record.start;
        if (!lumpSum)
            row.stop = *record.stop;
        // As the table shows it: to the cent.
        row.amount = shownAmount(*record.amount);
        rows.push_back(row);
    }
    model->setLoadedRows(std::move(rows));
    if (error || !whole)
        return error;
    selectTableRow(0);
    m_currentRow = 0;
    m_rowSelected = true;
    showSelectedPayment();
    return std::nullopt;
}
