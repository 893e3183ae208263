#include "frmLoan.h"

#include "DisplayText.h"
#include "NumberBoxLimit.h"

#include "ChangeTracker.h"
#include "DescriptionBox.h"
#include "Clock.h"
#include "ExtraPaymentsEditor.h"
#include "LoanPages.h"
#include "Messages.h"
#include "ResultsModel.h"
#include "SummaryChart.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
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
    : QWidget(parent), m_ui(new Ui), m_store(store), m_messages(messages), m_clock(clock)
{
    setObjectName(QStringLiteral("frmLoan"));
    setWindowTitle(QStringLiteral("Untitled"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    setPalette(pal);

    // A small font, as the window was designed for; the six tab captions
    // then fit the window's width.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_ui->tabLoan = new QTabWidget(this);
    m_ui->tabLoan->setObjectName(QStringLiteral("tabLoan"));
    QWidget* const pages[] = {LoanPages::buildLoanInformation(*m_ui), LoanPages::buildExtraPayments(*m_ui),
                              LoanPages::buildAmortizationTable(*m_ui), LoanPages::buildSummaryGraph(*m_ui),
                              LoanPages::buildSavingsSummary(*m_ui), LoanPages::buildFormulas(*m_ui)};
    const QString captions[] = {QStringLiteral("Loan Information"), QStringLiteral("Extra Payments"),
                                QStringLiteral("Amortization Table"), QStringLiteral("Summary Graph"),
                                QStringLiteral("Savings Summary"), QStringLiteral("Formulas")};
    for (int tab = 0; tab < 6; ++tab)
        m_ui->tabLoan->addTab(scrolling(pages[tab]), captions[tab]);
    // The pages show the window's own grey ground.
    for (QWidget* page : pages) {
        QPalette pagePalette = page->palette();
        pagePalette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
        page->setPalette(pagePalette);
        page->setAutoFillBackground(true);
    }
    QFont tabFont = small;
    tabFont.setStretch(QFont::Condensed);
    m_ui->tabLoan->tabBar()->setFont(tabFont);
    m_ui->tabLoan->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
    m_ui->tabLoan->setUsesScrollButtons(true);
    layout->addWidget(m_ui->tabLoan);

    m_ui->chSummary->hide();
    m_ui->editor = new ExtraPaymentsEditor(*m_ui, m_messages, m_clock, this);
    connect(m_ui->editor, &ExtraPaymentsEditor::edited, this, [this] { DataHasChanged = true; });
    // Queued: the refused save (perhaps inside a close prompt) ends first.
    connect(this, &frmLoan::saveAsCopyRequested, this, &frmLoan::saveAsCopy, Qt::QueuedConnection);
    watchChanges();

    connect(m_ui->txtLoan, &QLineEdit::textChanged, this,
            [this](const QString& text) { setWindowTitle(DisplayText::elided(text)); });
    for (QLineEdit* box : {m_ui->txtInterestRate, m_ui->txtTerm, m_ui->txtLoanAmount, m_ui->txtPaymentAmount,
                           m_ui->txtXPaymentAmount})
        limitNumberBox(box, m_messages, this);
    connect(m_ui->tabLoan, &QTabWidget::currentChanged, this, &frmLoan::onTabChanged);
    connect(m_ui->cmdCalculate, &QPushButton::clicked, this, [this] { CalculateSchedule(true); });
    connect(m_ui->cmdRecalculate, &QPushButton::clicked, this, [this] { CalculateSchedule(false); });
}

frmLoan::~frmLoan()
{
    delete m_ui;
}

void frmLoan::watchChanges()
{
    auto* tracker = new ChangeTracker(this);
    m_ui->tracker = tracker;
    for (QLineEdit* box : {static_cast<QLineEdit*>(m_ui->txtLoan), m_ui->txtInterestRate, m_ui->txtTerm, m_ui->txtLoanAmount,
                           m_ui->txtPaymentAmount, m_ui->txtXPaymentAmount, m_ui->txtPrincipal,
                           m_ui->txtExtraPayments, m_ui->txtInterest, m_ui->txtTotalPrincipal, m_ui->txtTotalPaid,
                           m_ui->txtOrigLoanAmount, m_ui->txtOrigPayoffDate, m_ui->txtOrigInterestPaid,
                           m_ui->txtOrigTotalPaid, m_ui->txtAdjExtraPayments, m_ui->txtAdjPayoffDate,
                           m_ui->txtAdjInterestPaid, m_ui->txtAdjTotalPaid, m_ui->txtSavedPayments,
                           m_ui->txtSavedTotal})
        tracker->watch(box);
    tracker->watch(m_ui->cboppt);
    tracker->watch(m_ui->cboTerm);
    tracker->watch(m_ui->chkSuppressFuture);
    // The first payment date counts too: a changed date changes every row.
    tracker->watch(m_ui->dtStartDate);
}

void frmLoan::load()
{
    // Typing starts in the description, in a new window and in an opened one
    // (a stored loan that fails its checks moves the focus on below).
    m_ui->txtLoan->setFocus();
    m_ui->cboTerm->setCurrentIndex(0);
    if (Mode != 1) {
        m_ui->resultsModel->setRows({}, {});
        m_ui->flxPayments->setRowCount(0);
        m_ui->chSummary->hide();
        m_ui->dtStartDate->setDate(m_clock.today());
        m_ui->editor->clearPaymentEntry();
        m_ui->cmdDeletePayment->setEnabled(false);
        for (int tab = 1; tab < m_ui->tabLoan->count(); ++tab)
            m_ui->tabLoan->setTabEnabled(tab, false);
    } else {
        LoadLoanDetail();
        LoadExtraPayments();
        CalculateSchedule(false);
    }
    setExtraPaymentsEnabled(false);
    markUnchanged();
    m_ui->tabLoan->setCurrentIndex(0);

    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->resize(kWindowWidth, kWindowHeight);
    else
        resize(kWindowWidth, kWindowHeight);
}

void frmLoan::setLoanInformationEnabled(bool enabled)
{
    m_ui->txtLoan->setEnabled(enabled);
    m_ui->fraLoan->setEnabled(enabled);
}

void frmLoan::setExtraPaymentsEnabled(bool enabled)
{
    m_ui->editor->setInputsEnabled(enabled);
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
}

void frmLoan::ClearDataChanged()
{
    m_ui->tracker->clear();
}

void frmLoan::markUnchanged()
{
    ClearDataChanged();
    DataHasChanged = false;
}

bool frmLoan::IsDataChanged() const
{
    return m_ui->tracker->isChanged();
}

QString frmLoan::description() const
{
    return m_ui->txtLoan->text();
}

void frmLoan::setDescription(const QString& text)
{
    m_ui->txtLoan->setWholeText(text);
}

bool frmLoan::queryClose()
{
    if (!IsDataChanged() && !DataHasChanged)
        return true;
    const QString text = DisplayText::elided(m_ui->txtLoan->text()) + QStringLiteral(" - Information has changed") +
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
    // The window closes after a successful one, so it is not marked
    // unchanged: when another window refuses to close, this one still
    // counts as changed, as before.
    return saveInPlace();
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
    } else {
        event->ignore();
    }
}
