#include "frmLoan.h"

#include "DisplayText.h"
#include "BoxLimit.h"
#include "LoanResult.h"

#include "AmortizationTablePage.h"
#include "BalancePage.h"
#include "Clock.h"
#include "ExtraPaymentsModel.h"
#include "ExtraPaymentsPage.h"
#include "FormulasPage.h"
#include "LoanForm.h"
#include "LoanInformationPage.h"
#include "LocaleText.h"
#include "Messages.h"
#include "RateChangesModel.h"
#include "RateChangesPage.h"
#include "SkippedPaymentsPage.h"
#include "RowEditor.h"
#include "ResultsModel.h"
#include "SavingsSummaryPage.h"
#include "SummaryChart.h"
#include "SummaryGraphPage.h"
#include "YearlyModel.h"

#include <QCheckBox>
#include <QShortcut>
#include <QCloseEvent>
#include <QComboBox>
#include "DateBox.h"
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// 8000 x 5550 twips at 15 twips a pixel.
constexpr int kWindowWidth = 533;
constexpr int kWindowHeight = 370;

// Below its designed size a page scrolls rather than squash its controls.
QScrollArea* scrolling(QWidget* page)
{
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

}  // namespace

frmLoan::frmLoan(LoanStore& store, Messages& messages, const Clock& clock, QWidget* parent)
    : QWidget(parent), m_store(store), m_messages(messages), m_clock(clock)
{
    setObjectName(QStringLiteral("frmLoan"));
    setWindowTitle(QStringLiteral("Untitled"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    setPalette(pal);

    // A small font, as the window was designed for; the tab captions then
    // fit the window's width (scroll buttons reach the rest when it is narrow).
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabLoan"));
    QFont tabFont = small;
    tabFont.setStretch(QFont::Condensed);
    m_tabs->tabBar()->setFont(tabFont);
    // On the bar alone: a style sheet on the tab widget would style every
    // widget of every page through the style sheet engine, a third of a
    // window's memory.
    m_tabs->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
    m_tabs->setUsesScrollButtons(true);
    layout->addWidget(m_tabs);
    addPages();

    m_form = new LoanForm(*m_loanInformation, this);
    for (QLineEdit* box : {m_loanInformation->txtLoan, m_loanInformation->txtInterestRate, m_loanInformation->txtTerm,
                           m_loanInformation->txtLoanAmount, m_loanInformation->txtPaymentAmount,
                           m_loanInformation->txtFees, m_loanInformation->txtPoints,
                           m_loanInformation->txtInterestOnly, m_loanInformation->txtBalloonAfter,
                           m_extraPayments->txtXPaymentAmount, m_rateChanges->txtNewRate,
                           m_skippedPayments->txtSkipCount})
        limitBox(box, m_messages, this);
    connect(m_loanInformation->txtLoan, &QLineEdit::textChanged, this,
            [this](const QString& text) { setWindowTitle(DisplayText::caption(text)); });
    connect(m_loanInformation->dtStartDate, &DateBox::typedDateRefused, this,
            [this] { refuseTypedDate(m_loanInformation->dtStartDate, QStringLiteral("Date of First Payment")); });
    connect(m_loanInformation->dtLoanDate, &DateBox::typedDateRefused, this,
            [this] { refuseTypedDate(m_loanInformation->dtLoanDate, QStringLiteral("Loan Date")); });
    for (const auto& [editor, page] : {std::pair{m_extraPayments->editor, m_extraPayments->page},
                                       std::pair{m_rateChanges->editor, m_rateChanges->page},
                                       std::pair{m_skippedPayments->editor, m_skippedPayments->page}})
        connect(editor, &RowEditor::pageWanted, this, [this, page = page] { showPage(page); });
    // Queued: the refused save (perhaps inside a close prompt) ends first.
    connect(this, &frmLoan::saveAsCopyRequested, this, &frmLoan::saveAsCopy, Qt::QueuedConnection);
    connect(m_tabs, &QTabWidget::currentChanged, this, &frmLoan::onTabChanged);
    for (QPushButton* button : {m_loanInformation->cmdCalculate, m_extraPayments->cmdRecalculate,
                                m_rateChanges->cmdRecalculateRates, m_skippedPayments->cmdRecalculateSkips})
        connect(button, &QPushButton::clicked, this, [this] { CalculateSchedule(); });
    addTabKeys();
    watchChanges();
}

void frmLoan::addPages()
{
    m_loanInformation = std::make_unique<LoanInformationPage>(m_tabs);
    m_extraPayments = std::make_unique<ExtraPaymentsPage>(m_tabs, m_clock, m_messages, this);
    m_amortizationTable = std::make_unique<AmortizationTablePage>(m_tabs);
    m_summaryGraph = std::make_unique<SummaryGraphPage>(m_tabs);
    m_savingsSummary = std::make_unique<SavingsSummaryPage>(m_tabs);
    m_formulas = std::make_unique<FormulasPage>(m_tabs);
    m_balance = std::make_unique<BalancePage>(m_tabs);
    // A new change starts at the loan's own rate, as typed.
    m_rateChanges = std::make_unique<RateChangesPage>(
        m_tabs, m_clock, [this] { return m_form->draft().interestRate.number().value_or(0.0); }, m_messages, this);
    m_skippedPayments = std::make_unique<SkippedPaymentsPage>(m_tabs, m_clock, m_messages, this);
    const std::pair<QWidget*, const char*> pages[] = {
        {m_loanInformation->page, "Loan Information"}, {m_extraPayments->page, "Extra Payments"},
        {m_amortizationTable->page, "Amortization Table"}, {m_summaryGraph->page, "Summary Graph"},
        {m_savingsSummary->page, "Savings Summary"}, {m_formulas->page, "Formulas"},
        {m_balance->page, "Balance"}, {m_rateChanges->page, "Rate Changes"},
        {m_skippedPayments->page, "Skipped Payments"}};
    for (const auto& [page, caption] : pages) {
        // The pages show the window's own grey ground.
        QPalette pagePalette = page->palette();
        pagePalette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
        page->setPalette(pagePalette);
        page->setAutoFillBackground(true);
        m_tabs->addTab(scrolling(page), QString::fromLatin1(caption));
    }
}

frmLoan::~frmLoan() = default;

void frmLoan::watchChanges()
{
    // Every change of a value, typed or written by a run, leaves the window
    // holding what is not stored, until it is saved.
    auto changed = [this] { markChanged(); };
    const LoanInformationPage& loan = *m_loanInformation;
    for (QLineEdit* box : {loan.txtLoan, static_cast<QLineEdit*>(loan.dtStartDate), loan.txtInterestRate,
                           loan.txtTerm, loan.txtLoanAmount, loan.txtPaymentAmount,
                           static_cast<QLineEdit*>(loan.dtLoanDate), loan.txtFees, loan.txtPoints,
                           loan.txtInterestOnly, loan.txtBalloonAfter,
                           static_cast<QLineEdit*>(m_extraPayments->dtBeginDate),
                           static_cast<QLineEdit*>(m_extraPayments->dtEndDate), m_extraPayments->txtXPaymentAmount,
                           static_cast<QLineEdit*>(m_rateChanges->dtRateFrom), m_rateChanges->txtNewRate,
                           static_cast<QLineEdit*>(m_skippedPayments->dtSkipFrom), m_skippedPayments->txtSkipCount})
        connect(box, &QLineEdit::textEdited, this, changed);
    for (DateBox* box : {loan.dtStartDate, loan.dtLoanDate, m_extraPayments->dtBeginDate, m_extraPayments->dtEndDate,
                         m_rateChanges->dtRateFrom, m_skippedPayments->dtSkipFrom})
        connect(box, &DateBox::dateEdited, this, changed);
    for (QComboBox* list : {loan.cboppt, loan.cboTerm, loan.cboCalculate, loan.cboCompounding})
        connect(list, &QComboBox::currentIndexChanged, this, changed);
    connect(loan.txtLoan, &QLineEdit::textChanged, this, changed);
    connect(m_extraPayments->chkSuppressFuture, &QCheckBox::toggled, this, changed);
    for (RowEditor* editor : {m_extraPayments->editor, m_rateChanges->editor, m_skippedPayments->editor})
        connect(editor, &RowEditor::edited, this, changed);
}

void frmLoan::load(int storedKey)
{
    // Typing starts in the description, in a new window and in an opened one
    // (a stored loan that fails its checks moves the focus on below).
    m_loanInformation->txtLoan->setFocus();
    m_loanInformation->cboTerm->setCurrentIndex(0);
    m_key = storedKey;
    m_mode = storedKey != 0 ? 1 : 0;
    bool calculated = false;
    if (m_mode != 1) {
        m_loanInformation->dtStartDate->setDate(m_clock.today());
        for (int tab = 1; tab < m_tabs->count(); ++tab)
            m_tabs->setTabEnabled(tab, false);
    } else {
        loadLoan();
        if (m_loanMissing)
            return;  // said once; the opener discards the window
        loadRows();
        calculated = CalculateSchedule();
    }
    m_extraPayments->setInputsEnabled(false);
    markUnchanged();
    m_tabs->setCurrentIndex(0);
    if (calculated)
        checkStoredChoice();  // a change it makes leaves the window changed

    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->resize(kWindowWidth, kWindowHeight);
    else
        resize(kWindowWidth, kWindowHeight);
}

void frmLoan::onTabChanged(int tab)
{
    // Only the inputs of the page on show take input.
    const int previous = m_previousTab;
    m_previousTab = tab;
    if (previous == 0)
        m_loanInformation->setInputsEnabled(false);
    else if (previous == 1)
        m_extraPayments->setInputsEnabled(false);
    if (tab == 0)
        m_loanInformation->setInputsEnabled(true);
    else if (tab == 1)
        m_extraPayments->setInputsEnabled(true);
    drawShownChart();
}

void frmLoan::showPage(const QWidget* page)
{
    // Each page sits in a scroll area of its own.
    for (int tab = 0; tab < m_tabs->count(); ++tab)
        if (m_tabs->widget(tab)->isAncestorOf(page))
            m_tabs->setCurrentIndex(tab);
}

void frmLoan::addTabKeys()
{
    // The desktop's keys for the next and previous tab, wherever the focus is
    // in this window; the main window keeps Ctrl+F6 for the next window.
    const std::pair<QKeySequence, int> keys[] = {{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                                                 {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                                                 {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                                                 {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
                                                 {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& [key, step] : keys) {
        auto* shortcut = new QShortcut(key, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { stepTab(step); });
    }
}

void frmLoan::stepTab(int step)
{
    // Skips the tabs that wait for a first run.
    const int count = m_tabs->count();
    const int current = m_tabs->currentIndex();
    for (int i = 1; i < count; ++i) {
        const int tab = ((current + step * i) % count + count) % count;
        if (m_tabs->isTabEnabled(tab)) {
            m_tabs->setCurrentIndex(tab);
            return;
        }
    }
}

void frmLoan::drawShownChart()
{
    if (!m_lastResult)
        return;
    // Each page sits in its tab's scroll area.
    QWidget* shown = m_tabs->currentWidget();
    if (shown->isAncestorOf(m_summaryGraph->page) && m_summaryChartStale) {
        m_summaryGraph->showChart(m_lastResult->schedule.summary);
        m_summaryChartStale = false;
    } else if (shown->isAncestorOf(m_balance->page) && m_balanceChartStale) {
        m_balance->showSchedule(m_lastResult->schedule);
        m_balanceChartStale = false;
    }
}

bool frmLoan::showsYearlyTable() const
{
    return m_amortizationTable->showsYears();
}

QString frmLoan::description() const
{
    return m_loanInformation->txtLoan->text();
}

void frmLoan::setDescription(const QString& text)
{
    m_loanInformation->txtLoan->setText(text);
}

bool frmLoan::queryClose()
{
    if (!DataHasChanged())
        return true;
    const QString text = DisplayText::elided(m_loanInformation->txtLoan->text()) + QStringLiteral(" - Information has changed") +
                         QStringLiteral("\r\n") + QStringLiteral("Do you want to save the changes?");
    switch (m_messages.ask(this, text)) {
    case Messages::Answer::Dismissed:
        // "Not now": nothing saved, nothing discarded, the window stays changed.
        return false;
    case Messages::Answer::No:
        return true;
    case Messages::Answer::Yes:
        break;
    }
    // A failed save keeps the window open with its content, still changed.
    // A successful one leaves it unchanged: when a later window's prompt
    // stops an Exit, this one is not asked, nor saved, again.
    return save();
}

void frmLoan::closeWithoutPrompt()
{
    m_closeAgreed = true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void frmLoan::changeEvent(QEvent* event)
{
    // The MDI frame takes every caption from this window but an empty one;
    // an emptied description must empty the caption and the Window menu too.
    if (event->type() == QEvent::WindowTitleChange)
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()); frame && frame->windowTitle() != windowTitle())
            frame->setWindowTitle(windowTitle());
    QWidget::changeEvent(event);
}

void frmLoan::closeEvent(QCloseEvent* event)
{
    if (m_closeAgreed || queryClose()) {
        m_closeAgreed = true;
        event->accept();
        emit closed();
    } else {
        event->ignore();
    }
}
