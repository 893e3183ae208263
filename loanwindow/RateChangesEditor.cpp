#include "RateChangesEditor.h"

#include "RateChangesModel.h"
#include "RateChangesPage.h"

#include "Clock.h"
#include "LocaleText.h"
#include "Messages.h"
#include "NumberedError.h"
#include "WholeNumbers.h"

#include "DateBox.h"
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <cmath>

RateChangesEditor::RateChangesEditor(RateChangesPage& page, const QTabWidget& tabs, Messages& messages,
                                     const Clock& clock, std::function<double()> loanRate, QWidget* window)
    : QObject(window), m_page(page), m_tabs(tabs), m_messages(messages), m_clock(clock),
      m_loanRate(std::move(loanRate)), m_window(window)
{
    connect(m_page.cmdAddRateChange, &QPushButton::clicked, this, &RateChangesEditor::addRow);
    connect(m_page.cmdDeleteRateChange, &QPushButton::clicked, this, &RateChangesEditor::deleteRow);
    connect(m_page.flxRateChanges->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { onSelection(); });
    connect(m_page.cboRateMode, &QComboBox::activated, this, &RateChangesEditor::onModeChosen);
    connect(m_page.dtRateFrom, &DateBox::dateChanged, this, [this] { onDateTaken(); });
    connect(m_page.dtRateFrom, &DateBox::typedDateRefused, this, [this] {
        // A page the user has left shows the row's date again; the row keeps it.
        if (pageLeft()) m_page.dtRateFrom->setDate(m_page.dtRateFrom->date());
        else emit typedDateRefused(m_page.dtRateFrom);
    });
    m_page.txtNewRate->installEventFilter(this);
    clear();
}

const std::vector<RateChangeRow>& RateChangesEditor::rows() const
{
    return m_page.rateChanges->rows();
}

void RateChangesEditor::selectRow(int row)
{
    m_showing = true;
    if (row >= 0) {
        m_page.flxRateChanges->setCurrentIndex(m_page.rateChanges->index(row, RateChangesModel::From));
    } else {
        m_page.flxRateChanges->clearSelection();
        m_page.flxRateChanges->setCurrentIndex(QModelIndex());
    }
    m_showing = false;
    m_currentRow = row;
    showRow();
}

void RateChangesEditor::enableFields(bool enabled)
{
    for (QWidget* field : {static_cast<QWidget*>(m_page.dtRateFrom), static_cast<QWidget*>(m_page.txtNewRate),
                           static_cast<QWidget*>(m_page.cboRateMode),
                           static_cast<QWidget*>(m_page.cmdDeleteRateChange)})
        field->setEnabled(enabled);
}

void RateChangesEditor::showRow()
{
    m_showing = true;
    if (m_currentRow >= 0) {
        const RateChangeRow& row = m_page.rateChanges->row(m_currentRow);
        const RateChangeTexts texts = rateChangeTexts(row);
        m_page.dtRateFrom->setDate(row.from);
        m_page.txtNewRate->setText(texts.rate);
        m_page.cboRateMode->setCurrentIndex(int(row.mode));
    } else {
        m_page.dtRateFrom->setDate(m_clock.today());
        m_page.txtNewRate->clear();
        m_page.cboRateMode->setCurrentIndex(0);
    }
    m_showing = false;
    enableFields(m_currentRow >= 0);
}

void RateChangesEditor::clear()
{
    m_page.rateChanges->setRows({});
    selectRow(-1);
}

void RateChangesEditor::addRow()
{
    RateChangesModel* model = m_page.rateChanges;
    if (model->rowCount() >= engine::kSixteenBitMax) {
        m_messages.critical(m_window, QString::fromStdString(engine::overflowError().text()));
        return;
    }
    const double rate = m_loanRate ? m_loanRate() : 0.0;
    const int row = model->addRow({m_clock.today(), std::isfinite(rate) && rate >= 0.0 ? rate : 0.0,
                                   engine::RateChangeMode::NewPayment});
    selectRow(row);
    m_page.dtRateFrom->setFocus(Qt::OtherFocusReason);
    emit edited();
}

void RateChangesEditor::deleteRow()
{
    if (m_currentRow < 0)
        return;
    const int removed = m_currentRow;
    m_currentRow = -1;  // nothing the fields show is read into a row that goes
    m_showing = true;
    m_page.rateChanges->removeRow(removed);
    m_showing = false;
    selectRow(std::min(removed, m_page.rateChanges->rowCount() - 1));
    if (m_currentRow < 0)
        m_page.cmdAddRateChange->setFocus();
    emit edited();
}

void RateChangesEditor::onSelection()
{
    if (m_showing)
        return;
    const int row = m_page.flxRateChanges->currentIndex().row();
    if (row < 0 || row == m_currentRow)
        return;
    m_currentRow = row;
    showRow();
}

