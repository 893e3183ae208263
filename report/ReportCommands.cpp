#include "ReportCommands.h"

#include "CompareReport.h"
#include "LoanReport.h"
#include "Messages.h"
#include "ReportExport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace {

// The comparison's file name and the preview's caption.
const QString kComparison = QStringLiteral("Compare Loans");

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
    exportCsv(description, [&](const QString& path) {
        return years ? ReportExport::writeYearlyCsv(path, result, description)
                     : ReportExport::writeTableCsv(path, result, description);
    });
}

void ReportCommands::exportPdf(const LoanResult& result, const QString& description)
{
    exportPdfFile(description,
                  [&](const QString& path) { return ReportExport::writeReportPdf(path, result, description); });
}

void ReportCommands::exportComparisonTable(const std::vector<ComparedLoan>& loans)
{
    exportCsv(kComparison, [&](const QString& path) { return ReportExport::writeComparisonCsv(path, loans); });
}

void ReportCommands::exportComparisonPdf(const std::vector<ComparedLoan>& loans)
{
    exportPdfFile(kComparison, [&](const QString& path) { return ReportExport::writeComparisonPdf(path, loans); });
}

void ReportCommands::exportCsv(const QString& description, const Writer& write)
{
    exportTo(description, tr("Export Table"), QStringLiteral("csv"), tr("CSV files (*.csv);;All files (*)"), write);
}

void ReportCommands::exportPdfFile(const QString& description, const Writer& write)
{
    exportTo(description, tr("Export as PDF"), QStringLiteral("pdf"), tr("PDF files (*.pdf);;All files (*)"), write);
}

void ReportCommands::exportTo(const QString& description, const QString& caption, const QString& suffix,
                              const QString& filter, const Writer& write)
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
    if (const auto failure = write(path))
        m_messages.critical(m_parent, *failure);
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
    preview(description, windowTitle, [&](QPrinter& printer) { return LoanReport(result, description).paint(printer); });
}

void ReportCommands::print(const LoanResult& result, const QString& description)
{
    printWith(description, [&](QPrinter& printer) { return LoanReport(result, description).paint(printer); });
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
