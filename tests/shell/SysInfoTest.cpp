// The system information look-up behind the about box, and the about box.
#include "ScriptedMessages.h"
#include "SystemInfo.h"
#include "frmAbout.h"

#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <QtTest>

namespace {

using ValueKey = std::tuple<std::uint32_t, QString, QString>;

// A registry filled by the test; remembers which values were asked for.
class FakeKeyValues : public KeyValueSource {
public:
    void set(const QString& key, const QString& value, KeyValue kv)
    {
        m_values[{KeyRoot::LocalMachine, key, value}] = kv;
    }
    std::optional<KeyValue> lookup(std::uint32_t root, const QString& keyName,
                                   const QString& valueName) const override
    {
        m_asked << keyName + QLatin1Char('|') + valueName;
        const auto it = m_values.find({root, keyName, valueName});
        if (it == m_values.end())
            return std::nullopt;
        return *it;
    }
    QStringList asked() const { return m_asked; }

private:
    QMap<ValueKey, KeyValue> m_values;
    mutable QStringList m_asked;
};

class FakeLauncher : public ProgramLauncher {
public:
    QSet<QString> files;
    QSet<QString> broken;  // programs that fail to start
    QStringList started;

    bool fileExists(const QString& path) const override { return files.contains(path); }
    bool start(const QString& program) override
    {
        if (program.isEmpty() || broken.contains(program))
            return false;
        started << program;
        return true;
    }
};

KeyValue text(const QString& s) { return {KeyValue::Type::String, s, 0}; }
KeyValue dword(std::uint32_t n) { return {KeyValue::Type::DWord, {}, n}; }
KeyValue binary() { return {KeyValue::Type::Other, {}, 0}; }

const QString kFirst = kMsInfoKey + QStringLiteral("|PATH");
const QString kSecond = kMsInfoLocationKey + QStringLiteral("|MSINFO");

}  // namespace

Q_DECLARE_METATYPE(KeyValue)
Q_DECLARE_METATYPE(std::optional<KeyValue>)

class SysInfoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void getKeyValue_data()
    {
        QTest::addColumn<std::optional<KeyValue>>("stored");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("expected");  // keyVal started as "stale"

        QTest::newRow("string as it is") << std::optional(text("C:\\Tools\\MSINFO32.EXE")) << true
                                         << "C:\\Tools\\MSINFO32.EXE";
        QTest::newRow("string loses its terminating zero")
            << std::optional(text(QStringLiteral("abc") + QChar(u'\0'))) << true << "abc";
        QTest::newRow("string keeps blanks") << std::optional(text(" a b ")) << true << " a b ";
        QTest::newRow("empty string") << std::optional(text("")) << true << "";
        QTest::newRow("dword small") << std::optional(dword(0x0102)) << true << "&h00000102";
        QTest::newRow("dword with zero bytes inside") << std::optional(dword(0x10000A00)) << true << "&h10000A00";
        QTest::newRow("dword high") << std::optional(dword(0xDEADBEEF)) << true << "&hDEADBEEF";
        QTest::newRow("dword zero") << std::optional(dword(0)) << true << "&h00000000";
        QTest::newRow("other type leaves the value") << std::optional(binary()) << true << "stale";
        QTest::newRow("missing clears the value") << std::optional<KeyValue>() << false << "";
    }
    void getKeyValue()
    {
        QFETCH(std::optional<KeyValue>, stored);
        QFETCH(bool, found);
        QFETCH(QString, expected);
        FakeKeyValues source;
        if (stored)
            source.set(QStringLiteral("K"), QStringLiteral("V"), *stored);
        QString value = QStringLiteral("stale");
        QCOMPARE(GetKeyValue(source, KeyRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("V"), value), found);
        QCOMPARE(value, expected);
    }

    void getKeyValueOtherRootOrNameMisses()
    {
        FakeKeyValues source;
        source.set(QStringLiteral("K"), QStringLiteral("V"), text("x"));
        QString value;
        QVERIFY(!GetKeyValue(source, 0x80000001u, QStringLiteral("K"), QStringLiteral("V"), value));
        QVERIFY(!GetKeyValue(source, KeyRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("W"), value));
        QVERIFY(value.isEmpty());
    }

    void startSysInfo_data()
    {
        QTest::addColumn<std::optional<KeyValue>>("first");
        QTest::addColumn<std::optional<KeyValue>>("second");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("broken");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("message");

        const std::optional<KeyValue> none;
        const QStringList nothing;
        QTest::newRow("neither value") << none << none << nothing << nothing << nothing
                                       << QStringList{kFirst, kSecond} << true;
        QTest::newRow("first value starts its program, second never read")
            << std::optional(text("/opt/info")) << std::optional(text("/tools")) << nothing << nothing
            << QStringList{"/opt/info"} << QStringList{kFirst} << false;
        QTest::newRow("first program fails to start")
            << std::optional(text("/opt/info")) << std::optional(text("/tools")) << QStringList{"/tools/MSINFO32.EXE"}
            << QStringList{"/opt/info"} << nothing << QStringList{kFirst} << true;
        QTest::newRow("first value of another type")
            << std::optional(binary()) << none << nothing << nothing << nothing << QStringList{kFirst} << true;
        QTest::newRow("second folder holds the tool")
            << none << std::optional(text("/tools")) << QStringList{"/tools/MSINFO32.EXE"} << nothing
            << QStringList{"/tools/MSINFO32.EXE"} << QStringList{kFirst, kSecond} << false;
        QTest::newRow("second folder with a trailing separator")
            << none << std::optional(text("C:\\Tools\\")) << QStringList{"C:\\Tools/MSINFO32.EXE"} << nothing
            << QStringList{"C:\\Tools/MSINFO32.EXE"} << QStringList{kFirst, kSecond} << false;
        QTest::newRow("second folder without the tool")
            << none << std::optional(text("/tools")) << nothing << nothing << nothing
            << QStringList{kFirst, kSecond} << true;
        QTest::newRow("second tool fails to start")
            << none << std::optional(text("/tools")) << QStringList{"/tools/MSINFO32.EXE"}
            << QStringList{"/tools/MSINFO32.EXE"} << nothing << QStringList{kFirst, kSecond} << true;
    }
    void startSysInfo()
    {
        QFETCH(std::optional<KeyValue>, first);
        QFETCH(std::optional<KeyValue>, second);
        QFETCH(QStringList, files);
        QFETCH(QStringList, broken);
        QFETCH(QStringList, started);
        QFETCH(QStringList, asked);
        QFETCH(bool, message);

        FakeKeyValues source;
        if (first)
            source.set(kMsInfoKey, kMsInfoValue, *first);
        if (second)
            source.set(kMsInfoLocationKey, kMsInfoLocationValue, *second);
        FakeLauncher launcher;
        launcher.files = QSet<QString>(files.begin(), files.end());
        launcher.broken = QSet<QString>(broken.begin(), broken.end());
        ScriptedMessages messages;

        StartSysInfo(source, launcher, messages, nullptr);

        QCOMPARE(launcher.started, started);
        QCOMPARE(source.asked(), asked);
        if (message) {
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown().first().kind, ScriptedMessages::Kind::Information);
            QCOMPARE(messages.shown().first().text, QStringLiteral("System Information Is Unavailable At This Time"));
        } else {
            QVERIFY(messages.shown().isEmpty());
        }
    }

    void desktopSourceMapsOnlyTheFirstPlace_data()
    {
        QTest::addColumn<QStringList>("candidates");
        QTest::addColumn<bool>("found");
        QTest::newRow("program on the path") << QStringList{"no-such-tool-brimvale", "sh"} << true;
        QTest::newRow("no program") << QStringList{"no-such-tool-brimvale"} << false;
    }
    void desktopSourceMapsOnlyTheFirstPlace()
    {
        QFETCH(QStringList, candidates);
        QFETCH(bool, found);
        DesktopSystemInfoSource source(candidates);
        QString value;
        QCOMPARE(GetKeyValue(source, KeyRoot::LocalMachine, kMsInfoKey, kMsInfoValue, value), found);
        if (found)
            QVERIFY2(value.endsWith(QStringLiteral("/sh")), qPrintable(value));
        QVERIFY(!GetKeyValue(source, KeyRoot::LocalMachine, kMsInfoLocationKey, kMsInfoLocationValue, value));
    }

    void aboutBoxTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << "lblTitle" << "Brimvale";
        QTest::newRow("version") << "lblVersion" << "Version 3.1.0";
        QTest::newRow("description")
            << "lblDescription"
            << "This program is intended for personal use and should not be used to validate any lending institutions data.";
        QTest::newRow("disclaimer") << "lblDisclaimer" << "Warning: ...";
    }
    void aboutBoxTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        FakeKeyValues source;
        FakeLauncher launcher;
        ScriptedMessages messages;
        frmAbout about(source, launcher, messages);
        auto* label = about.findChild<QLabel*>(name);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
    }

    void aboutBoxFrame()
    {
        FakeKeyValues source;
        FakeLauncher launcher;
        ScriptedMessages messages;
        frmAbout about(source, launcher, messages);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Brimvale"));
        QCOMPARE(about.size(), QSize(382, 300));
        QVERIFY(about.findChild<QLabel*>(QStringLiteral("picIcon")));
        QVERIFY(!about.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
        QVERIFY(about.findChild<QFrame*>(QStringLiteral("Line1_0")));
        QVERIFY(about.findChild<QFrame*>(QStringLiteral("Line1_1")));
        auto* ok = about.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        auto* sysInfo = about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
        QVERIFY(ok && sysInfo);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(sysInfo->text(), QStringLiteral("&System Info..."));
        QVERIFY(ok->isDefault());
    }

    void aboutBoxClosesOnKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void aboutBoxClosesOnKey()
    {
        QFETCH(int, key);
        FakeKeyValues source;
        FakeLauncher launcher;
        ScriptedMessages messages;
        frmAbout about(source, launcher, messages);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, Qt::Key(key));
        QVERIFY(!about.isVisible());
        QVERIFY(launcher.started.isEmpty());
    }

    void aboutBoxSysInfoFallsBackToMessage()
    {
        FakeKeyValues source;
        FakeLauncher launcher;
        ScriptedMessages messages;
        frmAbout about(source, launcher, messages);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        QCOMPARE(messages.texts(ScriptedMessages::Kind::Information),
                 QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
        QVERIFY(about.isVisible());
    }

    void aboutBoxSysInfoStartsTheTool()
    {
        FakeKeyValues source;
        source.set(kMsInfoKey, kMsInfoValue, text("/usr/bin/hardinfo"));
        FakeLauncher launcher;
        ScriptedMessages messages;
        frmAbout about(source, launcher, messages);
        about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        QCOMPARE(launcher.started, QStringList{QStringLiteral("/usr/bin/hardinfo")});
        QVERIFY(messages.shown().isEmpty());
    }
};

QTEST_MAIN(SysInfoTest)
#include "SysInfoTest.moc"
