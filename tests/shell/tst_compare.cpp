// The comparison: its model's marks, and its window as the main window drives
// it: loans opened, run, renamed and closed, copied, exported and printed.
#include "BalanceChart.h"
#include "CompareModel.h"
#include "ShellFixture.h"
#include "frmCompare.h"

#include <QAbstractItemModelTester>

namespace {

QStringList rowTexts(const QAbstractItemModel& model, int row)
{
    QStringList found;
    for (int c = 0; c < model.columnCount(); ++c)
        found << (row < 0 ? model.headerData(c, Qt::Horizontal) : model.index(row, c).data()).toString();
    return found;
}

// Reads a file back with another program: its standard output.
QString readWith(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

}  // namespace

class tst_Compare : public QObject {
    Q_OBJECT
private slots:
    // The loan that costs least and ends first is marked in those rows only;
    // a window without a run says so.
    void modelMarksTheBest()
    {
        pinUnitedStates();
        const SampleLoan car{.amount = 1000.0, .ratePercent = 12.0, .term = 3, .unit = engine::TermUnit::Months};
        const LoanResult plain = calculated(car);
        const LoanResult early = calculated(car, {{engine::ExtraPaymentKind::LumpSum, QDate(2024, 2, 1), std::nullopt, 500.0}});
        CompareModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setLoans({{"Plain", &plain}, {"Early", &early}, {"Untitled", nullptr}});
        QCOMPARE(rowTexts(model, -1), (QStringList{"Plain", "Early", "Untitled"}));
        QCOMPARE(model.index(0, 2).data().toString(), "Not calculated");
        for (int r = 0; r < model.rowCount(); ++r) {
            const bool marked = r == int(CompareRow::PayoffDate) || r == int(CompareRow::TotalInterest) ||
                                r == int(CompareRow::TotalPaid);
            for (int c = 0; c < 3; ++c)
                // The extra payment leaves the APR, which is the loan's as agreed, tied.
                QCOMPARE(model.index(r, c).data(Qt::FontRole).value<QFont>().bold(),
                         (marked && c == 1) || (r == int(CompareRow::AnnualPercentageRate) && c < 2));
        }
    }

    // Through the menu or the toolbar: the one comparison follows three loan
    // windows at once, serves the File menu's table, PDF and preview, keeps
    // each loan's colour while its window is open, and is no loan to the
    // loan commands or to Exit.
    void followsTheMainWindowsLoans_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("menu") << "mnuWindowCompare";
        QTest::newRow("toolbar") << "Compare";
    }
    void followsTheMainWindowsLoans()
    {
        QFETCH(QString, command);
        ShellFixture f;
        f.run("mnuFileNew");
        f.run(command);
        auto* compare = f.main->findChild<frmCompare*>();
        QVERIFY(compare);
        const QAbstractItemModel& table = *compare->table()->model();
        const auto payoffs = [&] { return rowTexts(table, int(CompareRow::PayoffDate)); };
        QCOMPARE(rowTexts(table, -1), QStringList{"Untitled"});

        f.main->openLoans().first()->closeWithoutPrompt();
        QList<frmLoan*> loans{f.typeLoan("Five", "5"), f.typeLoan("Six", "6"), f.typeLoan("Seven", "7")};
        QCOMPARE(rowTexts(table, -1), (QStringList{"Five", "Six", "Seven"}));
        QTest::mouseClick(child<QPushButton>(loans[1], "cmdCalculate"), Qt::LeftButton);
        QCOMPARE(payoffs(), (QStringList{"", "12/15/2055", ""}));
        for (frmLoan* loan : loans)
            QTest::mouseClick(child<QPushButton>(loan, "cmdCalculate"), Qt::LeftButton);
        QCOMPARE(compare->chart()->lineCount(), 3);
        typeInto(child<QWidget>(loans[0], "txtLoan"), "Fifteen");
        QCOMPARE(rowTexts(table, -1), (QStringList{"Fifteen", "Six", "Seven"}));

        // The command again brings the one comparison to the front.
        f.main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(loans[2]->parentWidget()));
        f.run(command);
        QCOMPARE(f.main->mdiArea()->currentSubWindow()->widget(), compare);
        QCOMPARE(f.main->findChildren<frmCompare*>().size(), 1);

        // Ctrl+C copies the table with its captions and row headings.
        compare->table()->setFocus();
        compare->table()->selectAll();
        QTest::keyClick(compare->table(), Qt::Key_C, Qt::ControlModifier);
        const QStringList copied = QApplication::clipboard()->text().split('\n');
        QCOMPARE(copied.value(0).split('\t'), (QStringList{"", "Fifteen", "Six", "Seven"}));
        QCOMPARE(copied.value(1).split('\t'), (QStringList{"Loan Amount", "$150,000.00", "$150,000.00", "$150,000.00"}));

        // The loan commands pass it by; the File menu writes its table and PDF.
        for (const char* loanCommand : {"mnuFileSave", "mnuFileSaveAs", "mnuFileDelete", "Save", "Copy", "Delete"})
            f.run(loanCommand);
        QVERIFY(f.messages.shown().isEmpty() && f.storedDescriptions().isEmpty());
        QString answer = QDir(f.store.folder()).filePath("compare.csv");
        f.main->setSaveFileNameAsker([&](auto&&...) { return answer; });
        f.run("mnuFileExportTable");
        const QString csv = readWith("python3", {"-c",
                                                 "import csv, sys\n"
                                                 "for r in csv.reader(open(sys.argv[1], newline='', encoding='utf-8'), strict=True):\n"
                                                 "    print('|'.join(r))",
                                                 answer});
        QVERIFY2(csv.startsWith("|Fifteen|Six|Seven\nLoan Amount|150000.00|150000.00|150000.00\n"), qPrintable(csv));
        QVERIFY2(csv.contains("\nAnnual Rate|5|6|7\n") && csv.contains("\nPayoff Date|2055-12-15|2055-12-15|2055-12-15\n"),
                 qPrintable(csv));
        answer = QDir(f.store.folder()).filePath("compare.pdf");
        f.run("mnuFileExportPdf");
        const QString printed = readWith("pdftotext", {"-layout", answer, "-"});
        for (const char* expected : {"Compare Loans", "Fifteen", "Seven", "Payments Made", "12/15/2055", "Page 1 of"})
            QVERIFY2(printed.contains(QLatin1String(expected)), expected);
        QCOMPARE(f.status(), QStringLiteral("16 rows written to \"%1\".").arg(answer));

        // Closed: the middle loan leaves at once, the others keep their
        // colours, a new loan takes the freed one; Exit asks about loans only.
        const QColor colours[] = {compare->chart()->drawnColour(0), compare->chart()->drawnColour(1),
                                  compare->chart()->drawnColour(2)};
        loans[1]->closeWithoutPrompt();
        QCoreApplication::processEvents();
        QCOMPARE(rowTexts(table, -1), (QStringList{"Fifteen", "Seven"}));
        QCOMPARE(compare->chart()->drawnColour(1), colours[2]);
        f.calculatedLoan("Boat");
        QCOMPARE(compare->chart()->drawnColour(2), colours[1]);
        QVERIFY(colours[0] != colours[1] && colours[1] != colours[2]);
        for (frmLoan* loan : f.main->openLoans())
            loan->markUnchanged();
        f.main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(compare->parentWidget()));
        QVERIFY(f.main->closeAllLoans());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(rowTexts(table, -1), QStringList{});
        QVERIFY(f.messages.shown().isEmpty());
    }
};

QTEST_MAIN(tst_Compare)
#include "tst_compare.moc"
