#include "mdiMain.h"

#include "CompareWindowController.h"
#include "DisplayText.h"
#include "HelpWindow.h"
#include "LoanResult.h"
#include "LoanStore.h"
#include "LoanWindowFactory.h"
#include "MdiArrange.h"
#include "Messages.h"
#include "ToolbarIcons.h"
#include "WindowMenu.h"
#include "frmAbout.h"
#include "frmLoan.h"
#include "frmOpen.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace {

QAction* makeAction(QObject* parent, const QString& name, const QString& text)
{
    auto* action = new QAction(text, parent);
    action->setObjectName(name);
    return action;
}

// A command that has a toolbar button too: the desktop's icon where its theme
// has one, else the drawn one; the button's key travels as the data.
void giveButton(QAction* action, const QString& key, const QString& themeIcon = {})
{
    const QIcon drawn = toolbarIcon(key);
    action->setIcon(themeIcon.isEmpty() ? drawn : QIcon::fromTheme(themeIcon, drawn));
    action->setData(key);
}

}  // namespace

mdiMain::mdiMain(LoanStore& store, Messages& messages, const Clock& clock, QWidget* parent)
    : QMainWindow(parent),
      m_store(store),
      m_messages(messages),
      m_clock(clock),
      m_mdiArea(new QMdiArea(this)),
      m_factory(std::make_unique<LoanWindowFactory>(*m_mdiArea, store, messages, clock)),
      m_reportCommands(messages, store.path(), this, [this](QDialog& dialog) { runDialog(dialog); }),
      m_compare(std::make_unique<CompareWindowController>(*m_mdiArea, [this] { return openLoans(); }))
{
    setObjectName(QStringLiteral("mdiMain"));
    setWindowTitle(kAppTitle);
    setWindowIcon(programIcon());
    m_runDialog = [](QDialog& dialog) { dialog.exec(); };

    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setBackground(QColor(0, 128, 128));
    // A window pushed partly out of sight can still be reached.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &mdiMain::updateMenus);
    connect(m_factory.get(), &LoanWindowFactory::opened, m_compare.get(), &CompareWindowController::follow);

    createActions();
    createMenus();
    createToolBars();
    statusBar()->setObjectName(QStringLiteral("sbStatus"));
    m_reportCommands.setDoneTeller([this](const QString& text) { statusBar()->showMessage(text); });
    updateMenus();

    // Room for the largest window the program opens, the comparison, at its
    // own size; a loan window, wide enough for all of its tabs' names, is
    // smaller. The menu bar, the toolbar and the status bar come on top.
    const int frame = 2 * m_mdiArea->frameWidth();
    resize(kCompareSize + QSize(frame, frame) + sizeHint() - m_mdiArea->sizeHint());
}

void mdiMain::showEvent(QShowEvent* event)
{
    // Wholly on the screen, title bar included, at any scale.
    if (!m_placed && screen()) {
        m_placed = true;
        const QRect room = screen()->availableGeometry();
        // Before the window manager has framed it, room for a usual frame.
        const QRect inner = geometry();
        const QRect outerNow = frameGeometry();
        QMargins frame(inner.left() - outerNow.left(), inner.top() - outerNow.top(), outerNow.right() - inner.right(),
                       outerNow.bottom() - inner.bottom());
        if (frame.isNull())
            frame = QMargins(8, 32, 8, 8);
        const QSize most(room.width() - frame.left() - frame.right(), room.height() - frame.top() - frame.bottom());
        if (width() > most.width() || height() > most.height())
            resize(size().boundedTo(most));
        QRect outer = geometry().marginsAdded(frame);
        outer.moveLeft(std::clamp(outer.left(), room.left(), std::max(room.left(), room.right() - outer.width() + 1)));
        outer.moveTop(std::clamp(outer.top(), room.top(), std::max(room.top(), room.bottom() - outer.height() + 1)));
        if (outer != geometry().marginsAdded(frame))
            move(outer.topLeft());
    }
    QMainWindow::showEvent(event);
}

mdiMain::~mdiMain()
{
    // The loan windows go after this object's members; their going must not
    // reach updateMenus() nor the comparison.
    disconnect(m_mdiArea, nullptr, this, nullptr);
    m_compare.reset();
}

void mdiMain::setDialogRunner(DialogRunner runner)
{
    m_runDialog = std::move(runner);
}

void mdiMain::setSaveFileNameAsker(SaveFileNameAsker asker)
{
    m_reportCommands.setSaveFileNameAsker(std::move(asker));
}

