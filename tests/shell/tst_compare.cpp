// The comparison window as the main window drives it: loans opened, run,
// renamed and closed, each followed by a refresh with every loan window.
#include "BalanceChart.h"
#include "CalculateLoan.h"
#include "CompareModel.h"
#include "LoanStore.h"
#include "ScriptedMessages.h"
#include "StoreFile.h"
#include "frmCompare.h"
#include "frmLoan.h"
#include "mdiMain.h"

#include <QtPrintSupport>
#include <QtWidgets>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QTableView>
#include <QTest>

namespace {

LoanResult run(const char* amount, const char* years)
{
    const LoanInputs in{QStringLiteral("Loan"), 2, QStringLiteral("6"), 1, QString::fromLatin1(years),
                        QString::fromLatin1(amount), QString(), QDate(2024, 1, 15)};
    auto outcome = calculateLoan(in, {}, false, QDate(2024, 1, 1));
    if (!std::holds_alternative<LoanResult>(outcome))
        qFatal("run failed");
    return std::get<LoanResult>(std::move(outcome));
}

QStringList headings(const QTableView& table)
{
    QStringList found;
    for (int c = 0; c < table.model()->columnCount(); ++c)
        found << table.model()->headerData(c, Qt::Horizontal).toString();
    return found;
}

QStringList row(const QTableView& table, CompareRow r)
{
    QStringList found;
    for (int c = 0; c < table.model()->columnCount(); ++c)
        found << table.model()->index(int(r), c).data().toString();
    return found;
}

template <class T> T* child(const QObject* parent, const char* name) { return parent->findChild<T*>(name); }

// The main window on a fresh store file, its questions answered by a script.
struct MainWindow {
    QTemporaryDir dir;
    std::unique_ptr<LoanStore> store;
    ScriptedMessages messages;
    FixedClock clock{QDate(2024, 1, 1)};
    std::unique_ptr<mdiMain> main;

    MainWindow()
    {
        const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
        if (const auto failure = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)))
            qFatal("cannot create the test store: %s", qPrintable(*failure));
        store = std::get<std::unique_ptr<LoanStore>>(LoanStore::open(path));
        main = std::make_unique<mdiMain>(*store, messages, clock);
        main->show();
        if (!QTest::qWaitForWindowExposed(main.get()))
            qFatal("main window not shown");
    }
    // A menu item by name, else the toolbar button of that key, clicked.
    void run(const char* command)
    {
        if (auto* action = main->findChild<QAction*>(command); action && QByteArray(command).startsWith("mnu"))
            action->trigger();
        auto* bar = child<QToolBar>(main.get(), "Toolbar1");
        for (QAction* a : bar->actions())
            if (a->data().toString() == QLatin1String(command))
                QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    frmCompare* compare() const
    {
        QMdiSubWindow* sub = main->mdiArea()->currentSubWindow();
        return sub ? qobject_cast<frmCompare*>(sub->widget()) : nullptr;
    }
    int compareWindows() const
    {
        int count = 0;
        for (QMdiSubWindow* sub : main->mdiArea()->subWindowList())
            count += qobject_cast<frmCompare*>(sub->widget()) && !sub->isHidden();
        return count;
    }
    void activate(QWidget* inside) { main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(inside->parentWidget())); }
};

// A monthly loan typed into a loan window.
void enter(frmLoan* w, const char* description, const char* years, const char* amount)
{
    child<QLineEdit>(w, "txtLoan")->setText(QString::fromLatin1(description));
    child<QComboBox>(w, "cboppt")->setCurrentIndex(2);
    child<QComboBox>(w, "cboTerm")->setCurrentIndex(1);
    child<QLineEdit>(w, "txtInterestRate")->setText(QStringLiteral("6"));
    child<QLineEdit>(w, "txtTerm")->setText(QString::fromLatin1(years));
    child<QLineEdit>(w, "txtLoanAmount")->setText(QString::fromLatin1(amount));
}

// Reads a CSV file back with Python's csv module.
QList<QStringList> readCsv(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"),
                                             QStringLiteral("import csv, json, sys\n"
                                                            "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                                            "    print(json.dumps(list(csv.reader(f, strict=True))))"),
                                             path});
    python.waitForFinished(60000);
    QList<QStringList> lines;
    for (const QJsonValue& line : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& field : line.toArray())
            fields << field.toString();
        lines << fields;
    }
    return lines;
}

}  // namespace

