// The PDF report read back by poppler, the commands that ask where to export
// and show the print dialogs, and the report's figures checked against the
// window's boxes.
#include "DateBox.h"
#include "LocaleText.h"
#include "ReportCommands.h"
#include "ReportExport.h"
#include "ReportFigures.h"
#include "ReportTestSupport.h"
#include "SummaryChart.h"
#include "CalculateLoan.h"
#include "Loans.h"
#include "ResultsTable.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QRegularExpression>
#include <QMap>
#include <QtTest>

namespace {

// The figures as the window's boxes show them after a run: each frame's title,
// then caption and the box's text (what the report printed when it read them).
QList<ReportGroup> windowFigures(const LoanWindowHarness& h)
{
    const auto frame = [&](const char* name) { return h.w<QGroupBox>(name)->title(); };
    const auto box = [&](const char* name) { return h.text(name); };
    QList<ReportGroup> groups = {
        {frame("fraLoan"),
         {{"Date of First Payment", LocaleText::shortDateText(h.w<DateBox>("dtStartDate")->date())},
          {"Frequency", h.w<QComboBox>("cboppt")->currentText()},
          {"Interest Rate", box("txtInterestRate") + " %"},
          {"Term", box("txtTerm") + ' ' + h.w<QComboBox>("cboTerm")->currentText()},
          {"Loan Amount", box("txtLoanAmount")},
          {"Payment Amount", box("txtPaymentAmount")}}},
        {frame("Frame2"),
         {{"Principal", box("txtPrincipal")},
          {"Extra Payments", box("txtExtraPayments")},
          {"Interest", box("txtInterest")},
          {"Total Principal Paid", box("txtTotalPrincipal")},
          {"Total All Payments", box("txtTotalPaid")}}},
        {frame("Frame3"),
         {{"Loan Amount", box("txtOrigLoanAmount")},
          {"Payoff Date", box("txtOrigPayoffDate")},
          {"Interest Paid", box("txtOrigInterestPaid")},
          {"Total All Payments", box("txtOrigTotalPaid")}}},
        {frame("Frame4"),
         {{"Principal Amount Paid Early", box("txtAdjExtraPayments")},
          {"Adjusted Payoff Date", box("txtAdjPayoffDate")},
          {"Adjusted Interest Paid", box("txtAdjInterestPaid")},
          {"Adjusted Total Payments", box("txtAdjTotalPaid")}}},
        {frame("Frame5"),
         {{"Number of Payments Saved", box("txtSavedPayments")},
          {"Total Saved", box("txtSavedTotal")}}},
    };
    // The note under an extra payments box, when it shows, on the line below.
    const std::pair<int, const char*> notes[] = {{1, "lblExtraPaymentsNote"}, {3, "lblAdjExtraPaymentsNote"}};
    for (const auto& [group, name] : notes) {
        const QLabel* note = h.w<QLabel>(name);
        auto& fields = groups[group].fields;
        if (!note->isHidden())
            fields.insert(group == 1 ? 2 : 1, {note->text(), QString()});
    }
    return groups;
}

// The captions of a frame's labels as read: without their colons and access
// keys ("Loan &Amount:" is "Loan Amount", "&&" one "&").
QStringList labelCaptions(const QGroupBox* frame)
{
    QStringList captions;
    for (const QLabel* label : frame->findChildren<QLabel*>()) {
        QString caption = label->text().remove(QLatin1Char(':'));
        for (qsizetype at = caption.indexOf(u'&'); at >= 0 && at < caption.size(); at = caption.indexOf(u'&', at + 1))
            caption.remove(at, 1);
        captions << caption;
    }
    return captions;
}

}  // namespace

class ReportPrintTest : public ReportFixture {
    Q_OBJECT

private slots:
    void initTestCase() { pinLocale(); }
    void init() { h = std::make_unique<LoanWindowHarness>(); }
    void cleanup() { h.reset(); }

    // The weekly 30-year loan: the totals of each year after the figures on
    // page 1, then every payment once and in order; each table's headings
    // and "Page n of m" on every page it reaches, the last balance 0.00.
    void pdfOfTheWeeklyThirtyYearLoan()
    {
        h->open();
        h->enterLoan(QStringLiteral("House"), 0, QStringLiteral("6"), 1, QStringLiteral("30"),
                     QStringLiteral("100000"), {}, QDate(2024, 1, 5));
        h->calculate();
        const auto report = h->window->lastResult();
        const int rows = int(report->schedule.rows.size());
        QVERIFY(rows > 1560);
        const QString path = h->dir.filePath(QStringLiteral("house.pdf"));
        QCOMPARE(ReportExport::writeReportPdf(path, *report, description()), std::nullopt);

        const QRegularExpression pagesLine(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption);
        const int pages = pagesLine.match(readWith(QStringLiteral("pdfinfo"), {path})).captured(1).toInt();
        const QStringList texts = readWith(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path,
                                                                          QStringLiteral("-")})
                                      .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QVERIFY(pages > 1);
        QCOMPARE(texts.size(), pages);

