// Printing and exporting from the main window's File menu: when the commands
// are offered, the file names suggested and refused, what is written and what
// the status bar then says.
#include "ShellFixture.h"

namespace {

// command: the menu item; answer: the file name given ("" cancels); written: the file that appears.
struct ExportCase { QString command, answer, written; QByteArray starts; bool error = false; };

}  // namespace

class ShellExportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

private slots:
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

    // Printing and exporting wait for a calculated active window.
    void commandsFollowTheActiveWindow()
    {
        const auto enabled = [&] {
            QList<bool> states;
            for (const char* name : {"mnuFileExportTable", "mnuFileExportPdf", "mnuFilePrintPreview", "mnuFilePrint"})
                states << f->main->findChild<QAction*>(name)->isEnabled();
            return states;
        };
        const QList<bool> off(4, false), on(4, true);
        QCOMPARE(enabled(), off);
        frmLoan* first = f->calculatedLoan("House");
        QCOMPARE(enabled(), on);
        f->typeLoan("Car");
        QCOMPARE(enabled(), off);
        f->main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QCOMPARE(enabled(), on);
    }

    void exportAndPrint_data()
    {
        QTest::addColumn<ExportCase>("c");
        QTest::newRow("table, suffix added") << ExportCase{"mnuFileExportTable", "out", "out.csv", "Loan,House: 30/6.5 %,Amount Financed,"};
        QTest::newRow("PDF") << ExportCase{"mnuFileExportPdf", "out.pdf", "out.pdf", "%PDF"};
        QTest::newRow("cancelled") << ExportCase{"mnuFileExportTable", "", "", ""};
        QTest::newRow("missing folder") << ExportCase{"mnuFileExportPdf", "gone/out.pdf", "", "", true};
        QTest::newRow("over the loan store") << ExportCase{"mnuFileExportTable", "Brimvaledb.mdb", "", "", true};
        QTest::newRow("printed") << ExportCase{"mnuFilePrint", "out.pdf", "out.pdf", "%PDF"};
        QTest::newRow("printed over the loan store") << ExportCase{"mnuFilePrint", "Brimvaledb.mdb", "", "", true};
        QTest::newRow("preview") << ExportCase{"mnuFilePrintPreview", "", "", ""};
    }
    void exportAndPrint()
    {
        QFETCH(ExportCase, c);
        QStringList suggested;
        f->main->setSaveFileNameAsker([&](const QString&, const QString& path, const QString&) {
            suggested << QFileInfo(path).fileName();
            return c.answer.isEmpty() ? QString() : QDir(f->store.folder()).filePath(c.answer);
        });
        int previewPages = 0;
        // The print dialog's answer: print into a PDF file, or cancel.
        f->main->setDialogRunner([&](QDialog& dialog) {
            if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
                print->printer()->setOutputFormat(QPrinter::PdfFormat);
                print->printer()->setOutputFileName(QDir(f->store.folder()).filePath(c.answer));
                print->done(c.answer.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
            } else if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
                preview->updatePreview();
                previewPages = preview->pageCount();
            }
        });
        f->calculatedLoan("House: 30/6.5 %");
        const QByteArray store = rawBytes(f->store.path());
        f->run(c.command);

        const bool exported = c.command.startsWith("mnuFileExport");
        QCOMPARE(suggested, exported ? QStringList{c.command.endsWith("Pdf") ? "House 30 6.5 %.pdf" : "House 30 6.5 %.csv"}
                                     : QStringList());
        QCOMPARE(previewPages > 1, c.command == "mnuFilePrintPreview");
        QCOMPARE(f->messages.texts(Kind::Critical).size(), c.error ? 1 : 0);
        const QString written = QDir(f->store.folder()).filePath(c.written);
        QCOMPARE(f->status(), exported && !c.written.isEmpty() ? QStringLiteral("360 rows written to \"%1\".").arg(written)
                                                                : QString());
        QCOMPARE(QDir(f->store.folder()).entryList({"out*"}, QDir::Files), c.written.isEmpty() ? QStringList() : QStringList{c.written});
        QCOMPARE(rawBytes(f->store.path()), store);
        if (!c.written.isEmpty())
            QVERIFY(rawBytes(written).startsWith(c.starts));
    }
};

QTEST_MAIN(ShellExportTest)
#include "tst_shell_export.moc"
