// Printing and exporting from the main window's File menu: when the commands
// are offered, the file names suggested and refused, and what is written.
#include "ShellFixture.h"

namespace {

// command: the menu item; answer: the file name given ("" cancels); written: the file that appears.
struct ExportCase { QString command, answer, written; QByteArray starts; bool error = false; };

}  // namespace

class ShellExportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

    // Printing and exporting wait for a calculated active window; without one
    // they do nothing at all.
    void exportCommandsFollowTheActiveWindow()
    {
        const QStringList names{"mnuFileExportTable", "mnuFileExportPdf", "mnuFilePrintPreview", "mnuFilePrint"};
        auto enabled = [&] {
            QList<bool> states;
            for (const QString& name : names)
                states << f->main->findChild<QAction*>(name)->isEnabled();
            return states;
        };
        const QList<bool> off(4, false), on(4, true);
        int asked = 0, dialogs = 0;
        f->main->setSaveFileNameAsker([&](auto&&...) { ++asked; return QString(); });
        f->main->setDialogRunner([&](QDialog&) { ++dialogs; });
        auto runAll = [&] {
            for (auto command : {ReportCommand::ExportTable, ReportCommand::ExportPdf, ReportCommand::PrintPreview,
                                 ReportCommand::Print})
                f->main->runReport(command);
        };
        QCOMPARE(enabled(), off);
        runAll();
        frmLoan* first = f->newWindow("House");
        QCOMPARE(enabled(), off);
        runAll();
        QVERIFY(asked == 0 && dialogs == 0);
        child<QPushButton>(first, "cmdCalculate")->click();
        QCOMPARE(enabled(), on);
        f->newWindow("Car");
        QCOMPARE(enabled(), off);
        f->main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QCOMPARE(enabled(), on);
    }

    void exportAndPrint_data()
    {
        QTest::addColumn<ExportCase>("c");
        QTest::newRow("table, suffix added") << ExportCase{"mnuFileExportTable", "out", "out.csv", "Loan,House: 30/6.5 %\r\nPayment,Date,"};
        QTest::newRow("PDF") << ExportCase{"mnuFileExportPdf", "out.pdf", "out.pdf", "%PDF"};
        QTest::newRow("cancelled") << ExportCase{"mnuFileExportTable", "", "", ""};
        QTest::newRow("missing folder") << ExportCase{"mnuFileExportPdf", "gone/out.pdf", "", "", true};
        QTest::newRow("over the loan store") << ExportCase{"mnuFileExportTable", "Brimvaledb.mdb", "", "", true};
        QTest::newRow("printed") << ExportCase{"mnuFilePrint", "out.pdf", "out.pdf", "%PDF"};
        QTest::newRow("print cancelled") << ExportCase{"mnuFilePrint", "", "", ""};
        QTest::newRow("printed over the loan store") << ExportCase{"mnuFilePrint", "Brimvaledb.mdb", "", "", true};
        QTest::newRow("printer fails to start") << ExportCase{"mnuFilePrint", "gone/out.pdf", "", "", true};
        QTest::newRow("preview") << ExportCase{"mnuFilePrintPreview", "", "", ""};
    }

    void exportAndPrint()
    {
        QFETCH(ExportCase, c);
        QStringList suggested;
        f->main->setSaveFileNameAsker([&](const QString&, const QString& path, const QString&) {
            suggested << path;
            return c.answer.isEmpty() ? QString() : f->dir.filePath(c.answer);
        });
        int previewPages = 0;
        // The print dialog's answer: print into a PDF file, or cancel.
        f->main->setDialogRunner([&](QDialog& dialog) {
            if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
                print->printer()->setOutputFormat(QPrinter::PdfFormat);
                print->printer()->setOutputFileName(f->dir.filePath(c.answer));
                print->done(c.answer.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
            } else if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
                preview->updatePreview();
                previewPages = preview->pageCount();
            }
        });
        frmLoan* w = f->newWindow("House: 30/6.5 %");
        child<QPushButton>(w, "cmdCalculate")->click();
        f->run(c.command);

        if (c.command.startsWith("mnuFileExport")) {
            QCOMPARE(suggested.size(), 1);
            QCOMPARE(QFileInfo(suggested[0]).fileName(), c.command.endsWith("Pdf") ? "House 30 6.5 %.pdf" : "House 30 6.5 %.csv");
        }
        QCOMPARE(previewPages > 1, c.command == "mnuFilePrintPreview");
        QCOMPARE(f->messages.texts(Kind::Critical).size(), c.error ? 1 : 0);
        // A written export says how many rows went where.
        const bool exported = c.command.startsWith("mnuFileExport") && !c.written.isEmpty();
        QCOMPARE(f->main->statusBar()->currentMessage(),
                 exported ? QStringLiteral("360 rows written to \"%1\".").arg(f->dir.filePath(c.written)) : QString());
        QCOMPARE(QDir(f->dir.path()).entryList({"out*"}, QDir::Files), c.written.isEmpty() ? QStringList() : QStringList{c.written});
        QFile store(f->path);
        QVERIFY(store.open(QIODevice::ReadOnly) && store.read(16) == QByteArray("SQLite format 3", 16));
        if (!c.written.isEmpty()) {
            QFile file(f->dir.filePath(c.written));
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().startsWith(c.starts));
        }
    }
};

QTEST_MAIN(ShellExportTest)
#include "tst_shell_export.moc"
