#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <optional>

class Messages;
class QDialog;
class QWidget;
struct LoanResult;

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

    void exportTable(const LoanResult& result, const QString& description);
    void exportPdf(const LoanResult& result, const QString& description);
    // The preview's caption names the loan window (windowTitle).
    void printPreview(const LoanResult& result, const QString& description, const QString& windowTitle);
    void print(const LoanResult& result, const QString& description);

private:
    using Writer = std::optional<QString> (*)(const QString&, const LoanResult&, const QString&);
    void exportTo(const LoanResult& result, const QString& description, const QString& caption,
                  const QString& suffix, const QString& filter, Writer write);
    // True, with a message, when path is the loan store's own file.
    bool refuseStoreFile(const QString& path);

    Messages& m_messages;
    QString m_storePath;
    QWidget* m_parent;
    DialogRunner m_runDialog;
    SaveFileNameAsker m_askSaveFileName;
    QString m_exportFolder;
};
