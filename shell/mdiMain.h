#pragma once

#include "ReportCommands.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class Clock;
class CompareWindowController;
class HelpWindow;
class LoanStore;
class LoanWindowFactory;
class Messages;
class QAction;
class QDialog;
class QMdiArea;
class QMenu;
class QToolBar;
class frmLoan;

// The main window: an MDI area holding the loan windows and the comparison
// of them, with the File, Window and Help menus and the toolbar. Every loan
// command acts on the active loan window and does nothing when there is none;
// printing and exporting act on the comparison while it is active.
class mdiMain : public QMainWindow {
    Q_OBJECT
public:
    // How a modal dialog (picker, about box) is run; tests drive it instead.
    using DialogRunner = std::function<void(QDialog&)>;
    // Asks where to save (caption, suggested path, filter); empty when cancelled.
    using SaveFileNameAsker = ReportCommands::SaveFileNameAsker;

    mdiMain(LoanStore& store, Messages& messages, const Clock& clock, QWidget* parent = nullptr);
    ~mdiMain() override;

    void setDialogRunner(DialogRunner runner);
    void setSaveFileNameAsker(SaveFileNameAsker asker);

    QMdiArea* mdiArea() const { return m_mdiArea; }
    LoanWindowFactory& loanWindows() { return *m_factory; }
    frmLoan* activeLoan() const;
    QList<frmLoan*> openLoans() const;

    // The commands.
    void fileNew();
    void fileOpen();
    void fileClose();
    void fileSave();
    void fileSaveAs();
    void fileDelete();
    // Export Table, Export as PDF, Print Preview and Print on the active
    // comparison or calculated loan window; nothing without one.
    void runReport(ReportCommand command);
    void fileExit();
    // Opens the comparison of the open loans, or brings it to the front.
    void windowCompare();
    void helpContents();
    void helpAbout();

    // Every loan window's close prompt in turn; only when all agree are they
    // all closed. False (and nothing closed) when one refuses.
    bool closeAllLoans();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void updateMenus();
    void updateWindowMenu();
    void runDialog(QDialog& dialog);
    // The status bar tells that the window's loan was saved, by its description.
    void tellSaved(const frmLoan& window);
    // Puts a window of its own (the help) beside this one on the screen.
    void placeBeside(QWidget& window) const;
    // The calculated active loan window, or null.
    frmLoan* calculatedLoan() const;
    // What the print and export commands act on now, if anything.
    std::optional<ReportSubject> reportSubject() const;

    LoanStore& m_store;
    Messages& m_messages;
    const Clock& m_clock;
    QMdiArea* m_mdiArea = nullptr;
    std::unique_ptr<LoanWindowFactory> m_factory;
    DialogRunner m_runDialog;
    ReportCommands m_reportCommands;
    std::unique_ptr<CompareWindowController> m_compare;

    QMenu* m_fileMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QToolBar* m_toolBar = nullptr;

    QAction* m_newAct = nullptr;
    QAction* m_openAct = nullptr;
    QAction* m_closeAct = nullptr;
    QAction* m_nextWindowAct = nullptr;
    QAction* m_previousWindowAct = nullptr;
    bool m_placed = false;
    QAction* m_saveAct = nullptr;
    QAction* m_saveAsAct = nullptr;
    QAction* m_deleteAct = nullptr;
    QAction* m_exportTableAct = nullptr;
    QAction* m_exportPdfAct = nullptr;
    QAction* m_printPreviewAct = nullptr;
    QAction* m_printAct = nullptr;
    QAction* m_exitAct = nullptr;
    QAction* m_tileHorizontallyAct = nullptr;
    QAction* m_tileVerticallyAct = nullptr;
    QAction* m_cascadeAct = nullptr;
    QAction* m_arrangeIconsAct = nullptr;
    QAction* m_compareAct = nullptr;
    QAction* m_contentsAct = nullptr;
    QAction* m_aboutAct = nullptr;
    QPointer<HelpWindow> m_helpWindow;  // the user guide while it is open
};
