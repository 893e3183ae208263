#include "frmLoan.h"

#include "DisplayText.h"
#include "BoxLimit.h"
#include "LoanResult.h"

#include "AmortizationTablePage.h"
#include "BalancePage.h"
#include "ChangeTracker.h"
#include "Clock.h"
#include "ExtraPaymentsEditor.h"
#include "ExtraPaymentsPage.h"
#include "FormulasPage.h"
#include "LoanInformationPage.h"
#include "LocaleText.h"
#include "Messages.h"
#include "RateChangesEditor.h"
#include "RateChangesPage.h"
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
    m_loanInformation = std::make_unique<LoanInformationPage>(m_tabs);
    m_extraPayments = std::make_unique<ExtraPaymentsPage>(m_tabs);
    m_amortizationTable = std::make_unique<AmortizationTablePage>(m_tabs);
    m_summaryGraph = std::make_unique<SummaryGraphPage>(m_tabs);
    m_savingsSummary = std::make_unique<SavingsSummaryPage>(m_tabs);
    m_formulas = std::make_unique<FormulasPage>(m_tabs);
    m_balance = std::make_unique<BalancePage>(m_tabs);
    QWidget* const pages[] = {m_loanInformation->page, m_extraPayments->page,  m_amortizationTable->page,
                              m_summaryGraph->page,    m_savingsSummary->page, m_formulas->page,
                              m_balance->page};
    const QString captions[] = {QStringLiteral("Loan Information"), QStringLiteral("Extra Payments"),
                                QStringLiteral("Amortization Table"), QStringLiteral("Summary Graph"),
                                QStringLiteral("Savings Summary"), QStringLiteral("Formulas"),
                                QStringLiteral("Balance")};
    for (int tab = 0; tab < 7; ++tab)
        m_tabs->addTab(scrolling(pages[tab]), captions[tab]);
    // The pages show the window's own grey ground.
    for (QWidget* page : pages) {
        QPalette pagePalette = page->palette();
        pagePalette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
        page->setPalette(pagePalette);
        page->setAutoFillBackground(true);
    }
    QFont tabFont = small;
    tabFont.setStretch(QFont::Condensed);
    m_tabs->tabBar()->setFont(tabFont);
    // On the bar alone: a style sheet on the tab widget would style every
    // widget of every page through the style sheet engine, a third of a
    // window's memory.
    m_tabs->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
    m_tabs->setUsesScrollButtons(true);
    layout->addWidget(m_tabs);

    addRateChangesPage();

    m_editor = new ExtraPaymentsEditor(*m_extraPayments, *m_tabs, m_messages, m_clock, this);
    connect(m_editor, &ExtraPaymentsEditor::edited, this, [this] { m_rowsEdited = true; });
    // Queued: the refused save (perhaps inside a close prompt) ends first.
    connect(this, &frmLoan::saveAsCopyRequested, this, &frmLoan::saveAsCopy, Qt::QueuedConnection);
    watchChanges();

    connect(m_loanInformation->txtLoan, &QLineEdit::textChanged, this,
            [this](const QString& text) { setWindowTitle(DisplayText::caption(text)); });
    for (QLineEdit* box : {m_loanInformation->txtLoan, m_loanInformation->txtInterestRate, m_loanInformation->txtTerm,
                           m_loanInformation->txtLoanAmount, m_loanInformation->txtPaymentAmount,
                           m_extraPayments->txtXPaymentAmount})
        limitBox(box, m_messages, this);
    connect(m_loanInformation->dtStartDate, &DateBox::typedDateRefused, this,
            [this] { refuseTypedDate(m_loanInformation->dtStartDate); });
    connect(m_editor, &ExtraPaymentsEditor::typedDateRefused, this, &frmLoan::refuseTypedDate);
    connect(m_tabs, &QTabWidget::currentChanged, this, &frmLoan::onTabChanged);
    addTabKeys();
    connect(m_loanInformation->cmdCalculate, &QPushButton::clicked, this, [this] { CalculateSchedule(); });
    connect(m_extraPayments->cmdRecalculate, &QPushButton::clicked, this, [this] { CalculateSchedule(); });
}

