#pragma once

#include "Loan.h"
#include "LoanRows.h"

#include <QByteArray>
#include <QWidget>

#include <memory>
#include <optional>

class AmortizationTablePage;
class BalancePage;
class Clock;
class DateBox;
class FormulasPage;
class LoanForm;
class LoanStore;
class Messages;
class QTabWidget;
class SavingsSummaryPage;
class SummaryGraphPage;
struct ExtraPaymentsPage;
struct LoanInformationPage;
struct LoanResult;
struct RateChangesPage;
struct SkippedPaymentsPage;

// One loan: its tabs, its typed loan (LoanForm) and rows (the row editors),
// the close prompt. An MDI child of the main window; the creator calls
// load() once, with the stored key or 0, before the window is first shown.
// The window's changed state is Qt's own windowModified flag.
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
    bool DataHasChanged() const { return isWindowModified(); }
    // The one way the window becomes unchanged (after loading, saving and deleting).
    void markUnchanged() { setWindowModified(false); }
    // The window now holds what is not stored.
    void markChanged()
    {
        if (!isWindowModified())
            setWindowModified(true);
    }

    // A new loan's initial state (`storedKey` 0), or the stored loan
    // `storedKey` loaded and calculated; unchanged; tab 0.
    void load(int storedKey = 0);

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
    // gives the window back its description and changed state.
    bool saveAsCopy();

    // Asks " - Are you sure you wish to delete this loan?"; on Yes deletes the
    // loan `key` with its rows, and closes. A window whose loan was never
    // stored deletes nothing from the store. A loan that another program
    // changed since this window read or saved it is deleted only on a second
    // Yes; one that another program already deleted is reported as such.
    void DeleteLoan(int key);

    // False when loading the stored loan failed part-way: the window then
    // shows less than is stored.
    bool loadedWhole() const { return !m_partlyLoaded; }
    // True when load() found no stored loan under the key (another program
    // deleted it): it has said so, loaded nothing more, and the window is
    // not to be shown.
    bool loanMissing() const { return m_loanMissing; }

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
    void addPages();
    void addTabKeys();
    void stepTab(int step);
    void watchChanges();
    void onTabChanged(int tab);
    void showPage(const QWidget* page);
    void drawShownChart();

    // Loading a stored loan; each shows its first failure as "number -
    // description", keeps what it had shown, and marks the load partial.
    void loadLoan();
    void loadRows();
    // A stored "Calculate:" choice whose payment and amount disagree (an
    // older program saved the amount alone): the amount stands.
    void checkStoredChoice();
    void loadFailed(const QString& text);

    // What a date box or a row's field holds and was not yet taken (Calculate
    // or Save pressed without leaving it); false after the refusal.
    bool takeTyped();
    // The inputs as the typed loan, or none after the first failed check's
    // message (the focus moved there, the whole term written back).
    std::optional<::Loan> validated();
    void showValidationFailure(const QString& message, LoanField field);
    // A date box whose typed text is no date: named in a warning, its page
    // brought up and the focus back in it, the text kept for correction.
    void refuseTypedDate(DateBox* box, const QString& caption);
    // The rows of the loan's tables as they stand.
    LoanRows rows() const;
    // Writes a run's figures, table and charts into the window at once.
    void applyResult(LoanResult run);

    // Stores the loan and its rows under `key` (mode 0 adds a loan and hands
    // back mode 1 and the new key). On failure the error is shown, mode and
    // key are left alone and false returned.
    bool SaveLoan(const ::Loan& loan, int& mode, int& key);

    QTabWidget* m_tabs = nullptr;
    std::unique_ptr<LoanInformationPage> m_loanInformation;
    std::unique_ptr<ExtraPaymentsPage> m_extraPayments;
    std::unique_ptr<AmortizationTablePage> m_amortizationTable;
    std::unique_ptr<SummaryGraphPage> m_summaryGraph;
    std::unique_ptr<SavingsSummaryPage> m_savingsSummary;
    std::unique_ptr<FormulasPage> m_formulas;
    std::unique_ptr<BalancePage> m_balance;
    std::unique_ptr<RateChangesPage> m_rateChanges;
    std::unique_ptr<SkippedPaymentsPage> m_skippedPayments;
    LoanForm* m_form = nullptr;
    LoanStore& m_store;
    Messages& m_messages;
    const Clock& m_clock;
    int m_mode = 0;
    int m_key = 0;
    bool m_closeAgreed = false;
    bool m_partlyLoaded = false;
    bool m_loanMissing = false;
    // The stored loan as this window last read or wrote it, to notice
    // another program's changes; its parts as read.
    std::optional<QByteArray> m_storedAs;
    QByteArray m_loadedRow;
    // The stored loan amount, rate and term, which a stored choice other than
    // "Payment" must find again from the stored payment.
    struct StoredFigures {
        double loanAmount;
        double annualRatePercent;
        double term;
    };
    std::optional<StoredFigures> m_stored;
    int m_previousTab = 0;
    // A chart is drawn only on a page that is shown: a run marks both stale.
    bool m_summaryChartStale = false;
    bool m_balanceChartStale = false;
    std::shared_ptr<const LoanResult> m_lastResult;
};
