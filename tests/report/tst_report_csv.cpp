// Taking a calculated loan out as CSV: byte for byte and read back by
// Python's csv module, writes into a folder that refuses them (CSV and PDF),
// and the file names suggested from the description.
#include "LoanComparison.h"
#include "ReportCommands.h"
#include "ReportExport.h"
#include "ReportTestSupport.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

#include <sys/fsuid.h>
#include <unistd.h>

namespace {

const QString kTricky = QStringLiteral("Car, \"red\"\nloan – 5 000 €");

// Permissions do not bind the superuser: while this lives, the thread's file
// accesses are checked as "nobody" (which also drops the override capabilities).
struct Unprivileged {
    Unprivileged()
    {
        if (::geteuid() == 0) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
    }
    ~Unprivileged()
    {
        if (::geteuid() == 0) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
};

}  // namespace

class ReportCsvTest : public ReportFixture {
    Q_OBJECT

private slots:
    void initTestCase() { pinLocale(); }
    void init() { h = std::make_unique<LoanWindowHarness>(); }
    void cleanup() { h.reset(); }

    void csvOfTheWorkedExample_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QByteArray>("loanField");
        QTest::newRow("plain") << QStringLiteral("Car") << QByteArray("Car");
        QTest::newRow("comma, quote and line break quoted")
            << QStringLiteral("Car, \"red\"\r\nloan") << QByteArray("\"Car, \"\"red\"\"\r\nloan\"");
        QTest::newRow("formula shown as text")
            << QStringLiteral("=HYPERLINK(\"http://x\",\"y\")") << QByteArray("\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"");
    }
    void csvOfTheWorkedExample()
    {
        QFETCH(QString, description);
        QFETCH(QByteArray, loanField);
        const QString path = h->dir.filePath(QStringLiteral("car.csv"));
        QCOMPARE(ReportExport::writeTableCsv(path, *carLoan(description), description), std::nullopt);
        const QByteArray expected =
            "Loan," + loanField + "\r\n"
            "Payment,Date,Principal Current,Principal Extra,Principal Cummulitive,Interest Current,"
            "Interest Cummulitive,Balance Due\r\n"
            "1,2024-01-15,330.02,0.00,330.02,10.00,10.00,669.98\r\n"
            "2,2024-02-15,333.32,0.00,663.34,6.70,16.70,336.66\r\n"
            "3,2024-03-15,336.65,0.01,1000.00,3.37,20.07,0.00\r\n";
        const QList<QByteArray> lines = contents(path).split('\n');
        const QList<QByteArray> expectedLines = expected.split('\n');
        QCOMPARE(lines.size(), expectedLines.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QCOMPARE(lines[i], expectedLines[i]);
    }

    // Python's csv module reads the description back from the first line and
    // every amount as a number.
    void csvReadBackByPython()
    {
        const QString path = h->dir.filePath(QStringLiteral("tricky.csv"));
        QCOMPARE(ReportExport::writeTableCsv(path, *carLoan(kTricky), kTricky), std::nullopt);
        const QString json = readWith(
            QStringLiteral("python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import csv, json, sys\n"
                            "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                            "    rows = list(csv.reader(f, strict=True))\n"
                            "print(json.dumps(rows[:2] + [r[:2] + [float(v) for v in r[2:]] for r in rows[2:]]))"),
             path});
        const QJsonArray rows = QJsonDocument::fromJson(json.toUtf8()).array();
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[0].toArray(), (QJsonArray{"Loan", kTricky}));
        QCOMPARE(rows[1].toArray().size(), 8);
        for (int i = 1; i < 4; ++i) {
            const QJsonArray row = rows[i + 1].toArray();
            QCOMPARE(row.size(), 8);
            QCOMPARE(row[0].toString(), QString::number(i));
        }
        QCOMPARE(rows[4].toArray()[4].toDouble(), 1000.0);  // no grouping: read as a number
        QCOMPARE(rows[4].toArray()[7].toDouble(), 0.0);
    }

