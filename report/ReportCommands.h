#pragma once

#include "LoanComparison.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Messages;
class QDialog;
class QPrinter;
class QWidget;
struct LoanResult;

// The four commands of the File menu that print or export.
enum class ReportCommand { ExportTable, ExportPdf, PrintPreview, Print };

// What those commands act on: a calculated loan (its last run, held for as
// long as the command and its dialogs last, and the window's current
// description and caption), or, without a loan, the comparison of the open
// loans with their runs held.
struct ReportSubject {
    std::shared_ptr<const LoanResult> loan;
    QString description;
    QString windowTitle;
    bool years = false;  // the table shown is each year's totals
    std::vector<ComparedLoan> comparison;
    std::vector<std::shared_ptr<const LoanResult>> held;
};

// The printing and exporting commands for a calculated loan (its result and
// the window's current description): asking where
// to write (suggesting the description in the last folder used), refusing the
// loan store's own file, the print dialog and the preview, and the message
// when writing fails.
class ReportCommands {
    Q_DECLARE_TR_FUNCTIONS(ReportCommands)
public:
    // How a modal dialog is run; tests drive it instead.
    using DialogRunner = std::function<void(QDialog&)>;
    // Asks where to save (caption, suggested path, filter); empty when cancelled.
    using SaveFileNameAsker = std::function<QString(const QString&, const QString&, const QString&)>;

    // Dialogs and messages go over parent; storePath is never written over.
    ReportCommands(Messages& messages, QString storePath, QWidget* parent, DialogRunner runDialog);
    ReportCommands(const ReportCommands&) = delete;
    ReportCommands& operator=(const ReportCommands&) = delete;

    void setSaveFileNameAsker(SaveFileNameAsker asker);
    // Hears, once a file is written whole, how many rows went to which file.
    using DoneTeller = std::function<void(const QString& text)>;
    void setDoneTeller(DoneTeller tell);

    // The menu's way in: one command on whatever the subject is.
    void run(ReportCommand command, const ReportSubject& subject);

    // The table that is shown: each payment, or each year's totals.
    void exportTable(const LoanResult& result, const QString& description, bool years = false);
    void exportPdf(const LoanResult& result, const QString& description);
    // The preview's caption names the loan window (windowTitle).
    void printPreview(const LoanResult& result, const QString& description, const QString& windowTitle);
    void print(const LoanResult& result, const QString& description);

    // The same for the comparison of the open loans (each result held by the
    // caller until the command returns), suggested as "Compare Loans".
    void exportComparisonTable(const std::vector<ComparedLoan>& loans);
    void exportComparisonPdf(const std::vector<ComparedLoan>& loans);
    void printComparisonPreview(const std::vector<ComparedLoan>& loans);
    void printComparison(const std::vector<ComparedLoan>& loans);

private:
    // Writes to a path; a message when it failed, an empty one when the user stopped it.
    using Writer = std::function<std::optional<QString>(const QString& path)>;
    // `rows`: the table's rows the file holds.
    void exportTo(const QString& description, const QString& caption, const QString& suffix, const QString& filter,
                  int rows, const Writer& write);
    void exportCsv(const QString& description, int rows, const Writer& write);
    void exportPdfFile(const QString& description, int rows, const Writer& write);
    // The preview and the print dialog; paint draws the report.
    using Painter = std::function<bool(QPrinter&)>;
    void preview(const QString& description, const QString& windowTitle, const Painter& paint);
    void printWith(const QString& description, const Painter& paint);
    // True, with a message, when path is the loan store's own file.
    bool refuseStoreFile(const QString& path);

    Messages& m_messages;
    QString m_storePath;
    QWidget* m_parent;
    DialogRunner m_runDialog;
    SaveFileNameAsker m_askSaveFileName;
    DoneTeller m_tellDone;
    QString m_exportFolder;
};
