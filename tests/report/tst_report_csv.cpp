// Taking a calculated loan out as CSV: byte for byte, read back by Python's
// csv module and LibreOffice, writes into a folder that refuses them (CSV and
// PDF), and the file names suggested from the description.
#include "LoanComparison.h"
#include "ReportExport.h"
#include "ReportTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <sys/fsuid.h>
#include <unistd.h>

namespace {

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

// Each file's lines as Python's csv module reads them.
QJsonArray readCsv(const QStringList& paths)
{
    return QJsonDocument::fromJson(readWith("python3", QStringList{"-c",
                                                                   "import csv, json, sys\n"
                                                                   "print(json.dumps([list(csv.reader(open(n, newline='', encoding='utf-8'), strict=True))\n"
                                                                   "                  for n in sys.argv[1:]]))"} +
                                                           paths)
                                       .toUtf8())
        .array();
}

}  // namespace

class ReportCsvTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ReportFolder> f;

private slots:
    void init()
    {
        pinUnitedStates();
        f = std::make_unique<ReportFolder>();
    }

    // The worked example's table and years, byte for byte: the description
    // once and quoted as RFC 4180 wants, plain amounts, ISO dates, CRLF.
    void csvOfTheWorkedExample_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QByteArray>("loanField");
        QTest::newRow("plain") << "Car" << QByteArray("Car");
        QTest::newRow("comma, quote and line break quoted") << "Car, \"red\"\r\nloan" << QByteArray("\"Car, \"\"red\"\"\r\nloan\"");
    }
    void csvOfTheWorkedExample()
    {
        QFETCH(QString, description);
        QFETCH(QByteArray, loanField);
        const LoanResult car = calculated(kCarLoan);
        QCOMPARE(ReportExport::writeTableCsv(f->file("car.csv"), car, description), std::nullopt);
        QCOMPARE(ReportExport::writeYearlyCsv(f->file("years.csv"), car, description), std::nullopt);
        QCOMPARE(contents(f->file("car.csv")),
                 "Loan," + loanField + ",Amount Financed,1000.00,Finance Charge,20.07,APR,12.002\r\n"
                 "Payment,Date,Principal Current,Principal Extra,Principal Cummulitive,Interest Current,"
                 "Interest Cummulitive,Balance Due\r\n"
                 "1,2024-01-15,330.02,0.00,330.02,10.00,10.00,669.98\r\n"
                 "2,2024-02-15,333.32,0.00,663.34,6.70,16.70,336.66\r\n"
                 "3,2024-03-15,336.65,0.01,1000.00,3.37,20.07,0.00\r\n");
        QCOMPARE(contents(f->file("years.csv")),
                 "Loan," + loanField + ",Amount Financed,1000.00,Finance Charge,20.07,APR,12.002\r\n"
                 "Year,Payments,Principal,Extra,Interest,Total Paid,Balance Due\r\n"
                 "2024,3,999.99,0.01,20.07,1020.07,0.00\r\n"
                 "Total,3,999.99,0.01,20.07,1020.07,\r\n");
    }

    // Texts the user typed that start like a formula, after spaces too, are
    // read back with the apostrophe that keeps them text, in each of the
    // three CSVs; the amounts, a negative one too, read as numbers.
    void formulaStartsWrittenAsText_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("hyperlink") << "=HYPERLINK(\"http://x.invalid\",\"Car\")" << "'=HYPERLINK(\"http://x.invalid\",\"Car\")";
        QTest::newRow("plus") << "+1" << "'+1";
        QTest::newRow("minus") << "-2+3+cmd|' /C calc'!A0" << "'-2+3+cmd|' /C calc'!A0";
        QTest::newRow("at") << "@SUM(1)" << "'@SUM(1)";
        QTest::newRow("tab") << "\t=1" << "'\t=1";
        QTest::newRow("carriage return") << "\r=1" << "'\r=1";
        QTest::newRow("spaces before equals") << "  =1+1" << "'  =1+1";
        QTest::newRow("spaces before tab") << "  \t=1" << "'  \t=1";
        QTest::newRow("formula later is kept") << "Car =1" << "Car =1";
        QTest::newRow("apostrophe kept") << "'57 Chevy, \"red\"\nloan – 5 000 €" << "'57 Chevy, \"red\"\nloan – 5 000 €";
    }
    void formulaStartsWrittenAsText()
    {
        QFETCH(QString, description);
        QFETCH(QString, readBack);
        const LoanResult car = calculated(kCarLoan);
        // Another loan whose figures make the comparison's "Interest Saved" negative.
        LoanResult worse = car;
        worse.schedule.baseline.interestPaid = worse.schedule.summary.interest - 3.37;
        QCOMPARE(ReportExport::writeTableCsv(f->file("table.csv"), car, description), std::nullopt);
        QCOMPARE(ReportExport::writeYearlyCsv(f->file("years.csv"), car, description), std::nullopt);
        QCOMPARE(ReportExport::writeComparisonCsv(f->file("compare.csv"), {{description, &car}, {description, &worse}}),
                 std::nullopt);
        const QJsonArray files = readCsv({f->file("table.csv"), f->file("years.csv"), f->file("compare.csv")});
        QCOMPARE(files.size(), 3);
        for (int i : {0, 1}) {
            const QJsonArray rows = files[i].toArray();
            QCOMPARE(rows[0].toArray(), (QJsonArray{"Loan", readBack, "Amount Financed", "1000.00", "Finance Charge", "20.07",
                                                      "APR", "12.002"}));
            QCOMPARE(rows.size(), 5 - i);
            for (qsizetype r = 2; r < rows.size(); ++r)
                for (qsizetype c = i == 0 ? 2 : 1; c < rows[r].toArray().size() - i; ++c) {
                    bool number = false;
                    rows[r].toArray()[c].toString().toDouble(&number);
                    QVERIFY2(number, qPrintable(rows[r].toArray()[c].toString()));
                }
        }
        const QJsonArray comparison = files[2].toArray();
        QCOMPARE(comparison[0].toArray(), (QJsonArray{"", readBack, readBack}));
        QCOMPARE(comparison[1 + int(CompareRow::InterestSaved)].toArray(), (QJsonArray{"Interest Saved", "0.00", "-3.37"}));
    }

    // What LibreOffice Calc makes of the table CSV: the description that starts
    // like a formula is a text cell (no formula), the amounts are numbers.
    // Skipped where LibreOffice is not installed (it is too large for the test
    // command's packages).
    void spreadsheetShowsFormulaStartsAsText()
    {
        const QString soffice = QStandardPaths::findExecutable("soffice");
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        const QString description = " =HYPERLINK(\"http://x.invalid\",\"Car\")";
        QCOMPARE(ReportExport::writeTableCsv(f->file("car.csv"), calculated(kCarLoan), description), std::nullopt);
        QProcess convert;
        // Read as in the United States, whatever the suite runs under: the amounts have a decimal point.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        environment.insert("LANG", "C.UTF-8");
        convert.setProcessEnvironment(environment);
        convert.start(soffice, {"-env:UserInstallation=file://" + f->file("profile"), "--headless", "--convert-to", "fods",
                                "--outdir", f->dir.path(), f->file("car.csv")});
        QVERIFY(convert.waitForFinished(300000));
        // The first four cells of the first three lines as "type:text", a formula as "formula".
        const QJsonArray rows = QJsonDocument::fromJson(readWith("python3", {"-c",
            "import json, sys, xml.etree.ElementTree as et\n"
            "t = '{urn:oasis:names:tc:opendocument:xmlns:table:1.0}'\n"
            "o = '{urn:oasis:names:tc:opendocument:xmlns:office:1.0}'\n"
            "x = '{urn:oasis:names:tc:opendocument:xmlns:text:1.0}'\n"
            "rows = et.parse(sys.argv[1]).getroot().iter(t + 'table-row')\n"
            "print(json.dumps([['formula' if c.get(t + 'formula') else\n"
            "                   c.get(o + 'value-type', '') + ':' + ''.join(p.text or '' for p in c.iter(x + 'p'))\n"
            "                   for c in row.iter(t + 'table-cell') if c.get(o + 'value-type')][:4]\n"
            "                  for row, _ in zip(rows, range(3))]))",
            f->file("car.fods")}).toUtf8()).array();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].toArray(), (QJsonArray{"string:Loan", "string:'" + description, "string:Amount Financed", "float:1000"}));
        QCOMPARE(rows[2].toArray(), (QJsonArray{"float:1", "date:2024-01-15", "float:330.02", "float:0"}));
    }

    // A long description on a long loan costs its length once, not once per payment.
    void descriptionWrittenOnce()
    {
        const QString description(100000, QLatin1Char('x'));
        const LoanResult loan = calculated({.term = 30});
        for (const auto write : {&ReportExport::writeTableCsv, &ReportExport::writeYearlyCsv}) {
            QCOMPARE(write(f->file("long.csv"), loan, description), std::nullopt);
            QCOMPARE(contents(f->file("long.csv")).count(description.toLatin1()), 1);
        }
    }

    // A folder that refuses the write: the message names the file, the file
    // there before is untouched and nothing is left beside it.
    void refusedWriteLeavesTheTargetAlone_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("csv") << false;
        QTest::newRow("pdf") << true;
    }
    void refusedWriteLeavesTheTargetAlone()
    {
        QFETCH(bool, pdf);
        const LoanResult car = calculated(kCarLoan);
        QFile::setPermissions(f->dir.path(), QFile::permissions(f->dir.path()) | QFile::ExeOther | QFile::ReadOther);
        const QString folder = f->file("locked");
        QVERIFY(QDir().mkdir(folder));
        const QString target = folder + (pdf ? "/Car.pdf" : "/Car.csv");
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the earlier export") > 0);
        old.close();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        std::optional<QString> failure;
        {
            Unprivileged asNobody;
            if (::geteuid() == 0 && ::setfsuid(-1) != 65534)
                QSKIP("this machine does not let the test give up its file privileges");
            failure = pdf ? ReportExport::writeReportPdf(target, car, "Car") : ReportExport::writeTableCsv(target, car, "Car");
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(failure && failure->startsWith(QStringLiteral("The file \"%1\" could not be written: ").arg(target)));
        QCOMPARE(contents(target), QByteArray("the earlier export"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(target).fileName()});
    }

    void suggestedFileName_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("expected");
        QTest::newRow("kept") << "Car loan, 2024" << "Car loan, 2024.csv";
        QTest::newRow("path characters") << "a/b\\c:d*e?f\"g<h>i|j" << "a b c d e f g h i j.csv";
        QTest::newRow("line breaks and tabs") << " Car\r\n\tloan " << "Car loan.csv";
        QTest::newRow("no hidden file") << "..car" << "car.csv";
        QTest::newRow("nothing left") << " ./.. " << "Loan.csv";
        QTest::newRow("no dot before the suffix") << "Car loan..." << "Car loan.csv";
        QTest::newRow("long") << QString(100000, QLatin1Char('x')) << QString(100, QLatin1Char('x')) + ".csv";
    }
    void suggestedFileName()
    {
        QFETCH(QString, description);
        QFETCH(QString, expected);
        QCOMPARE(ReportExport::suggestedFileName(description, "csv"), expected);
    }
};

QTEST_MAIN(ReportCsvTest)
#include "tst_report_csv.moc"
