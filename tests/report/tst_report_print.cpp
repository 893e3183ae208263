// The PDF report read back by poppler, and the commands that ask where to
// export it, show its progress, preview it and print it.
#include "ReportCommands.h"
#include "ReportExport.h"
#include "ReportTestSupport.h"
#include "ResultsTable.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>

namespace {

// The text of each page, as pdftotext lays it out.
QStringList pages(const QString& path, const QStringList& options = {})
{
    return readWith("pdftotext", options + QStringList{"-layout", path, "-"}).split('\f', Qt::SkipEmptyParts);
}

}  // namespace

class ReportPrintTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ReportFolder> f;

private slots:
    void init()
    {
        pinUnitedStates();
        f = std::make_unique<ReportFolder>();
    }

    // The weekly 30-year loan: the years after the figures on page 1, then
    // every payment once and in order, the last balance 0.00; each table's
    // headings and "Page n of m" on every page it reaches; pages full.
    void pdfOfTheWeeklyThirtyYearLoan()
    {
        const LoanResult house = calculated({.frequency = engine::PaymentFrequency::Weekly});
        const int rows = int(house.schedule.rows.size());
        QCOMPARE(ReportExport::writeReportPdf(f->file("house.pdf"), house, "House"), std::nullopt);
        const QStringList texts = pages(f->file("house.pdf"));
        const QRegularExpression rowLine("^\\s*(\\d{3,}) - \\d\\d/\\d\\d/\\d\\d\\s.*\\s(\\S+)\\s*$", QRegularExpression::MultilineOption);
        const QRegularExpression yearLine("^\\s*(\\d{4}|Total)\\s+[\\d,]+(\\s+[\\d,]+\\.\\d\\d){4,5}\\s*$", QRegularExpression::MultilineOption);
        QList<int> rowsOnPage;
        int next = 1, years = 0;
        QString lastBalance;
        for (qsizetype page = 0; page < texts.size(); ++page) {
            const QString& text = texts[page];
            QVERIFY(text.contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(texts.size())));
            const int yearsBefore = years;
            for (auto it = yearLine.globalMatch(text); it.hasNext(); it.next(), ++years)
                QVERIFY2(next == 1, "the years come before the payments");
            rowsOnPage << 0;
            for (auto it = rowLine.globalMatch(text); it.hasNext(); ++rowsOnPage.last()) {
                const auto match = it.next();
                QCOMPARE(match.captured(1).toInt(), next++);
                lastBalance = match.captured(2);
            }
            QVERIFY(years == yearsBefore || text.contains("Balance Due"));
            QVERIFY(rowsOnPage.last() == 0 || text.contains("Cummulitive"));
        }
        QCOMPARE(years, int(house.schedule.rows.back().dueDate.year()) - 2024 + 2);  // each and the Total
        QCOMPARE(next - 1, rows);
        QCOMPARE(lastBalance, "0.00");
        // Every page of payments but the first and the last holds as many rows.
        qsizetype first = 0;
        while (rowsOnPage[first] == 0)
            ++first;
        QVERIFY(first + 2 < rowsOnPage.size() && rowsOnPage[first + 1] >= 40);
        for (qsizetype page = first + 1; page + 1 < rowsOnPage.size(); ++page)
            QCOMPARE(rowsOnPage[page], rowsOnPage[first + 1]);
    }

    // Every printed column is as wide as its widest text, wherever that row
    // stands and however large or negative the amount: each row reads back
    // cell by cell, and no word reaches into the next.
    void tableColumnsHoldTheirWidestTexts()
    {
        LoanResult result = calculated({.amount = 9000000000000.0, .term = 2});
        std::vector<engine::ScheduleRow>& rows = result.schedule.rows;
        rows[9].extra = 9999999999999.99;
        rows[5].principal = -999999999999.99;
        rows[7].interest = -0.01;
        const QString path = f->file("wide.pdf");
        QCOMPARE(ReportExport::writeReportPdf(path, result, "Wide"), std::nullopt);
        const QString text = pages(path).join(' ').simplified();
        for (const engine::ScheduleRow& row : rows) {
            QStringList cells;
            for (int column = 0; column < kResultsColumns; ++column)
                cells << resultsCellText(row, ResultsColumn(column));
            QVERIFY2(text.contains(cells.join(' ')), qPrintable(cells.join(' ')));
        }
        const QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)")re");
        for (const QString& page : readWith("pdftotext", {"-bbox", path, "-"}).split("<page")) {
            QMap<int, QList<std::pair<double, double>>> lines;  // by the words' top, their spans
            for (auto it = word.globalMatch(page); it.hasNext();) {
                const auto m = it.next();
                lines[qRound(m.captured(2).toDouble() * 4)].append({m.captured(1).toDouble(), m.captured(3).toDouble()});
            }
            for (auto& spans : lines) {
                std::sort(spans.begin(), spans.end());
                for (qsizetype i = 1; i < spans.size(); ++i)
                    QVERIFY2(spans[i - 1].second < spans[i].first, qPrintable(QString::number(spans[i].first)));
            }
        }
    }

    // A report stopped part-way (Cancel in its progress box) leaves the file
    // that was there as it was, and says nothing.
    void stoppedPdfLeavesNoFile_data()
    {
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<bool>("existing");
        QTest::newRow("after the first page") << 1 << false;
        QTest::newRow("after the third page, over a file") << 3 << true;
        QTest::newRow("never") << 0 << false;
    }
    void stoppedPdfLeavesNoFile()
    {
        QFETCH(int, stopAfter);
        QFETCH(bool, existing);
        const QString path = f->file("car.pdf");
        if (existing) {
            QFile before(path);
            QVERIFY(before.open(QIODevice::WriteOnly) && before.write("before") == 6);
        }
        int told = 0;
        const auto progress = [&](int done, int) { return ++told, stopAfter == 0 || done < stopAfter; };
        QCOMPARE(ReportExport::writeReportPdf(path, calculated({.term = 30}), "Car", progress), std::nullopt);
        QVERIFY(stopAfter ? told == stopAfter : told > 3);
        QCOMPARE(contents(path).left(6), stopAfter == 0 ? QByteArray("%PDF-1") : existing ? "before" : "<unrea");
        QCOMPARE(QDir(f->dir.path()).entryList(QDir::Files).size(), stopAfter && !existing ? 0 : 1);
    }

    // Export as PDF of the longest weekly loan shows a progress box; its
    // Cancel stops the export without a file, a message or word of rows written.
    void longExportShowsProgressAndCancels()
    {
        const LoanResult longest = calculated({.ratePercent = 6.5, .term = 7536, .unit = engine::TermUnit::Months,
                                               .frequency = engine::PaymentFrequency::Weekly});
        QCOMPARE(int(longest.schedule.rows.size()), 32767);
        QWidget window;
        ReportCommands commands(f->messages, f->store(), &window, [](QDialog&) {});
        commands.setSaveFileNameAsker([&](auto&&...) { return f->file("longest.pdf"); });
        QStringList told;
        commands.setDoneTeller([&](const QString& text) { told << text; });
        bool cancelled = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = window.findChild<QProgressDialog*>("dlgReportProgress");
            if (box && box->isVisible() && !cancelled) {
                cancelled = true;
                QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        poll.start(50);
        commands.exportPdf(longest, "Longest");
        QVERIFY(cancelled && !QFileInfo::exists(f->file("longest.pdf")));
        QVERIFY(f->messages.shown().isEmpty() && told.isEmpty());
    }

    // Each export asks with its own caption and filter, suggests the
    // description as the file's name, and the next export the folder the
    // last one went to; it then says how many rows went where.
    void exportCommandsAskAndRememberTheFolder_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("filter");
        QTest::newRow("csv") << false << "Export Table" << "CSV files (*.csv);;All files (*)";
        QTest::newRow("pdf") << true << "Export as PDF" << "PDF files (*.pdf);;All files (*)";
    }
    void exportCommandsAskAndRememberTheFolder()
    {
        QFETCH(bool, pdf);
        QFETCH(QString, caption);
        QFETCH(QString, filter);
        const QString suffix = pdf ? "pdf" : "csv";
        const LoanResult car = calculated(kCarLoan);
        ReportCommands commands(f->messages, f->store(), nullptr, [](QDialog&) {});
        QVERIFY(QDir(f->dir.path()).mkdir("out"));
        QList<QStringList> asked;
        commands.setSaveFileNameAsker([&](const QString& c, const QString& suggested, const QString& filter) {
            asked << QStringList{c, suggested, filter};
            return f->file("out/first");
        });
        QStringList told;
        commands.setDoneTeller([&](const QString& text) { told << text; });
        for (int i = 0; i < 2; ++i)
            pdf ? commands.exportPdf(car, "Car") : commands.exportTable(car, "Car", i == 1);
        QCOMPARE(asked.value(1), (QStringList{caption, f->file("out/Car." + suffix), filter}));
        QCOMPARE(QFileInfo(asked.value(0).value(1)).fileName(), "Car." + suffix);
        QCOMPARE(told.value(0), QStringLiteral("3 rows written to \"%1\".").arg(f->file("out/first." + suffix)));
        QCOMPARE(told.value(1).left(7), pdf ? "3 rows " : "2 rows ");  // the years: 2024 and the Total
        QVERIFY(f->messages.shown().isEmpty());
    }

    // The balance chart in the PDF: its date labels whole, on whole months
    // for a 1-year loan and whole years for a 30-year loan.
    void pdfBalanceChartLabelsWhole_data()
    {
        QTest::addColumn<int>("years");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("1 year") << 1 << QStringList{"Jan 2024", "Jul 2024"};
        QTest::newRow("30 years") << 30 << QStringList{"2030", "2040", "2050"};
    }
    void pdfBalanceChartLabelsWhole()
    {
        QFETCH(int, years);
        QFETCH(QStringList, labels);
        QCOMPARE(ReportExport::writeReportPdf(f->file("chart.pdf"), calculated({.term = years}), "House"), std::nullopt);
        const QString page = pages(f->file("chart.pdf"), {"-l", "1"}).value(0);
        QVERIFY2(!page.contains(QChar(0x2026)), qPrintable(page));
        for (const QString& label : labels)
            QVERIFY2(page.contains(label), qPrintable(label + "\n" + page));
    }

    // The preview and the PDF are on the region's paper, Letter where the
    // locale measures in inches, A4 elsewhere: the same pages.
    void previewAndPdfOnTheRegionsPaper_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("paper");  // QPageSize::PageSizeId
        QTest::newRow("United States") << "en_US" << int(QPageSize::Letter);
        QTest::newRow("Germany") << "de_DE" << int(QPageSize::A4);
    }
    void previewAndPdfOnTheRegionsPaper()
    {
        QFETCH(QString, locale);
        QFETCH(int, paper);
        PinnedLocale region{QLocale(locale)};
        // A weekly 10-year loan: enough pages that A4 and Letter differ.
        const LoanResult house = calculated({.term = 10, .frequency = engine::PaymentFrequency::Weekly,
                                             .firstPayment = QDate(2024, 1, 5)});
        QCOMPARE(ReportExport::writeReportPdf(f->file("house.pdf"), house, "House"), std::nullopt);
        const QString info = readWith("pdfinfo", {f->file("house.pdf")});
        const QSizeF points = QPageSize(QPageSize::PageSizeId(paper)).size(QPageSize::Point);
        QVERIFY2(info.contains(QStringLiteral("%1 x %2 pts").arg(points.width()).arg(points.height())), qPrintable(info));
        int previewPages = 0;
        QPageSize::PageSizeId previewPaper = QPageSize::Custom;
        ReportCommands commands(f->messages, f->store(), nullptr, [&](QDialog& dialog) {
            auto* preview = dialog.findChild<QPrintPreviewWidget*>();
            preview->updatePreview();
            previewPages = preview->pageCount();
            previewPaper = static_cast<QPrintPreviewDialog&>(dialog).printer()->pageLayout().pageSize().id();
        });
        commands.printPreview(house, "House", "House");
        QCOMPARE(int(previewPaper), paper);
        QVERIFY(previewPages > 3);
        QCOMPARE(previewPages, pages(f->file("house.pdf")).size());
    }
};

QTEST_MAIN(ReportPrintTest)
#include "tst_report_print.moc"
