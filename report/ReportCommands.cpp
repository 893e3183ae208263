#include "ReportCommands.h"

#include "CompareReport.h"
#include "LoanReport.h"
#include "LoanResult.h"
#include "LocaleText.h"
#include "Messages.h"
#include "ReportExport.h"
#include "YearlyTotals.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStandardPaths>

namespace {

// The comparison's file name and the preview's caption.
const QString kComparison = QStringLiteral("Compare Loans");

// A long report's pages with a progress box and Cancel; the box shows only
// when the work takes longer than half a second. Cancel stops after the page
// being painted.
class PageProgress {
public:
    PageProgress(QWidget* parent, const QString& label) : m_dialog(label, QObject::tr("Cancel"), 0, 0, parent)
    {
        m_dialog.setObjectName(QStringLiteral("dlgReportProgress"));
        m_dialog.setWindowTitle(QStringLiteral("Brimvale"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }
    bool operator()(int done, int pages)
    {
        m_dialog.setMaximum(pages);
        m_dialog.setValue(done);
        return !m_dialog.wasCanceled();
    }
    bool cancelled() const { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};

}  // namespace

ReportCommands::ReportCommands(Messages& messages, QString storePath, QWidget* parent, DialogRunner runDialog)
    : m_messages(messages),
      m_storePath(std::move(storePath)),
      m_parent(parent),
      m_runDialog(std::move(runDialog))
{
    m_askSaveFileName = [this](const QString& caption, const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(m_parent, caption, suggested, filter);
    };
    m_exportFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (m_exportFolder.isEmpty() || !QFileInfo(m_exportFolder).isDir())
        m_exportFolder = QDir::homePath();
}

void ReportCommands::setSaveFileNameAsker(SaveFileNameAsker asker)
{
    m_askSaveFileName = std::move(asker);
}

void ReportCommands::setDoneTeller(DoneTeller tell)
{
    m_tellDone = std::move(tell);
}

void ReportCommands::run(ReportCommand command, const ReportSubject& subject)
{
    if (const LoanResult* loan = subject.loan.get()) {
        switch (command) {
        case ReportCommand::ExportTable: return exportTable(*loan, subject.description, subject.years);
        case ReportCommand::ExportPdf: return exportPdf(*loan, subject.description);
        case ReportCommand::PrintPreview: return printPreview(*loan, subject.description, subject.windowTitle);
        case ReportCommand::Print: return print(*loan, subject.description);
        }
        return;
    }
    switch (command) {
    case ReportCommand::ExportTable: return exportComparisonTable(subject.comparison);
    case ReportCommand::ExportPdf: return exportComparisonPdf(subject.comparison);
    case ReportCommand::PrintPreview: return printComparisonPreview(subject.comparison);
    case ReportCommand::Print: return printComparison(subject.comparison);
    }
}

void ReportCommands::exportTable(const LoanResult& result, const QString& description, bool years)
{
    // The years and their Total line, or each payment.
    const int rows = years ? int(yearlyTotals(result.schedule.rows, LocaleText::toYmd(result.today)).years.size()) + 1
                           : int(result.schedule.rows.size());
    exportCsv(description, rows, [&](const QString& path) {
        return years ? ReportExport::writeYearlyCsv(path, result, description)
                     : ReportExport::writeTableCsv(path, result, description);
    });
}

void ReportCommands::exportPdf(const LoanResult& result, const QString& description)
{
    exportPdfFile(description, int(result.schedule.rows.size()), [&](const QString& path) {
        PageProgress progress(m_parent, tr("Writing the report..."));
        const auto failure = ReportExport::writeReportPdf(path, result, description, std::ref(progress));
        return progress.cancelled() ? std::optional(QString()) : failure;
    });
}

void ReportCommands::exportComparisonTable(const std::vector<ComparedLoan>& loans)
{
    exportCsv(kComparison, kCompareRows, [&](const QString& path) { return ReportExport::writeComparisonCsv(path, loans); });
}

void ReportCommands::exportComparisonPdf(const std::vector<ComparedLoan>& loans)
{
    exportPdfFile(kComparison, kCompareRows,
                  [&](const QString& path) { return ReportExport::writeComparisonPdf(path, loans); });
}

void ReportCommands::exportCsv(const QString& description, int rows, const Writer& write)
{
    exportTo(description, tr("Export Table"), QStringLiteral("csv"), tr("CSV files (*.csv);;All files (*)"), rows,
             write);
}

void ReportCommands::exportPdfFile(const QString& description, int rows, const Writer& write)
{
    exportTo(description, tr("Export as PDF"), QStringLiteral("pdf"), tr("PDF files (*.pdf);;All files (*)"), rows,
             write);
}

void ReportCommands::exportTo(const QString& description, const QString& caption, const QString& suffix,
                              const QString& filter, int rows, const Writer& write)
{
    const QString suggested =
        QDir(m_exportFolder).filePath(ReportExport::suggestedFileName(description, suffix));
    QString path = m_askSaveFileName(caption, suggested, filter);
    if (path.isEmpty())
        return;
    // A name typed without the suffix still gets it.
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    m_exportFolder = QFileInfo(path).absolutePath();
    if (refuseStoreFile(path))
        return;
    if (const auto failure = write(path)) {
        if (!failure->isEmpty())
            m_messages.critical(m_parent, *failure);
    } else if (m_tellDone) {
        m_tellDone(QStringLiteral("%1 %2 written to \"%3\".")
                       .arg(QLocale().toString(rows), rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"),
                            QDir::toNativeSeparators(path)));
    }
}

bool ReportCommands::refuseStoreFile(const QString& path)
{
    // Writing an export or a printout over the loan store would lose every stored loan.
    if (path.isEmpty() || QFileInfo(path).canonicalFilePath() != QFileInfo(m_storePath).canonicalFilePath())
        return false;
    m_messages.critical(m_parent, QStringLiteral("The file \"%1\" could not be written: it holds the stored loans.")
                                      .arg(QDir::toNativeSeparators(path)));
    return true;
}

void ReportCommands::printPreview(const LoanResult& result, const QString& description,
                                  const QString& windowTitle)
{
    preview(description, windowTitle, [&](QPrinter& printer) {
        PageProgress progress(m_parent, tr("Preparing the preview..."));
        return LoanReport(result, description).paint(printer, std::ref(progress));
    });
}

void ReportCommands::print(const LoanResult& result, const QString& description)
{
    printWith(description, [&](QPrinter& printer) {
        PageProgress progress(m_parent, tr("Printing..."));
        // Cancelled, the print job is withdrawn rather than sent half done.
        const bool painted = LoanReport(result, description).paint(printer, [&](int done, int pages) {
            return progress(done, pages) || (printer.abort(), false);
        });
        return painted || progress.cancelled();
    });
}

void ReportCommands::printComparisonPreview(const std::vector<ComparedLoan>& loans)
{
    preview(kComparison, kComparison, [&](QPrinter& printer) { return CompareReport(loans).paint(printer); });
}

void ReportCommands::printComparison(const std::vector<ComparedLoan>& loans)
{
    printWith(kComparison, [&](QPrinter& printer) { return CompareReport(loans).paint(printer); });
}

void ReportCommands::preview(const QString& description, const QString& windowTitle, const Painter& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    ReportExport::setUpPrinter(printer, description);
    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("dlgPrintPreview"));
    dialog.setWindowTitle(tr("Print Preview - %1").arg(windowTitle));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter* target) { paint(*target); });
    m_runDialog(dialog);
}

void ReportCommands::printWith(const QString& description, const Painter& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    ReportExport::setUpPrinter(printer, description);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    m_runDialog(dialog);
    if (dialog.result() != QDialog::Accepted || refuseStoreFile(printer.outputFileName()))
        return;
    if (!paint(printer))
        m_messages.critical(m_parent, QStringLiteral("The report could not be printed: the printer could not be started."));
}