void RateChangesEditor::onDateTaken()
{
    if (m_showing || m_currentRow < 0)
        return;
    RateChangeRow row = m_page.rateChanges->row(m_currentRow);
    if (row.from == m_page.dtRateFrom->date())
        return;
    row.from = m_page.dtRateFrom->date();
    m_page.rateChanges->setRow(m_currentRow, row);
    emit edited();
}

void RateChangesEditor::onModeChosen(int index)
{
    if (m_currentRow < 0)
        return;
    RateChangeRow row = m_page.rateChanges->row(m_currentRow);
    const auto mode = index == 1 ? engine::RateChangeMode::SamePayment : engine::RateChangeMode::NewPayment;
    if (row.mode == mode)
        return;
    row.mode = mode;
    m_page.rateChanges->setRow(m_currentRow, row);
    emit edited();
}

bool RateChangesEditor::readRate(bool leaving)
{
    const int r = m_currentRow;
    if (r < 0 || m_checkingRate)
        return true;
    QLineEdit* box = m_page.txtNewRate;
    const auto read = rateChangeRowsFromTexts(m_page.rateChanges->textsWithRate(r, box->text()));
    if (const auto* rows = std::get_if<std::vector<RateChangeRow>>(&read)) {
        const RateChangeRow& typed = (*rows)[size_t(r)];
        if (rateChangeTexts(typed).rate != rateChangeTexts(m_page.rateChanges->row(r)).rate) {
            m_page.rateChanges->setRow(r, typed);
            emit edited();
        }
        return true;
    }
    if (leaving && pageLeft()) {
        // The page was left: no message for a field the user can no longer
        // see; the row keeps its rate and the box shows it again.
        box->setText(rateChangeTexts(m_page.rateChanges->row(r)).rate);
        return true;
    }
    m_checkingRate = true;
    m_messages.warning(m_window, std::get<RateChangeProblem>(read).message);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    m_checkingRate = false;
    return false;
}

DateBox* RateChangesEditor::takeTypedDate()
{
    DateBox* box = m_page.dtRateFrom;
    if (m_currentRow < 0 || box->showsDate())
        return nullptr;
    return box->takeTypedDate() ? nullptr : box;
}

bool RateChangesEditor::takeTypedRate()
{
    return readRate(false);
}

void RateChangesEditor::focusField(int row, RateChangeColumn column)
{
    if (row < 0 || row >= m_page.rateChanges->rowCount())
        return;
    selectRow(row);
    QWidget* field = column == RateChangeColumn::From   ? static_cast<QWidget*>(m_page.dtRateFrom)
                     : column == RateChangeColumn::Rate ? static_cast<QWidget*>(m_page.txtNewRate)
                                                        : static_cast<QWidget*>(m_page.cboRateMode);
    field->setFocus(Qt::OtherFocusReason);
}

bool RateChangesEditor::pageLeft() const
{
    const QWidget* current = m_tabs.currentWidget();
    return !current || !(current == m_page.page || current->isAncestorOf(m_page.page));
}

bool RateChangesEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_page.txtNewRate && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Opening a context menu or switching to another application is not
        // leaving the field.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            watched->event(event);
            // A click on a tab takes the focus before it changes the tab:
            // judge the rate once the click has had its effect.
            if (reason == Qt::MouseFocusReason)
                QMetaObject::invokeMethod(this, [this] { readRate(true); }, Qt::QueuedConnection);
            else
                readRate(true);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

std::optional<QString> RateChangesEditor::loadRecords(const std::vector<RateChangeRecord>& records, bool whole)
{
    std::vector<RateChangeRow> rows;
    std::optional<QString> error;
    for (const RateChangeRecord& record : records) {
        if (!record.from || !record.annualPercent || !record.mode) {
            error = QString::fromStdString(engine::invalidUseOfNullError().text());
            break;
        }
        if (*record.mode != 0 && *record.mode != 1) {
            error = QString::fromStdString(engine::invalidPropertyValueError().text()) +
                    QStringLiteral(": rate change %1 is stored with the payment rule %2, which this program does not "
                                   "know")
                        .arg(rows.size() + 1)
                        .arg(*record.mode);
            break;
        }
        rows.push_back({*record.from, *record.annualPercent, engine::RateChangeMode(*record.mode)});
    }
    // A stored date or rate a typed one could not be (a negative rate, say).
    if (const auto problem = rateChangeRowsProblem(rows)) {
        rows.resize(size_t(problem->row));
        error = QString::fromStdString(engine::invalidPropertyValueError().text()) + QStringLiteral(": ") +
                problem->message;
    }
    m_page.rateChanges->setRows(std::move(rows));
    selectRow(!error && whole && m_page.rateChanges->rowCount() > 0 ? 0 : -1);
    return error;
}
