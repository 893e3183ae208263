// The installed program: `cmake --install` into a temporary prefix, then the
// installed copy started offscreen with a temporary home folder, as a user who
// starts it for the first time.
#include "BrimvaleVersion.h"
#include "RawStore.h"

#include <QtSql>

#include <cstdio>
#include <QtTest>

namespace {

struct Run {
    int status = -1;
    QString out, err;
};

// xdgDataHome: the variable's value, if set; the program runs in m_home/work.
struct CommandCase { QStringList args; int status; QStringList outHas, errHas; QString xdgDataHome = {}; };

}  // namespace

class InstallTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
    QString m_program, m_ownStore, m_shipped;

    // The installed program with only the temporary home: no XDG_DATA_HOME, and
    // system data folders that hold nothing, so an installed package does not count.
    Run start(const QStringList& args, const QString& xdgDataHome = {}, const QString& program = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        env.insert("HOME", m_home.path());
        env.insert("XDG_DATA_DIRS", m_home.filePath("no-system-data"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        if (!xdgDataHome.isEmpty())
            env.insert("XDG_DATA_HOME", xdgDataHome);
        QProcess p;
        p.setProcessEnvironment(env);
        QDir(m_home.path()).mkpath("work");
        p.setWorkingDirectory(m_home.filePath("work"));
        p.start(program.isEmpty() ? m_program : program, args);
        Run run;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return run;
        }
        run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        run.out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        run.err = QString::fromLocal8Bit(p.readAllStandardError());
        return run;
    }

    static QByteArray content(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid() && m_home.isValid());
        QProcess install;
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {"--install", QStringLiteral(BRIMVALE_BUILD_DIR), "--prefix", m_prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        m_program = m_prefix.filePath("bin/brimvale");
        m_ownStore = m_home.filePath(".local/share/Brimvale/Brimvaledb.mdb");
        m_shipped = m_prefix.filePath("share/brimvale/Brimvaledb.mdb");
        QVERIFY(QFile::copy(m_shipped, m_home.filePath("other.mdb")));
    }

    // Only the program in bin/: no tests, benchmarks, tools or store beside it.
    void installedFiles()
    {
        QCOMPARE(QDir(m_prefix.filePath("bin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"brimvale"});
        for (const char* file : {"share/brimvale/Brimvaledb.mdb", "share/applications/org.brimvale.Brimvale.desktop",
                                 "share/metainfo/org.brimvale.Brimvale.metainfo.xml",
                                 "share/icons/hicolor/scalable/apps/org.brimvale.Brimvale.svg",
                                 "share/icons/hicolor/48x48/apps/org.brimvale.Brimvale.png",
                                 "share/doc/brimvale/guide.html", "share/doc/brimvale/copyright",
                                 "share/doc/brimvale/changelog.gz", "share/man/man1/brimvale.1.gz"})
            QVERIFY2(QFileInfo(m_prefix.filePath(file)).isFile(), file);
    }

    void desktopFilesValidate_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("desktop entry") << "desktop-file-validate"
                                       << QStringList{"share/applications/org.brimvale.Brimvale.desktop"};
        QTest::newRow("AppStream data") << "appstreamcli"
                                        << QStringList{"validate", "--no-net",
                                                       "share/metainfo/org.brimvale.Brimvale.metainfo.xml"};
    }
    void desktopFilesValidate()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        const QString found = QStandardPaths::findExecutable(tool);
        if (found.isEmpty())
            QSKIP(qPrintable(tool + " is not installed (the test set-up installs it)"));
        QProcess p;
        p.setWorkingDirectory(m_prefix.path());
        p.start(found, args);
        QVERIFY(p.waitForFinished(60000));
        const QByteArray said = p.readAllStandardOutput() + p.readAllStandardError();
        QVERIFY2(p.exitCode() == 0, said.constData());
        if (tool == "desktop-file-validate")  // it exits 0 on mere hints
            QVERIFY2(said.trimmed().isEmpty(), said.constData());
    }

    // The manual page is read by man without a warning, and says what --help says.
    void manualPage()
    {
        const QString man = QStandardPaths::findExecutable("man");
        if (man.isEmpty())
            QSKIP("man is not installed");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MANWIDTH", "80");
        env.insert("LC_ALL", "C.UTF-8");
        p.setProcessEnvironment(env);
        p.start(man, {"--warnings", "-E", "UTF-8", "-l", m_prefix.filePath("share/man/man1/brimvale.1.gz")});
        QVERIFY(p.waitForFinished(60000));
        const QString page = QString::fromUtf8(p.readAllStandardOutput());
        const QString warnings = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(warnings.trimmed().isEmpty(), qPrintable(warnings));
        for (const char* part : {"NAME", "loan calculator comparing loans", "--store", "--version", "Brimvaledb.mdb",
                                 "~/.local/share/Brimvale/Brimvaledb.mdb"})
            QVERIFY2(page.contains(QLatin1String(part)), part);
    }

    // --help: one option a line, one place a line, the places the program
    // really looks in, in its order and with their own case.
    void helpOnePlaceALine()
    {
        const Run run = start({"--help"});
        QCOMPARE(run.status, 0);
        const QStringList lines = run.out.split('\n');
        const auto lineOf = [&](const QString& text) {
            for (int i = 0; i < lines.size(); ++i)
                if (lines[i].trimmed() == text || lines[i].trimmed().startsWith(text + ' '))
                    return i;
            return -1;
        };
        for (const char* option : {"-h, --help", "--help-all", "-v, --version", "--store <path>"})
            QVERIFY2(lineOf(option) >= 0, qPrintable(option + QString("\n") + run.out));
        const int beside = lineOf("2. " + m_prefix.filePath("bin/Brimvaledb.mdb") + ",");
        const int own = lineOf("3. " + m_ownStore + ";");
        const int shipped = lineOf(m_shipped);
        QVERIFY2(beside > 0 && own > beside && shipped > own, qPrintable(run.out));
    }

    // First start: the empty store is copied into the user's data folder and is a
    // store the program opens; a loan saved into it stays through a second start.
    void firstAndSecondStart()
    {
        QVERIFY(!QFile::exists(m_ownStore));
        const Run first = start({"--open-store-and-quit"});
        QCOMPARE(first.status, 0);
        QCOMPARE(first.out, m_ownStore);
        QCOMPARE(content(m_ownStore), content(m_shipped));
        // The folders it made hold the user's finances: for the user alone.
        for (const char* folder : {".local", ".local/share", ".local/share/Brimvale"})
            QCOMPARE(QFileInfo(m_home.filePath(folder)).permissions() & ~QFile::Permissions(0x7700), QFile::Permissions());
        QCOMPARE(rawSql(m_ownStore, "INSERT INTO tblLoanDetail (Description) VALUES ('kept')"), QStringList());
        const QByteArray saved = content(m_ownStore);
        QVERIFY(saved != content(m_shipped));

        const Run second = start({"--open-store-and-quit"});
        QCOMPARE(second.status, 0);
        QCOMPARE(second.out, m_ownStore);
        QCOMPARE(content(m_ownStore), saved);
    }

    // A store beside the installed program wins over the user's data folder.
    void storeBesideTheProgram()
    {
        const QString beside = m_prefix.filePath("bin/Brimvaledb.mdb");
        QVERIFY(QFile::copy(m_shipped, beside));
        const QByteArray own = content(m_ownStore);
        const Run run = start({"--open-store-and-quit"});
        QFile::remove(beside);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, beside);
        QCOMPARE(content(m_ownStore), own);
    }

    void commandLine_data()
    {
        QTest::addColumn<CommandCase>("c");
        const QString missing = m_home.filePath("nowhere/loans.mdb"), other = m_home.filePath("other.mdb");
        QTest::newRow("--store") << CommandCase{{"--open-store-and-quit", "--store", other}, 0, {other}, {}};
        QTest::newRow("a store as the argument (the menu entry's %f)")
            << CommandCase{{"--open-store-and-quit", other}, 0, {other}, {}};
        QTest::newRow("--store with a missing file")
            << CommandCase{{"--open-store-and-quit", "--store", missing}, 1, {}, {missing}};
        QTest::newRow("two stores") << CommandCase{{"--store", missing, missing}, 1, {}, {"one store"}};
        QTest::newRow("--version") << CommandCase{{"--version"}, 0, {"Brimvale " BRIMVALE_VERSION}, {}};
        QTest::newRow("a store starting with a dash gets a hint")
            << CommandCase{{"--open-store-and-quit", "-loans.mdb"}, 1, {}, {"brimvale -- -loans.mdb"}};
        QTest::newRow("after --, a name starting with a dash is a store")
            << CommandCase{{"--open-store-and-quit", "--", "-loans.mdb"}, 1, {}, {"-loans.mdb"}};
        QTest::newRow("absolute XDG_DATA_HOME")
            << CommandCase{{"--open-store-and-quit"}, 0, {m_home.filePath("xdg/Brimvale/Brimvaledb.mdb")}, {},
                           m_home.filePath("xdg")};
    }
    void commandLine()
    {
        QFETCH(CommandCase, c);
        const Run run = start(c.args, c.xdgDataHome);
        QCOMPARE(run.status, c.status);
        QVERIFY(!QFileInfo::exists(m_home.filePath("work/data")));
        for (const QString& part : c.outHas)
            QVERIFY2(run.out.contains(part), qPrintable(run.out));
        for (const QString& part : c.errHas)
            QVERIFY2(run.err.contains(part), qPrintable(run.err));
        QVERIFY(!run.out.contains("open-store-and-quit"));
    }

    // A store name that is not valid UTF-8 is never read as another name (here
    // one with the replacement character, which exists too): a clear refusal.
    void storeNameNotUtf8()
    {
        QVERIFY(QFile::copy(m_shipped, m_home.filePath(QStringLiteral("odd\uFFFD.mdb"))));
        const QByteArray odd = QFile::encodeName(m_home.path()) + "/odd\xff.mdb";
        QVERIFY(QFile::copy(m_shipped, m_home.filePath("source.mdb")));
        QCOMPARE(::rename(QFile::encodeName(m_home.filePath("source.mdb")).constData(), odd.constData()), 0);
        const QString sh = QStandardPaths::findExecutable("sh");
        // The shell's printf makes the byte 0xFF from "\377".
        for (const char* form : {"--store \"$(printf \"$1\")\"", "--store=\"$(printf \"$1\")\"",
                                 "-- \"$(printf \"$1\")\""}) {
            const Run run = start({"-c", QStringLiteral("exec \"$0\" --open-store-and-quit %1").arg(form) , m_program,
                                   m_home.filePath("odd\\377.mdb")}, {}, sh);
            QCOMPARE(run.status, 1);
            QVERIFY2(run.err.contains("not valid UTF-8") && run.err.contains("odd\\xff.mdb"), qPrintable(run.err));
        }
    }
};

QTEST_MAIN(InstallTest)
#include "tst_install.moc"