void mdiMain::createActions()
{
    m_newAct = makeAction(this, QStringLiteral("mnuFileNew"), tr("&New"));
    m_newAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(m_newAct, &QAction::triggered, this, &mdiMain::fileNew);
    giveButton(m_newAct, QStringLiteral("New"), QStringLiteral("document-new"));

    m_openAct = makeAction(this, QStringLiteral("mnuFileOpen"), tr("&Open ..."));
    m_openAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_openAct, &QAction::triggered, this, &mdiMain::fileOpen);
    giveButton(m_openAct, QStringLiteral("Open"), QStringLiteral("document-open"));

    m_closeAct = makeAction(this, QStringLiteral("mnuFileClose"), tr("&Close"));
    // The MDI frame closes itself with the platform's Close keys; the ones
    // this platform leaves out (Ctrl+F4 on some X11 desktops) close it here.
    // Both on one key would make neither work.
    QList<QKeySequence> closeKeys;
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::Key_F4)})
        if (!QKeySequence::keyBindings(QKeySequence::Close).contains(key))
            closeKeys << key;
    m_closeAct->setShortcuts(closeKeys);
    connect(m_closeAct, &QAction::triggered, this, &mdiMain::fileClose);

    m_saveAct = makeAction(this, QStringLiteral("mnuFileSave"), tr("&Save"));
    m_saveAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(m_saveAct, &QAction::triggered, this, &mdiMain::fileSave);
    giveButton(m_saveAct, QStringLiteral("Save"), QStringLiteral("document-save"));

    m_saveAsAct = makeAction(this, QStringLiteral("mnuFileSaveAs"), tr("Save &As Copy"));
    connect(m_saveAsAct, &QAction::triggered, this, &mdiMain::fileSaveAs);
    giveButton(m_saveAsAct, QStringLiteral("Copy"), QStringLiteral("document-save-as"));

    m_deleteAct = makeAction(this, QStringLiteral("mnuFileDelete"), tr("&Delete"));
    connect(m_deleteAct, &QAction::triggered, this, &mdiMain::fileDelete);
    giveButton(m_deleteAct, QStringLiteral("Delete"), QStringLiteral("edit-delete"));

    m_exportTableAct = makeAction(this, QStringLiteral("mnuFileExportTable"), tr("&Export Table..."));
    connect(m_exportTableAct, &QAction::triggered, this, [this] { runReport(ReportCommand::ExportTable); });

    m_exportPdfAct = makeAction(this, QStringLiteral("mnuFileExportPdf"), tr("Export as PD&F..."));
    connect(m_exportPdfAct, &QAction::triggered, this, [this] { runReport(ReportCommand::ExportPdf); });

    m_printPreviewAct = makeAction(this, QStringLiteral("mnuFilePrintPreview"), tr("Print Pre&view..."));
    connect(m_printPreviewAct, &QAction::triggered, this, [this] { runReport(ReportCommand::PrintPreview); });

    m_printAct = makeAction(this, QStringLiteral("mnuFilePrint"), tr("&Print..."));
    m_printAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(m_printAct, &QAction::triggered, this, [this] { runReport(ReportCommand::Print); });

    m_exitAct = makeAction(this, QStringLiteral("mnuFileExit"), tr("E&xit"));
    connect(m_exitAct, &QAction::triggered, this, &mdiMain::fileExit);

    m_tileHorizontallyAct = makeAction(this, QStringLiteral("mnuWindowTileHorizontally"), tr("Tile &Horizontally"));
    connect(m_tileHorizontallyAct, &QAction::triggered, this, [this] { tileHorizontally(*m_mdiArea); });

    m_tileVerticallyAct = makeAction(this, QStringLiteral("mnuWindowTileVertically"), tr("Tile &Vertically"));
    connect(m_tileVerticallyAct, &QAction::triggered, this, [this] { tileVertically(*m_mdiArea); });

    m_cascadeAct = makeAction(this, QStringLiteral("mnuWindowCascade"), tr("&Cascade"));
    connect(m_cascadeAct, &QAction::triggered, this, [this] { cascade(*m_mdiArea); });

    m_arrangeIconsAct = makeAction(this, QStringLiteral("mnuWindowArrangeIcons"), tr("&Arrange Icons"));
    connect(m_arrangeIconsAct, &QAction::triggered, this, [this] { arrangeIcons(*m_mdiArea); });

    // Ctrl+F6 as on other desktops' documents; Ctrl+Tab belongs to the loan window's tabs.
    m_nextWindowAct = makeAction(this, QStringLiteral("mnuWindowNext"), tr("Ne&xt Window"));
    m_nextWindowAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    connect(m_nextWindowAct, &QAction::triggered, m_mdiArea, &QMdiArea::activateNextSubWindow);
    m_previousWindowAct = makeAction(this, QStringLiteral("mnuWindowPrevious"), tr("&Previous Window"));
    m_previousWindowAct->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
    connect(m_previousWindowAct, &QAction::triggered, m_mdiArea, &QMdiArea::activatePreviousSubWindow);
    // The Window menu is refilled each time it opens; the keys work meanwhile.
    addActions({m_nextWindowAct, m_previousWindowAct});

    m_compareAct = makeAction(this, QStringLiteral("mnuWindowCompare"), tr("Co&mpare Loans"));
    connect(m_compareAct, &QAction::triggered, this, &mdiMain::windowCompare);
    giveButton(m_compareAct, QStringLiteral("Compare"));

    m_contentsAct = makeAction(this, QStringLiteral("mnuHelpContents"), tr("&Contents"));
    m_contentsAct->setShortcut(QKeySequence::HelpContents);
    connect(m_contentsAct, &QAction::triggered, this, &mdiMain::helpContents);

    m_aboutAct = makeAction(this, QStringLiteral("mnuHelpAbout"), tr("&About"));
    connect(m_aboutAct, &QAction::triggered, this, &mdiMain::helpAbout);
}