void frmLoan::addRateChangesPage()
{
    m_rateChangesPage = std::make_unique<RateChangesPage>(m_tabs);
    QWidget* page = m_rateChangesPage->page;
    QPalette pagePalette = page->palette();
    pagePalette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    page->setPalette(pagePalette);
    page->setAutoFillBackground(true);
    m_tabs->addTab(scrolling(page), QStringLiteral("Rate Changes"));
    // A new change starts at the loan's own rate, as typed.
    m_rateEditor = new RateChangesEditor(*m_rateChangesPage, *m_tabs, m_messages, m_clock, [this] {
        return LocaleText::readNumber(m_loanInformation->txtInterestRate->text()).value_or(0.0);
    }, this);
    connect(m_rateEditor, &RateChangesEditor::edited, this, [this] { m_rowsEdited = true; });
    connect(m_rateEditor, &RateChangesEditor::typedDateRefused, this, &frmLoan::refuseTypedDate);
    connect(m_rateChangesPage->cmdRecalculateRates, &QPushButton::clicked, this, [this] { CalculateSchedule(); });
}

frmLoan::~frmLoan()
{
    // The editors filter their pages' boxes and read the page structs, which
    // go before the boxes do: the editors go first.
    delete m_rateEditor;
    delete m_editor;
}

void frmLoan::watchChanges()
{
    m_tracker = new ChangeTracker(this);
    m_loanInformation->watch(*m_tracker);
    m_tracker->watch(m_extraPayments->txtXPaymentAmount, &QLineEdit::textChanged);
    m_tracker->watch(m_extraPayments->chkSuppressFuture, &QCheckBox::stateChanged);
    m_summaryGraph->watch(*m_tracker);
    m_savingsSummary->watch(*m_tracker);
}

void frmLoan::load(int storedKey)
{
    // Typing starts in the description, in a new window and in an opened one
    // (a stored loan that fails its checks moves the focus on below).
    m_loanInformation->txtLoan->setFocus();
    m_loanInformation->cboTerm->setCurrentIndex(0);
    m_key = storedKey;
    m_mode = storedKey != 0 ? 1 : 0;
    if (m_mode != 1) {
        m_amortizationTable->resultsModel->setRows({}, {});
        m_amortizationTable->yearlyModel->setRows({}, {});
        m_editor->clear();
        m_rateEditor->clear();
        m_loanInformation->dtStartDate->setDate(m_clock.today());
        for (int tab = 1; tab < m_tabs->count(); ++tab)
            m_tabs->setTabEnabled(tab, false);
    } else {
        LoadLoanDetail();
        if (m_loanMissing)
            return;  // said once; the opener discards the window
        LoadExtraPayments();
        LoadRateChanges();
        CalculateSchedule();
    }
    setExtraPaymentsEnabled(false);
    markUnchanged();
    m_tabs->setCurrentIndex(0);

    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->resize(kWindowWidth, kWindowHeight);
    else
        resize(kWindowWidth, kWindowHeight);
}

void frmLoan::setLoanInformationEnabled(bool enabled)
{
    m_loanInformation->setInputsEnabled(enabled);
}

void frmLoan::setExtraPaymentsEnabled(bool enabled)
{
    m_editor->setInputsEnabled(enabled);
}

void frmLoan::onTabChanged(int tab)
{
    const int previous = m_previousTab;
    m_previousTab = tab;
    if (previous == 0)
        setLoanInformationEnabled(false);
    else if (previous == 1)
        setExtraPaymentsEnabled(false);
    if (tab == 0)
        setLoanInformationEnabled(true);
    else if (tab == 1)
        setExtraPaymentsEnabled(true);
    drawShownChart();
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

void frmLoan::ClearDataChanged()
{
    m_tracker->clear();
}

void frmLoan::markUnchanged()
{
    ClearDataChanged();
    m_rowsEdited = false;
}

bool frmLoan::IsDataChanged() const
{
    return m_tracker->isChanged();
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
