#pragma once

#include "LoanInputs.h"

#include <QByteArray>
#include <QWidget>

#include <memory>
#include <optional>

class AmortizationTablePage;
class BalancePage;
class DateBox;
class ChangeTracker;
class Clock;
class ExtraPaymentsEditor;
class ExtraPaymentsPage;
class FormulasPage;
class LoanInformationPage;
class QTabWidget;
class RateChangesEditor;
struct RateChangesPage;
class SavingsSummaryPage;
class SummaryGraphPage;
class LoanStore;
class Messages;
struct LoanResult;

// One loan: seven tabs, change tracking and the close prompt. An MDI child of
// the main window; the creator calls load() once, with the stored key or 0,
// before the window is first shown.
class frmLoan : public QWidget {
    Q_OBJECT
public:
    frmLoan(LoanStore& store, Messages& messages, const Clock& clock, QWidget* parent = nullptr);
    ~frmLoan() override;

    // 0 new, 1 stored.
    int Mode() const { return m_mode; }
    // The stored key, 0 when new.
    int Loan() const { return m_key; }
    // True when the window holds what is not stored: edits of the inputs or
    // the rows, or a run's new figures, since it was loaded or saved.
    bool DataHasChanged() const { return IsDataChanged() || m_rowsEdited; }

    // The load steps: set up the tables, then a new loan's initial state
    // (`storedKey` 0), or the stored loan `storedKey` loaded and calculated;
    // flags cleared; tab 0. Called once, before the window is first shown.
    void load(int storedKey = 0);

    // The fourteen checks on the window's inputs: shows the first failure
    // (warning icon) and moves the focus there; on success rewrites the term.
    bool ValidateLoan();

    // File > Save: checks the inputs, then stores the window under its own
    // key (a new loan gets one: Mode 1 and the new key) and marks the window
    // unchanged. On any failure the window keeps its Mode, Loan, content and
    // changed state, and false is returned. A stored loan that this window
    // did not read whole is never replaced: the save is refused and Save As
    // Copy offered (saveAsCopyRequested). A stored loan that another program
    // changed or deleted since this window read or wrote it is replaced only
    // when the user says so.
    bool save();
    // File > Save As Copy: checks the inputs, puts "Copy of " in front of the
    // description and stores what the window shows as a new loan; the window
    // becomes the copy (Mode 1, the new key) and unchanged, and copySaved()
    // names the loan it was copied from, if that was stored. A failed copy
    // gives the window back its description, caption and changed state.
    bool saveAsCopy();

    // Asks " - Are you sure you wish to delete this loan?"; on Yes deletes the
    // loan `key` with its extra payments, clears the flags and closes. A
    // window whose loan was never stored deletes nothing from the store. A
    // loan that another program changed since this window read or saved it is
    // deleted only on a second Yes; one that another program already deleted
    // is reported as such, and the window closes.
    void DeleteLoan(int key);

    // False when loading the stored loan failed part-way: the window then
    // shows less than is stored.
    bool loadedWhole() const { return !m_partlyLoaded; }
    // True when load() found no stored loan under `Loan` (another program
    // deleted it): it has said so, loaded nothing more, and the window is
    // not to be shown.
    bool loanMissing() const { return m_loanMissing; }

    // Clears the controls' changed flags only.
    void ClearDataChanged();
    bool IsDataChanged() const;
    // The one way the window becomes unchanged: the controls' flags and
    // DataHasChanged both cleared (after loading, saving and deleting).
    void markUnchanged();

    // The close prompt alone: true when the window may close (unchanged, No,
    // or Yes with a successful save); false when the prompt was dismissed or
    // the save did not happen. Used by the main window's Exit so that one
    // refusal keeps every window open.
    bool queryClose();
    // Closes without asking again (after queryClose() agreed).
    void closeWithoutPrompt();

    QString description() const;
    void setDescription(const QString& text);

    // One amortization run on the window's current contents (Calculate,
    // Recalculate and loading alike). Either the whole result is applied, or,
    // when validation or the run fails, the window stays as it was but for
    // the whole term written back into its box. True when a result was applied.
    bool CalculateSchedule();