void mdiMain::createMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_fileMenu->setObjectName(QStringLiteral("mnuFile"));
    m_fileMenu->addAction(m_newAct);
    m_fileMenu->addAction(m_openAct);
    m_fileMenu->addAction(m_closeAct);
    m_fileMenu->addSeparator()->setObjectName(QStringLiteral("dash1"));
    m_fileMenu->addAction(m_saveAct);
    m_fileMenu->addAction(m_saveAsAct);
    m_fileMenu->addAction(m_deleteAct);
    m_fileMenu->addSeparator()->setObjectName(QStringLiteral("dash2"));
    m_fileMenu->addAction(m_exportTableAct);
    m_fileMenu->addAction(m_exportPdfAct);
    m_fileMenu->addSeparator()->setObjectName(QStringLiteral("dash3"));
    m_fileMenu->addAction(m_printPreviewAct);
    m_fileMenu->addAction(m_printAct);
    m_fileMenu->addSeparator()->setObjectName(QStringLiteral("mnutabb"));
    m_fileMenu->addAction(m_exitAct);

    m_windowMenu = menuBar()->addMenu(tr("&Window"));
    m_windowMenu->setObjectName(QStringLiteral("mnuWindow"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &mdiMain::updateWindowMenu);
    updateWindowMenu();

    m_helpMenu = menuBar()->addMenu(tr("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("mnuHelp"));
    m_helpMenu->addAction(m_contentsAct);
    m_helpMenu->addAction(m_aboutAct);
}

void mdiMain::createToolBars()
{
    m_toolBar = addToolBar(QStringLiteral("Toolbar1"));
    m_toolBar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(false);
    m_toolBar->addAction(m_newAct);
    m_toolBar->addAction(m_openAct);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_saveAct);
    m_toolBar->addAction(m_saveAsAct);
    m_toolBar->addAction(m_deleteAct);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_compareAct);
}

void mdiMain::updateMenus()
{
    frmLoan* loan = activeLoan();
    const bool hasLoan = loan != nullptr;
    const bool hasWindow = m_mdiArea->currentSubWindow() != nullptr;
    // Printing and exporting wait for the window's first successful run; the
    // comparison prints and exports whatever it shows.
    if (loan)
        connect(loan, &frmLoan::resultsChanged, this, &mdiMain::updateMenus, Qt::UniqueConnection);
    for (QAction* action : {m_exportTableAct, m_exportPdfAct, m_printPreviewAct, m_printAct})
        action->setEnabled(calculatedLoan() || m_compare->isActive());
    for (QAction* action : {m_saveAct, m_saveAsAct, m_deleteAct})
        action->setEnabled(hasLoan);
    for (QAction* action : {m_closeAct, m_tileHorizontallyAct, m_tileVerticallyAct, m_cascadeAct, m_arrangeIconsAct,
                            m_nextWindowAct, m_previousWindowAct})
        action->setEnabled(hasWindow);
}

void mdiMain::updateWindowMenu()
{
    fillWindowMenu(*m_windowMenu, *m_mdiArea,
                   {m_tileHorizontallyAct, m_tileVerticallyAct, m_cascadeAct, m_arrangeIconsAct, m_nextWindowAct,
                    m_previousWindowAct, m_compareAct});
}