class tst_Compare : public QObject {
    Q_OBJECT
private slots:
    void compareModelMarksTheBest()
    {
        const LoanInputs car{QStringLiteral("Car"), 2, QStringLiteral("12"), 0, QStringLiteral("3"),
                             QStringLiteral("1000"), QString(), QDate(2024, 1, 15)};
        const ExtraPaymentRow lumpSum{engine::ExtraPaymentKind::LumpSum, QDate(2024, 2, 1), std::nullopt, 500.0};
        const LoanResult plain = std::get<LoanResult>(calculateLoan(car, {}, false, QDate(2024, 1, 1)));
        const LoanResult early = std::get<LoanResult>(calculateLoan(car, {lumpSum}, false, QDate(2024, 1, 1)));
        CompareModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setLoans({{"Plain", &plain}, {"Early", &early}, {"Untitled", nullptr}});
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.rowCount(), 13);
        QStringList captions, headings;
        for (int c = 0; c < model.columnCount(); ++c)
            captions << model.headerData(c, Qt::Horizontal).toString();
        for (int r = 0; r < model.rowCount(); ++r)
            headings << model.headerData(r, Qt::Vertical).toString();
        QCOMPARE(captions, (QStringList{"Plain", "Early", "Untitled"}));
        QCOMPARE(headings, (QStringList{"Loan Amount", "Payment", "Frequency", "Annual Rate", "Term",
                                        "First Payment", "Payments Made", "Payoff Date", "Total Interest",
                                        "Extra Payments", "Total Paid", "Interest Saved", "Payments Saved"}));
        QCOMPARE(model.index(0, 2).data().toString(), QString("Not calculated"));
        for (int r = 0; r < model.rowCount(); ++r) {
            const bool marked = r == int(CompareRow::PayoffDate) || r == int(CompareRow::TotalInterest) ||
                                r == int(CompareRow::TotalPaid);
            for (int c = 0; c < 3; ++c) {
                const bool best = marked && c == 1;
                const QModelIndex index = model.index(r, c);
                QCOMPARE(index.data(CompareModel::BestRole).toBool(), best);
                QCOMPARE(index.data(Qt::FontRole).value<QFont>().bold(), best);
                QCOMPARE(index.data(Qt::BackgroundRole).isValid(), best);
            }
        }
        model.setLoans({});
        QCOMPARE(model.columnCount(), 0);
    }

    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void followsTheLoanWindows()
    {
        const LoanResult house15 = run("200000", "15");
        const LoanResult house30 = run("200000", "30");
        const LoanResult car = run("20000", "5");
        frmCompare window;
        QCOMPARE(window.objectName(), QString("frmCompare"));
        QCOMPARE(window.windowTitle(), QString("Compare Loans"));
        auto* table = window.findChild<QTableView*>("flxCompare");
        QVERIFY(table);
        QCOMPARE(table->model(), window.model());
        QAbstractItemModelTester tester(table->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        struct Step { const char* name; std::vector<ComparedLoan> loans; QStringList captions, payoff;
                      int lines; };
        const Step steps[] = {
            {"threeOpened", {{"Untitled", nullptr}, {"Untitled", nullptr}, {"Untitled", nullptr}},
             {"Untitled", "Untitled", "Untitled"}, {"", "", ""}, 0},
            {"firstRun", {{"House 15", &house15}, {"Untitled", nullptr}, {"Untitled", nullptr}},
             {"House 15", "Untitled", "Untitled"}, {"12/15/2038", "", ""}, 1},
            {"allRun", {{"House 15", &house15}, {"House 30", &house30}, {"Car", &car}},
             {"House 15", "House 30", "Car"}, {"12/15/2038", "12/15/2053", "12/15/2028"}, 3},
            {"renamed", {{"Fifteen", &house15}, {"House 30", &house30}, {"Car", &car}},
             {"Fifteen", "House 30", "Car"}, {"12/15/2038", "12/15/2053", "12/15/2028"}, 3},
            {"middleClosed", {{"Fifteen", &house15}, {"Car", &car}}, {"Fifteen", "Car"},
             {"12/15/2038", "12/15/2028"}, 2},
            {"allClosed", {}, {}, {}, 0},
        };
        for (const Step& step : steps) {
            window.refresh(step.loans);
            QVERIFY2(headings(*table) == step.captions, step.name);
            QVERIFY2(row(*table, CompareRow::PayoffDate) == step.payoff, step.name);
            QVERIFY2(window.chart()->lineCount() == step.lines, step.name);
            for (int line = 0; line < step.lines; ++line)
                QVERIFY2(step.captions.contains(window.chart()->line(line).name), step.name);
            for (int c = 0; c < int(step.loans.size()); ++c)
                if (!step.loans[size_t(c)].result)
                    QCOMPARE(table->model()->index(0, c).data().toString(), QString("Not calculated"));
        }

        // The car costs least and ends first: each of its marks, and only its.
        window.refresh({{"House 15", &house15}, {"House 30", &house30}, {"Car", &car}});
        for (CompareRow r : {CompareRow::PayoffDate, CompareRow::TotalInterest, CompareRow::TotalPaid}) {
            QList<bool> best;
            for (int c = 0; c < 3; ++c)
                best << table->model()->index(int(r), c).data(CompareModel::BestRole).toBool();
            QCOMPARE(best, (QList<bool>{false, false, true}));
        }

        // Ctrl+C copies the table with its captions and its row headings.
        table->setFocus();
        table->selectAll();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 14);
        QCOMPARE(lines[0].split(QLatin1Char('\t')), (QStringList{"", "House 15", "House 30", "Car"}));
        QCOMPARE(lines[1].split(QLatin1Char('\t')), (QStringList{"Loan Amount", "$200,000.00", "$200,000.00", "$20,000.00"}));
        QCOMPARE(lines[13].split(QLatin1Char('\t')).first(), QString("Payments Saved"));
    }

    // Through the real menus: the comparison follows three loan windows as
    // they open, run, are renamed and close; the command brings the one
    // window back instead of opening a second; the File menu serves it.
    void followsTheMainWindowsLoans_data()
    {
        QTest::addColumn<QString>("how");  // the menu item or the toolbar button
        QTest::newRow("menu") << "mnuWindowCompare";
        QTest::newRow("toolbar") << "Compare";
    }
    void followsTheMainWindowsLoans()
    {
        QFETCH(QString, how);
        MainWindow m;
        const QByteArray command = how.toLatin1();
        m.run("mnuFileNew");
        m.run(command);
        frmCompare* compare = m.compare();
        QVERIFY(compare);
        QCOMPARE(compare->parentWidget()->windowTitle(), QString("Compare Loans"));
        auto* table = child<QTableView>(compare, "flxCompare");
        const auto captions = [&] { return headings(*table); };
        const auto payoffs = [&] { return row(*table, CompareRow::PayoffDate); };
        QCOMPARE(captions(), QStringList{"Untitled"});
        QCOMPARE(table->model()->index(0, 0).data().toString(), QString("Not calculated"));

        // Opened: new windows join at once, in window order.
        m.run("mnuFileNew");
        m.run("New");
        QList<frmLoan*> loans = m.main->openLoans();
        QCOMPARE(loans.size(), 3);
        QCOMPARE(captions(), (QStringList{"Untitled", "Untitled", "Untitled"}));
        // Run and renamed.
        enter(loans[0], "House 15", "15", "200000");
        enter(loans[1], "House 30", "30", "200000");
        enter(loans[2], "Car", "5", "20000");
        QCOMPARE(captions(), (QStringList{"House 15", "House 30", "Car"}));
        QCOMPARE(payoffs(), (QStringList{"", "", ""}));
        child<QPushButton>(loans[1], "cmdCalculate")->click();
        QCOMPARE(payoffs(), (QStringList{"", "12/1/2053", ""}));
        for (frmLoan* loan : loans)
            child<QPushButton>(loan, "cmdCalculate")->click();
        QCOMPARE(payoffs(), (QStringList{"12/1/2038", "12/1/2053", "12/1/2028"}));
        QCOMPARE(compare->chart()->lineCount(), 3);
        child<QLineEdit>(loans[0], "txtLoan")->setText("Fifteen");
        QCOMPARE(captions(), (QStringList{"Fifteen", "House 30", "Car"}));

        // The command again brings the one comparison to the front.
        m.activate(loans[2]);
        QCOMPARE(m.main->activeLoan(), loans[2]);
        m.run(command);
        QCOMPARE(m.compare(), compare);
        QCOMPARE(m.compareWindows(), 1);

        // Its table and chart through the File menu; the loan commands pass it by.
        const QStringList names{"mnuFileExportTable", "mnuFileExportPdf", "mnuFilePrintPreview", "mnuFilePrint",
                                "mnuFileSave", "mnuFileSaveAs", "mnuFileDelete", "mnuFileClose"};
        QList<bool> enabled;
        for (const QString& name : names)
            enabled << m.main->findChild<QAction*>(name)->isEnabled();
        QCOMPARE(enabled, (QList<bool>{true, true, true, true, false, false, false, true}));
        for (const char* loanCommand : {"mnuFileSave", "mnuFileSaveAs", "mnuFileDelete", "Save", "Copy", "Delete"})
            m.run(loanCommand);
        QVERIFY(m.messages.shown().isEmpty());
        QCOMPARE(m.main->openLoans().size(), 3);
        QVERIFY(m.store->listLoans().loans.empty());
        QString answer = m.dir.filePath("compare.csv");
        m.main->setSaveFileNameAsker([&](auto&&...) { return answer; });
        m.run("mnuFileExportTable");
        const QList<QStringList> csv = readCsv(answer);
        QCOMPARE(csv.size(), 14);
        QCOMPARE(csv[0], (QStringList{"", "Fifteen", "House 30", "Car"}));
        // Written like the table CSV: plain numbers and ISO dates a spreadsheet reads as such.
        const QList<QPair<CompareRow, QStringList>> figures{
            {CompareRow::LoanAmount, {"Loan Amount", "200000.00", "200000.00", "20000.00"}},
            {CompareRow::Payment, {"Payment", "1687.71", "1199.10", "386.66"}},
            {CompareRow::Frequency, {"Frequency", "Monthly", "Monthly", "Monthly"}},
            {CompareRow::AnnualRate, {"Annual Rate", "6", "6", "6"}},
            {CompareRow::Term, {"Term", "15 Years", "30 Years", "5 Years"}},
            {CompareRow::FirstPayment, {"First Payment", "2024-01-01", "2024-01-01", "2024-01-01"}},
            {CompareRow::PaymentsMade, {"Payments Made", "180", "360", "60"}},
            {CompareRow::PayoffDate, {"Payoff Date", "2038-12-01", "2053-12-01", "2028-12-01"}},
            {CompareRow::PaymentsSaved, {"Payments Saved", "0", "0", "0"}},
        };
        for (const auto& [figure, expected] : figures)
            QCOMPARE(csv[1 + int(figure)], expected);
        for (int line = 1; line < csv.size(); ++line)
            for (const QString& field : csv[line].mid(1))
                QVERIFY2(!field.contains('$') && !field.contains('/'), qPrintable(csv[line].join('|')));
        answer = m.dir.filePath("compare.pdf");
        m.run("mnuFileExportPdf");
        QProcess text;
        text.start("pdftotext", {"-layout", answer, "-"});
        QVERIFY(text.waitForFinished(60000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        for (const char* expected : {"Compare Loans", "Fifteen", "House 30", "Car", "Payments Made", "12/1/2053",
                                     "Payments Saved", "Page 1 of"})
            QVERIFY2(printed.contains(QLatin1String(expected)), qPrintable(QString(expected) + ": " + printed.left(3000)));
        int previewPages = 0;
        m.main->setDialogRunner([&](QDialog& dialog) {
            if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
                preview->updatePreview();
                previewPages = preview->pageCount();
            }
        });
        m.run("mnuFilePrintPreview");
        QVERIFY(previewPages >= 1);

        // The Window menu lists it among the loans.
        auto* menu = child<QMenu>(m.main.get(), "mnuWindow");
        emit menu->aboutToShow();
        QStringList listed;
        for (QAction* action : menu->actions())
            listed << action->text();
        QVERIFY2(listed.contains("&2 Compare Loans") && listed.contains("&1 Fifteen"), qPrintable(listed.join('|')));

        // Closed: the middle window leaves at once, the others keep their
        // colours; Exit asks only about loans.
        const QList<QColor> colours{compare->chart()->drawnColour(0), compare->chart()->drawnColour(1),
                                    compare->chart()->drawnColour(2)};
        QVERIFY(colours[0] != colours[1] && colours[1] != colours[2] && colours[0] != colours[2]);
        loans[1]->closeWithoutPrompt();
        QCoreApplication::processEvents();
        QCOMPARE(captions(), (QStringList{"Fifteen", "Car"}));
        QCOMPARE(compare->chart()->lineCount(), 2);
        QCOMPARE(compare->chart()->drawnColour(0), colours[0]);
        QCOMPARE(compare->chart()->drawnColour(1), colours[2]);
        // A new loan takes the freed colour, not one still in use.
        m.run("mnuFileNew");
        enter(m.main->openLoans().last(), "Boat", "10", "50000");
        child<QPushButton>(m.main->openLoans().last(), "cmdCalculate")->click();
        QCOMPARE(compare->chart()->lineCount(), 3);
        QCOMPARE(compare->chart()->drawnColour(2), colours[1]);
        m.activate(loans[0]);
        m.main->openLoans().last()->closeWithoutPrompt();
        QCoreApplication::processEvents();
        m.activate(compare);
        QVERIFY(m.main->closeAllLoans());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(captions(), QStringList{});
        QCOMPARE(m.compareWindows(), 1);
    }
};

QTEST_MAIN(tst_Compare)
#include "tst_compare.moc"