    // A description written once: a long one on a long loan costs its length
    // once, not once per payment.
    void descriptionWrittenOnce_data()
    {
        QTest::addColumn<bool>("yearly");
        QTest::newRow("table") << false;
        QTest::newRow("years") << true;
    }
    void descriptionWrittenOnce()
    {
        QFETCH(bool, yearly);
        const QString description(100000, QLatin1Char('x'));
        h->open();
        h->carLoan(QDate(2024, 1, 15), QStringLiteral("360"));
        h->window->setDescription(description);
        const auto report = h->window->lastResult();
        const qint64 rows = qint64(report->schedule.rows.size());
        QVERIFY(rows > 300);
        const QString path = h->dir.filePath(QStringLiteral("long.csv"));
        const auto write = yearly ? &ReportExport::writeYearlyCsv : &ReportExport::writeTableCsv;
        QCOMPARE(write(path, *report, description), std::nullopt);
        const qint64 size = QFileInfo(path).size();
        QVERIFY2(size > description.size() && size < description.size() + rows * 100,
                 qPrintable(QString::number(size)));
        QCOMPARE(contents(path).count(description.toLatin1()), 1);
    }

    // Texts the user typed that start like a formula are read back with the
    // apostrophe that keeps them text, in each of the three CSVs; numbers,
    // negative ones too, stay as they were.
    void formulaStartsWrittenAsText_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("equals") << QStringLiteral("=1+1") << QStringLiteral("'=1+1");
        QTest::newRow("hyperlink") << QStringLiteral("=HYPERLINK(\"http://x.invalid\",\"Car\")")
                                   << QStringLiteral("'=HYPERLINK(\"http://x.invalid\",\"Car\")");
        QTest::newRow("plus") << QStringLiteral("+1") << QStringLiteral("'+1");
        QTest::newRow("minus") << QStringLiteral("-2+3+cmd|' /C calc'!A0") << QStringLiteral("'-2+3+cmd|' /C calc'!A0");
        QTest::newRow("at") << QStringLiteral("@SUM(1)") << QStringLiteral("'@SUM(1)");
        QTest::newRow("tab") << QStringLiteral("\t=1") << QStringLiteral("'\t=1");
        QTest::newRow("carriage return") << QStringLiteral("\r=1") << QStringLiteral("'\r=1");
        QTest::newRow("spaces before equals") << QStringLiteral("  =1+1") << QStringLiteral("'  =1+1");
        QTest::newRow("space before minus") << QStringLiteral(" -2+3") << QStringLiteral("' -2+3");
        QTest::newRow("spaces before tab") << QStringLiteral("  \t=1") << QStringLiteral("'  \t=1");
        QTest::newRow("formula later is kept") << QStringLiteral("Car =1") << QStringLiteral("Car =1");
        QTest::newRow("apostrophe kept") << QStringLiteral("'57 Chevy") << QStringLiteral("'57 Chevy");
    }
    void formulaStartsWrittenAsText()
    {
        QFETCH(QString, description);
        QFETCH(QString, readBack);
        const auto report = carLoan(description);
        // Another loan whose figures make the comparison's "Interest Saved" negative.
        LoanResult worse = *report;
        worse.schedule.baseline.interestPaid = worse.schedule.summary.interest - 3.37;
        const QString table = h->dir.filePath(QStringLiteral("table.csv"));
        const QString years = h->dir.filePath(QStringLiteral("years.csv"));
        const QString compared = h->dir.filePath(QStringLiteral("compare.csv"));
        QCOMPARE(ReportExport::writeTableCsv(table, *report, description), std::nullopt);
        QCOMPARE(ReportExport::writeYearlyCsv(years, *report, description), std::nullopt);
        QCOMPARE(ReportExport::writeComparisonCsv(compared, {{description, report.get()}, {description, &worse}}),
                 std::nullopt);
        const QString json = readWith(
            QStringLiteral("python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import csv, json, sys\n"
                            "out = []\n"
                            "for name in sys.argv[1:]:\n"
                            "    with open(name, newline='', encoding='utf-8') as f:\n"
                            "        out.append(list(csv.reader(f, strict=True)))\n"
                            "print(json.dumps(out))"),
             table, years, compared});
        const QJsonArray files = QJsonDocument::fromJson(json.toUtf8()).array();
        QCOMPARE(files.size(), 3);
        for (int i : {0, 1}) {
            const QJsonArray rows = files[i].toArray();
            QCOMPARE(rows[0].toArray(), (QJsonArray{"Loan", readBack}));
            QCOMPARE(rows[2].toArray()[0].toString(), i == 0 ? QStringLiteral("1") : QStringLiteral("2024"));
        }
        const QJsonArray comparison = files[2].toArray();
        QCOMPARE(comparison[0].toArray(), (QJsonArray{"", readBack, readBack}));
        const QJsonArray saved = comparison[1 + int(CompareRow::InterestSaved)].toArray();
        QCOMPARE(saved, (QJsonArray{"Interest Saved", "0.00", "-3.37"}));
    }

    // What LibreOffice Calc makes of the table CSV: the description that starts
    // like a formula is a text cell (no formula), the amounts are numbers.
    // Skipped where LibreOffice is not installed (it is too large for the test
    // command's packages).
    void spreadsheetShowsFormulaStartsAsText()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        const QString description = QStringLiteral("=HYPERLINK(\"http://x.invalid\",\"Car\")");
        const QString path = h->dir.filePath(QStringLiteral("car.csv"));
        QCOMPARE(ReportExport::writeTableCsv(path, *carLoan(description), description), std::nullopt);
        QProcess convert;
        // Read as in the United States, whatever the suite runs under: the amounts have a decimal point.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        convert.setProcessEnvironment(environment);
        convert.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + h->dir.filePath(QStringLiteral("profile")),
                                QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("fods"),
                                QStringLiteral("--outdir"), h->dir.path(), path});
        QVERIFY(convert.waitForFinished(300000));
        // Each cell of the first three lines as "type:text", a formula as "formula".
        const QString json = readWith(
            QStringLiteral("python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import json, sys, xml.etree.ElementTree as et\n"
                            "t = '{urn:oasis:names:tc:opendocument:xmlns:table:1.0}'\n"
                            "o = '{urn:oasis:names:tc:opendocument:xmlns:office:1.0}'\n"
                            "x = '{urn:oasis:names:tc:opendocument:xmlns:text:1.0}'\n"
                            "rows = et.parse(sys.argv[1]).getroot().iter(t + 'table-row')\n"
                            "out = []\n"
                            "for row, _ in zip(rows, range(3)):\n"
                            "    out.append(['formula' if c.get(t + 'formula') else\n"
                            "                c.get(o + 'value-type', '') + ':' + ''.join(p.text or '' for p in c.iter(x + 'p'))\n"
                            "                for c in row.iter(t + 'table-cell') if c.get(o + 'value-type')][:3])\n"
                            "print(json.dumps(out))"),
             h->dir.filePath(QStringLiteral("car.fods"))});
        const QJsonArray rows = QJsonDocument::fromJson(json.toUtf8()).array();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].toArray(), (QJsonArray{"string:Loan", "string:'" + description}));
        QCOMPARE(rows[2].toArray(), (QJsonArray{"float:1", "date:2024-01-15", "float:330.02"}));
    }

    // File > Export Table while the tab shows each year: a heading line, one
    // line per year and the "Total" line, plain decimals, read back by
    // Python's csv module; a loan from November to February spans three years.
    void yearlyCsvReadBackByPython_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QJsonArray>("expected");
        const auto line = [](QStringList fields) { return QJsonArray::fromStringList(fields); };
        QTest::newRow("worked example") << QStringLiteral("Car") << QStringLiteral("3") << QDate(2024, 1, 15)
            << QJsonArray{line({"Year", "Payments", "Principal", "Extra", "Interest", "Total Paid", "Balance Due"}),
                          line({"2024", "3", "999.99", "0.01", "20.07", "1020.07", "0.00"}),
                          line({"Total", "3", "999.99", "0.01", "20.07", "1020.07", ""})};
        // Expected: the window's yearly view, line for line, without digit grouping.
        QTest::newRow("November to February, tricky description") << kTricky << QStringLiteral("16")
                                                                    << QDate(2024, 11, 15) << QJsonArray{};
    }
    void yearlyCsvReadBackByPython()
    {
        QFETCH(QString, description);
        QFETCH(QString, term);
        QFETCH(QDate, first);
        QFETCH(QJsonArray, expected);
        h->open();
        h->carLoan(first, term);
        h->window->setDescription(description);
        const auto report = h->window->lastResult();
        if (expected.isEmpty()) {
            const QAbstractItemModel* years = h->w<QTableView>("flxYearly")->model();
            QStringList heading;
            for (int column = 0; column < years->columnCount(); ++column)
                heading << years->headerData(column, Qt::Horizontal).toString();
            expected << QJsonArray::fromStringList(heading);
            for (int row = 0; row < years->rowCount(); ++row)
                expected << QJsonArray::fromStringList(LoanWindowHarness::rowTexts(years, row).replaceInStrings(",", ""));
            QCOMPARE(expected.size(), 5);  // 2024, 2025, 2026 and the total
        }
        expected.prepend(QJsonArray{"Loan", description});
        ReportCommands commands(h->messages, h->store->path(), nullptr, [](QDialog&) {});
        const QString path = h->dir.filePath(QStringLiteral("years.csv"));
        commands.setSaveFileNameAsker([&](auto&&...) { return path; });
        commands.exportTable(*report, description, true);
        QVERIFY(contents(path).endsWith("\r\n"));
        const QString json = readWith(
            QStringLiteral("python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import csv, json, sys\n"
                            "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                            "    print(json.dumps(list(csv.reader(f, strict=True))))"),
             path});
        const QJsonArray rows = QJsonDocument::fromJson(json.toUtf8()).array();
        QCOMPARE(rows.size(), expected.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i].toArray(), expected[i].toArray());
    }

    void refusedWriteLeavesTheTargetAlone_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("csv") << false;
        QTest::newRow("pdf") << true;
    }
    void refusedWriteLeavesTheTargetAlone()
    {
        QFETCH(bool, pdf);
        const auto report = carLoan(QStringLiteral("Car"));
        QFile::setPermissions(h->dir.path(), QFile::permissions(h->dir.path()) | QFile::ExeOther | QFile::ReadOther);
        const QString folder = h->dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkdir(folder));
        const QString target = folder + (pdf ? QStringLiteral("/Car.pdf") : QStringLiteral("/Car.csv"));
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("the earlier export");
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

        std::optional<QString> failure;
        {
            Unprivileged asNobody;
            if (::geteuid() == 0 && ::setfsuid(-1) != 65534)
                QSKIP("this machine does not let the test give up its file privileges");
            failure = pdf ? ReportExport::writeReportPdf(target, *report, description())
                          : ReportExport::writeTableCsv(target, *report, description());
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(failure.has_value());
        QVERIFY2(failure->startsWith(QStringLiteral("The file \"%1\" could not be written: ").arg(target)),
                 qPrintable(*failure));
        QCOMPARE(contents(target), QByteArray("the earlier export"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(target).fileName()});
    }

    void suggestedFileName_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("expected");
        QTest::newRow("kept") << QStringLiteral("Car loan, 2024") << QStringLiteral("Car loan, 2024.csv");
        QTest::newRow("path characters") << QStringLiteral("a/b\\c:d*e?f\"g<h>i|j") << QStringLiteral("a b c d e f g h i j.csv");
        QTest::newRow("line breaks and tabs") << QStringLiteral(" Car\r\n\tloan ") << QStringLiteral("Car loan.csv");
        QTest::newRow("no hidden file") << QStringLiteral("..car") << QStringLiteral("car.csv");
        QTest::newRow("nothing left") << QStringLiteral(" ./.. ") << QStringLiteral("Loan.csv");
        QTest::newRow("no dot before the suffix") << QStringLiteral("Car loan...") << QStringLiteral("Car loan.csv");
        QTest::newRow("empty") << QString() << QStringLiteral("Loan.csv");
        QTest::newRow("long") << QString(100000, QLatin1Char('x')) << QString(100, QLatin1Char('x')) + ".csv";
    }
    void suggestedFileName()
    {
        QFETCH(QString, description);
        QFETCH(QString, expected);
        QCOMPARE(ReportExport::suggestedFileName(description, QStringLiteral("csv")), expected);
    }
};

QTEST_MAIN(ReportCsvTest)
#include "tst_report_csv.moc"