frmLoan* mdiMain::activeLoan() const
{
    // The current window stays current while a message box or dialog has
    // the focus, unlike activeSubWindow().
    QMdiSubWindow* sub = m_mdiArea->currentSubWindow();
    return sub ? qobject_cast<frmLoan*>(sub->widget()) : nullptr;
}

QList<frmLoan*> mdiMain::openLoans() const
{
    // A closed window lingers until its deferred deletion; it is no longer open.
    QList<frmLoan*> loans;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto* loan = qobject_cast<frmLoan*>(sub->widget()); loan && !sub->isHidden())
            loans << loan;
    return loans;
}

void mdiMain::fileNew()
{
    m_factory->newLoan();
}

void mdiMain::fileOpen()
{
    frmOpen picker(m_store, *m_factory, m_messages, this);
    runDialog(picker);
}

void mdiMain::fileClose()
{
    if (QMdiSubWindow* sub = m_mdiArea->currentSubWindow())
        sub->close();
}

void mdiMain::fileSave()
{
    if (frmLoan* window = activeLoan(); window && window->save())
        tellSaved(*window);
}

void mdiMain::fileSaveAs()
{
    if (frmLoan* window = activeLoan(); window && window->saveAsCopy())
        tellSaved(*window);
}

void mdiMain::tellSaved(const frmLoan& window)
{
    const QString name = DisplayText::caption(window.description());
    statusBar()->showMessage(name.trimmed().isEmpty() ? QStringLiteral("The loan was saved.")
                                                      : QStringLiteral("The loan \"%1\" was saved.").arg(name));
}

void mdiMain::fileDelete()
{
    if (frmLoan* window = activeLoan())
        window->DeleteLoan(window->Loan());
}

frmLoan* mdiMain::calculatedLoan() const
{
    frmLoan* window = activeLoan();
    return window && window->hasResults() ? window : nullptr;
}

std::optional<ReportSubject> mdiMain::reportSubject() const
{
    if (m_compare->isActive())
        return m_compare->reportSubject();
    if (frmLoan* window = calculatedLoan())
        return ReportSubject{window->lastResult(), window->description(), window->windowTitle(),
                             window->showsYearlyTable(), {}, {}};
    return std::nullopt;
}

void mdiMain::runReport(ReportCommand command)
{
    if (const auto subject = reportSubject())
        m_reportCommands.run(command, *subject);
}

void mdiMain::windowCompare()
{
    m_compare->open();
}

void mdiMain::fileExit()
{
    close();
}

void mdiMain::helpContents()
{
    if (!m_helpWindow) {
        m_helpWindow = new HelpWindow(this);
        m_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        placeBeside(*m_helpWindow);
    }
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

void mdiMain::placeBeside(QWidget& window) const
{
    // Right of the main window where the screen has room, else left of it,
    // else at the screen's edge below the main window's menu bar and toolbar,
    // so the guide can be read while the menus stay in reach.
    const QRect room = screen()->availableGeometry();
    const QRect main = frameGeometry();
    QSize size = window.size().boundedTo(room.size());
    QPoint at(main.right() + 1, std::max(main.top(), room.top()));
    if (at.x() + size.width() > room.right() + 1)
        at.setX(main.left() - size.width());
    if (at.x() < room.left()) {
        at = QPoint(room.right() + 1 - size.width(), mapToGlobal(m_mdiArea->geometry().topLeft()).y());
        size.setHeight(std::min(size.height(), room.bottom() + 1 - at.y()));
    }
    at.setY(std::min(at.y(), room.bottom() + 1 - size.height()));
    window.resize(size);
    window.move(at);
}

void mdiMain::helpAbout()
{
    frmAbout about(m_messages, this);
    runDialog(about);
}

void mdiMain::runDialog(QDialog& dialog)
{
    m_runDialog(dialog);
}

bool mdiMain::closeAllLoans()
{
    QList<QPointer<frmLoan>> loans;
    for (frmLoan* loan : openLoans())
        loans << loan;
    for (const QPointer<frmLoan>& loan : loans) {
        if (!loan)
            continue;
        // The prompt names the window by its caption: show that window.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(loan->parentWidget())) {
            if (sub->isMinimized())
                sub->showNormal();
            m_mdiArea->setActiveSubWindow(sub);
        }
        if (!loan->queryClose())
            return false;
    }
    for (const QPointer<frmLoan>& loan : loans)
        if (loan)
            loan->closeWithoutPrompt();
    return true;
}

void mdiMain::closeEvent(QCloseEvent* event)
{
    if (closeAllLoans())
        event->accept();
    else
        event->ignore();
}