        const QRegularExpression rowLine(QStringLiteral("^\\s*(\\d{3,}) - \\d\\d/\\d\\d/\\d\\d\\s.*\\s(\\S+)\\s*$"),
                                         QRegularExpression::MultilineOption);
        const QString amount = QStringLiteral("\\s+[\\d,]+\\.\\d\\d");
        const QRegularExpression yearLine(QStringLiteral("^\\s*(\\d{4}|Total)\\s+([\\d,]+)") + amount.repeated(4) +
                                              QStringLiteral("(?:") + amount + QStringLiteral(")?\\s*$"),
                                          QRegularExpression::MultilineOption);
        QList<int> rowsOnPage, yearsOnPage;
        int next = 1, payments = 0;
        QStringList years;
        QString lastBalance;
        for (int page = 0; page < pages; ++page) {
            const QString& text = texts[page];
            QVERIFY2(text.contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages)), qPrintable(text.right(200)));
            int count = 0;
            for (auto it = yearLine.globalMatch(text); it.hasNext(); ++count) {
                const auto match = it.next();
                QVERIFY2(next == 1, "the years come before the payments");
                years << match.captured(1);
                if (match.captured(1) != QLatin1String("Total"))
                    payments += match.captured(2).toInt();
                else
                    QCOMPARE(match.captured(2).remove(QLatin1Char(',')).toInt(), rows);
            }
            yearsOnPage << count;
            count = 0;
            for (auto it = rowLine.globalMatch(text); it.hasNext(); ++count) {
                const auto match = it.next();
                QCOMPARE(match.captured(1).toInt(), next++);
                lastBalance = match.captured(2);
            }
            rowsOnPage << count;
            QStringList headings;
            if (yearsOnPage.last() > 0)
                headings << "Year" << "Payments" << "Principal" << "Extra" << "Interest" << "Total Paid" << "Balance Due";
            if (rowsOnPage.last() > 0)
                headings << "Payment" << "Principal" << "Interest" << "Balance" << "Date" << "Current" << "Extra"
                         << "Cummulitive" << "Due";
            QVERIFY2(!headings.isEmpty(), qPrintable(QStringLiteral("page %1 holds no table").arg(page + 1)));
            for (const QString& heading : std::as_const(headings))
                QVERIFY2(text.contains(heading), qPrintable(QStringLiteral("page %1: %2").arg(page + 1).arg(heading)));
        }
        QStringList expectedYears;
        for (int year = 2024; year <= int(report->schedule.rows.back().dueDate.year()); ++year)
            expectedYears << QString::number(year);
        QCOMPARE(years, expectedYears << QStringLiteral("Total"));
        QCOMPARE(payments, rows);
        QCOMPARE(next - 1, rows);
        QCOMPARE(lastBalance, QStringLiteral("0.00"));
        // Pages are full: the figures share page 1 with the first years, the
        // payments start right under the last year, every later page but the
        // last holds as many rows as the first full one, and no page is spare.
        QVERIFY(yearsOnPage[0] > 0);
        const int start = int(std::find_if(rowsOnPage.cbegin(), rowsOnPage.cend(), [](int n) { return n > 0; }) -
                              rowsOnPage.cbegin());
        QVERIFY(start + 2 < pages);
        QVERIFY(yearsOnPage[start] > 0 || (start > 0 && yearsOnPage[start - 1] > 0));
        const int full = rowsOnPage[start + 1];
        QVERIFY2(full >= 40, "a page of the table holds at least 40 rows");
        for (int page = start + 1; page + 1 < pages; ++page)
            QCOMPARE(rowsOnPage[page], full);
        QVERIFY(rowsOnPage.last() > 0);
        QCOMPARE(pages, start + 1 + (rows - rowsOnPage[start] + full - 1) / full);
    }

    // Every printed column is as wide as its widest text, wherever that row
    // stands and however large or negative the amount: each row reads back
    // cell by cell, none run together.
    void tableColumnsHoldTheirWidestTexts()
    {
        LoanResult result = calculated({.amount = 9999999999999.99, .term = 2});
        std::vector<engine::ScheduleRow>& rows = result.schedule.rows;
        rows[9].extra = 9999999999999.99;
        rows[5].principal = -999999999999.99;
        rows[7].interest = -0.01;
        const QString path = h->dir.filePath(QStringLiteral("wide.pdf"));
        QCOMPARE(ReportExport::writeReportPdf(path, result, QStringLiteral("Wide")), std::nullopt);
        const QString text = readWith(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        for (const engine::ScheduleRow& row : rows) {
            QStringList cells;
            for (int column = 0; column < kResultsColumns; ++column)
                cells << resultsCellText(row, ResultsColumn(column));
            const QString line = cells.join(QLatin1Char(' '));
            QVERIFY2(text.simplified().contains(line), qPrintable(line + "\n" + text));
        }
        // Nor does a cell reach into the next: on each line of a table, every
        // word ends before the next begins.
        const QRegularExpression word(QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)")re"));
        for (const QString& page : readWith(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")})
                                       .split(QStringLiteral("<page"))) {
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

    // Each export asks with its own caption and filter, suggests the
    // description as the file's name, and the next export suggests the
    // folder the last one went to.
    // A report that is stopped part-way (Cancel in its progress box) leaves
    // the file that was there as it was, and says nothing.
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
        h->open();
        h->carLoan(QDate(2024, 1, 15), QStringLiteral("360"));
        const QString path = h->dir.filePath(QStringLiteral("car.pdf"));
        if (existing) {
            QFile before(path);
            QVERIFY(before.open(QIODevice::WriteOnly) && before.write("before") == 6);
        }
        QList<int> told;
        const auto progress = [&](int done, int) {
            told << done;
            return stopAfter == 0 || done < stopAfter;
        };
        QCOMPARE(ReportExport::writeReportPdf(path, *h->window->lastResult(), description(), progress), std::nullopt);
        if (stopAfter > 0) {
            QCOMPARE(told.size(), stopAfter);
            QCOMPARE(contents(path), existing ? QByteArray("before") : QByteArray("<unreadable>"));
        } else {
            QVERIFY(told.size() > 3);
            QVERIFY(contents(path).startsWith("%PDF"));
        }
        QCOMPARE(QDir(h->dir.path()).entryList({"car*"}, QDir::Files), stopAfter && !existing ? QStringList()
                                                                                              : QStringList{"car.pdf"});
    }

    // Export as PDF of the longest weekly loan shows a progress box; its Cancel
    // stops the export without a file or a message.
    void longExportShowsProgressAndCancels()
    {
        h->open();
        h->enterLoan(QStringLiteral("Longest"), 0, QStringLiteral("6.5"), 0, QStringLiteral("7536"),
                     QStringLiteral("250000"), {}, QDate(2024, 1, 1));
        h->calculate();
        const auto report = h->window->lastResult();
        QCOMPARE(int(report->schedule.rows.size()), 32767);
        const QString path = h->dir.filePath(QStringLiteral("longest.pdf"));
        ReportCommands commands(h->messages, h->store->path(), h->window.get(), [](QDialog&) {});
        commands.setSaveFileNameAsker([&](auto&&...) { return path; });
        QStringList told;
        commands.setDoneTeller([&](const QString& text) { told << text; });
        bool cancelled = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = h->window->findChild<QProgressDialog*>(QStringLiteral("dlgReportProgress"));
            if (box && box->isVisible() && !cancelled) {
                cancelled = true;
                QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        poll.start(50);
        commands.exportPdf(*report, description());
        QVERIFY(cancelled);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(h->messages.shown().isEmpty() && told.isEmpty());
    }

    void exportCommandsAskAndRememberTheFolder_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("table") << false << "Export Table" << "CSV files (*.csv);;All files (*)" << "csv";
        QTest::newRow("pdf") << true << "Export as PDF" << "PDF files (*.pdf);;All files (*)" << "pdf";
    }
    void exportCommandsAskAndRememberTheFolder()
    {
        QFETCH(bool, pdf);
        QFETCH(QString, caption);
        QFETCH(QString, filter);
        QFETCH(QString, suffix);
        const auto report = carLoan(QStringLiteral("Car"));
        ReportCommands commands(h->messages, h->store->path(), nullptr, [](QDialog&) {});
        QVERIFY(QDir(h->dir.path()).mkdir(QStringLiteral("out")));
        QList<QStringList> asked;
        commands.setSaveFileNameAsker([&](const QString& c, const QString& suggested, const QString& f) {
            asked << QStringList{c, suggested, f};
            return h->dir.filePath(QStringLiteral("out/first"));
        });
        for (int i = 0; i < 2; ++i)
            pdf ? commands.exportPdf(*report, description()) : commands.exportTable(*report, description());
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0][0], caption);
        QCOMPARE(asked[0][2], filter);
        QCOMPARE(QFileInfo(asked[0][1]).fileName(), "Car." + suffix);
        QCOMPARE(asked[1], (QStringList{caption, h->dir.filePath("out/Car." + suffix), filter}));
        QVERIFY(QFileInfo::exists(h->dir.filePath("out/first." + suffix)));
        QCOMPARE(h->messages.shown().size(), 0);
    }

    // The balance chart in the PDF: its date labels whole (never "Jan 20…"),
    // on whole months for a 1-year loan and whole years for a 30-year loan.
    void pdfBalanceChartLabelsWhole_data()
    {
        QTest::addColumn<QString>("years");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("1 year") << "1" << QStringList{"Jan 2024", "Jul 2024"};
        QTest::newRow("30 years") << "30" << QStringList{"2030", "2040", "2050"};
    }
    void pdfBalanceChartLabelsWhole()
    {
        QFETCH(QString, years);
        QFETCH(QStringList, labels);
        auto outcome = calculateLoan({QStringLiteral("House"), 2, QStringLiteral("6"), 1, years,
                                      QStringLiteral("100000"), QString(), QDate(2024, 1, 15)},
                                     {}, false, QDate(2024, 1, 1));
        QVERIFY(std::holds_alternative<LoanResult>(outcome));
        const QString pdf = h->dir.filePath(QStringLiteral("chart.pdf"));
        QCOMPARE(ReportExport::writeReportPdf(pdf, std::get<LoanResult>(outcome), QStringLiteral("House")),
                 std::nullopt);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                 QStringLiteral("1"), QStringLiteral("-layout"), pdf,
                                                 QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(!page.contains(QChar(0x2026)), qPrintable(page));
        for (const QString& label : labels)
            QVERIFY2(page.contains(label), qPrintable(label + "\n" + page));
    }

    // The preview and the PDF are on the same paper, the region's: Letter
    // where the locale measures in inches, A4 elsewhere; so they have the
    // same pages.
    void previewAndPdfOnTheRegionsPaper_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("paper");  // QPageSize::PageSizeId
        QTest::newRow("United States") << "en_US" << int(QPageSize::Letter);
        QTest::newRow("Germany") << "de_DE" << int(QPageSize::A4);
        QTest::newRow("United Kingdom") << "en_GB" << int(QPageSize::A4);
        QTest::newRow("Japan") << "ja_JP" << int(QPageSize::A4);
    }
    void previewAndPdfOnTheRegionsPaper()
    {
        QFETCH(QString, locale);
        QFETCH(int, paper);
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([] { pinLocale(); });
        // A weekly 10-year loan: enough pages that A4 and Letter differ.
        auto outcome = calculateLoan({QStringLiteral("House"), 0, QStringLiteral("6"), 1, QStringLiteral("10"),
                                      QStringLiteral("100000"), QString(), QDate(2024, 1, 5)},
                                     {}, false, QDate(2024, 1, 1));
        QVERIFY(std::holds_alternative<LoanResult>(outcome));
        const LoanResult& result = std::get<LoanResult>(outcome);

        const QString pdf = h->dir.filePath(QStringLiteral("house.pdf"));
        QCOMPARE(ReportExport::writeReportPdf(pdf, result, QStringLiteral("House")), std::nullopt);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished(60000));
        const QString said = QString::fromUtf8(info.readAllStandardOutput());
        const auto field = [&](const char* name) {
            const auto match = QRegularExpression(QStringLiteral("^%1:\\s*(.*)$").arg(QLatin1String(name)),
                                                  QRegularExpression::MultilineOption).match(said);
            return match.captured(1).trimmed();
        };
        const int pdfPages = field("Pages").toInt();
        const QSizeF points = QPageSize(QPageSize::PageSizeId(paper)).size(QPageSize::Point);
        QVERIFY2(field("Page size").startsWith(QStringLiteral("%1 x %2 pts").arg(points.width()).arg(points.height())),
                 qPrintable(said));

        int previewPages = 0;
        QPageSize::PageSizeId previewPaper = QPageSize::Custom;
        ReportCommands commands(h->messages, h->store->path(), nullptr, [&](QDialog& dialog) {
            auto* preview = dialog.findChild<QPrintPreviewWidget*>();
            QVERIFY(preview);
            preview->updatePreview();
            previewPages = preview->pageCount();
            previewPaper = static_cast<QPrintPreviewDialog&>(dialog).printer()->pageLayout().pageSize().id();
        });
        commands.printPreview(result, QStringLiteral("House"), QStringLiteral("House"));
        QCOMPARE(int(previewPaper), paper);
        QVERIFY(pdfPages > 3);
        QCOMPARE(previewPages, pdfPages);
        QCOMPARE(h->messages.shown().size(), 0);
    }

    // The preview is captioned after the loan window; a print dialog that is
    // not accepted prints nothing.
    void printDialogs()
    {
        const auto report = carLoan(QStringLiteral("Car"));
        QStringList shown;
        ReportCommands commands(h->messages, h->store->path(), nullptr, [&](QDialog& dialog) {
            shown << dialog.objectName() + ": " + dialog.windowTitle();
        });
        commands.printPreview(*report, description(), QStringLiteral("Car loan"));
        commands.print(*report, description());
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0], "dlgPrintPreview: Print Preview - Car loan");
        QVERIFY2(shown[1].startsWith("dlgPrint: "), qPrintable(shown[1]));
        QCOMPARE(h->messages.shown().size(), 0);
    }

    // The report's figures are built from the run's result, the window's
    // boxes by the window: both must read the same, caption for caption, for
    // loans that derive the payment or the loan amount, with and without
    // extra payments, and with more than a thousand payments saved.
    void reportFiguresAreTheWindowsBoxes_data()
    {
        QTest::addColumn<QStringList>("loan");  // frequency, rate, term unit, term, amount, payment, first payment
        QTest::addColumn<QStringList>("lumpSum");  // date, amount; none when empty
        QTest::newRow("car loan") << QStringList{"2", "12", "0", "3", "1000", "", "2024-01-15"} << QStringList{};
        QTest::newRow("payment given, fractional rate, extra payment")
            << QStringList{"2", "6.5", "1", "30", "", "1500", "2024-02-29"} << QStringList{"2024-04-29", "5000"};
        QTest::newRow("weekly, over a thousand payments saved")
            << QStringList{"0", "6", "1", "30", "100000", "", "2024-01-05"} << QStringList{"2024-01-19", "90000"};
        QTest::newRow("bi-weekly at no interest, half-even term")
            << QStringList{"1", "0", "0", "24.5", "1234.56", "", "2023-12-31"} << QStringList{};
    }
    void reportFiguresAreTheWindowsBoxes()
    {
        QFETCH(QStringList, loan);
        QFETCH(QStringList, lumpSum);
        h->open();
        h->show();
        const QDate first = QDate::fromString(loan[6], Qt::ISODate);
        h->enterLoan("Figures", loan[0].toInt(), loan[1], loan[2].toInt(), loan[3], loan[4], loan[5], first);
        h->calculate();
        if (!lumpSum.isEmpty()) {
            h->tabs()->setCurrentIndex(1);
            h->addPayment(true, QDate::fromString(lumpSum[0], Qt::ISODate), {}, lumpSum[1]);
            h->click("cmdRecalculate");
        }
        QVERIFY2(h->messages.shown().isEmpty(), qPrintable(h->messages.texts().join('|')));
        const auto result = h->window->lastResult();
        QVERIFY(result);
        if (!lumpSum.isEmpty())
            QVERIFY(result->schedule.summary.extraPayments > 0);

        const QList<ReportGroup> shown = windowFigures(*h);
        const QList<ReportGroup> printed = reportGroups(*result);
        QCOMPARE(printed.size(), shown.size());
        for (qsizetype i = 0; i < printed.size(); ++i) {
            QCOMPARE(printed[i].title, shown[i].title);
            QCOMPARE(printed[i].fields, shown[i].fields);
        }
        // Every caption is one the window shows beside its box.
        const char* frames[] = {"fraLoan", "Frame2", "Frame3", "Frame4", "Frame5"};
        for (qsizetype i = 0; i < printed.size(); ++i)
            for (const auto& field : printed[i].fields)
                QVERIFY2(labelCaptions(h->w<QGroupBox>(frames[i])).contains(field.first), qPrintable(field.first));

        h->tabs()->setCurrentIndex(3);
        const auto* chart = h->w<SummaryChart>("chSummary");
        QCOMPARE(reportChartValues(*result), chart->values());
    }
};

QTEST_MAIN(ReportPrintTest)
#include "tst_report_print.moc"