    // Loading a stored loan (the key is `Loan`); each shows its first failure
    // as "number - description" and keeps what it had set.
    void LoadLoanDetail();
    void LoadExtraPayments();
    void LoadRateChanges();

    // True once a run has been applied: from then on the table and figures
    // can be printed and exported.
    bool hasResults() const { return m_lastResult != nullptr; }
    // The last applied run, as it stood then (later edits of the inputs do
    // not mix with figures they have not produced); null before the first.
    std::shared_ptr<const LoanResult> lastResult() const { return m_lastResult; }

    // True while the "Amortization Table" tab shows each year rather than
    // each payment: File > Export Table then writes the years.
    bool showsYearlyTable() const;

signals:
    // A run was applied (Calculate, Recalculate or loading).
    void resultsChanged();
    // The window agreed to close and is going.
    void closed();
    // The user chose Save As Copy after a refused save; the window runs its
    // saveAsCopy() once the refused save (perhaps inside a close prompt) has ended.
    void saveAsCopyRequested();
    // Save As Copy stored the copy; `originalKey` is the stored loan it was
    // copied from, which the main window opens again beside the copy.
    void copySaved(int originalKey);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Stores the window's contents and all of its extra payments under `key`
    // (mode 0 adds a loan and hands back mode 1 and the new key). On failure
    // the error is shown (critical icon), mode and key are left alone and
    // false returned.
    bool SaveLoan(int& mode, int& key);
    void onTabChanged(int tab);
    void drawShownChart();
    void addTabKeys();
    void stepTab(int step);
    void setLoanInformationEnabled(bool enabled);
    void setExtraPaymentsEnabled(bool enabled);
    void watchChanges();
    void showValidationFailure(const QString& message, LoanField field);
    // A date box whose typed text is no date: named in a warning, its page
    // brought up and the focus back in it, the text kept for correction.
    void refuseTypedDate(DateBox* box);
    // Takes what was typed into the date boxes and not yet read (Alt+C or
    // Ctrl+S without leaving the box); false, after the warning, when one
    // holds no date.
    bool takeTypedDates();
    // Writes a run's inputs, table and figures into the window at once.
    void applyResult(LoanResult run);
    // The whole term written back into the term box (0: nothing to write).
    void showWholeTerm(int wholeTerm);
    // The "Rate Changes" tab, after the others so their places stay.
    void addRateChangesPage();

    // Each page owns its controls.
    QTabWidget* m_tabs = nullptr;
    std::unique_ptr<LoanInformationPage> m_loanInformation;
    std::unique_ptr<ExtraPaymentsPage> m_extraPayments;
    std::unique_ptr<AmortizationTablePage> m_amortizationTable;
    std::unique_ptr<SummaryGraphPage> m_summaryGraph;
    std::unique_ptr<SavingsSummaryPage> m_savingsSummary;
    std::unique_ptr<FormulasPage> m_formulas;
    std::unique_ptr<BalancePage> m_balance;
    std::unique_ptr<RateChangesPage> m_rateChangesPage;
    RateChangesEditor* m_rateEditor = nullptr;
    QByteArray m_loadedExtras;          // fingerprint of the extra payments as loaded
    ChangeTracker* m_tracker = nullptr;
    ExtraPaymentsEditor* m_editor = nullptr;
    LoanStore& m_store;
    Messages& m_messages;
    const Clock& m_clock;
    int m_mode = 0;
    int m_key = 0;
    bool m_rowsEdited = false;  // extra payments or rate changes edited
    bool m_closeAgreed = false;
    bool m_partlyLoaded = false;
    bool m_loanMissing = false;
    QByteArray m_loadedRow;             // fingerprint of the loan row as loaded
    std::optional<QByteArray> m_storedAs;  // the stored loan as this window last read or wrote it
    int m_previousTab = 0;
    // A chart is drawn only on a page that is shown: a run marks both stale.
    bool m_summaryChartStale = false;
    bool m_balanceChartStale = false;
    std::shared_ptr<const LoanResult> m_lastResult;
};
