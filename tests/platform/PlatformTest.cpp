// The real message boxes' answers, and the system information program the
// about box starts.
#include "Messages.h"
#include "ScriptedMessages.h"
#include "SystemInfo.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// Questions whose No loses work: Esc and the box's close button answer
// neither; Enter answers the delete question No.
TEST(QtMessages, DismissingAnswersNeitherYesNorNo)
{
    using A = Messages::Answer;
    const auto press = [](QMessageBox* b, Qt::Key key) { QTest::keyClick(b->focusWidget() ? b->focusWidget() : b, key); };
    const struct { const char* name; std::function<void(QMessageBox*)> act; A ask; bool question; } cases[] = {
        {"Yes", [](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); }, A::Yes, true},
        {"No", [](QMessageBox* b) { b->button(QMessageBox::No)->click(); }, A::No, false},
        {"Esc", [&](QMessageBox* b) { press(b, Qt::Key_Escape); }, A::Dismissed, false},
        {"close button", [](QMessageBox* b) { b->close(); }, A::Dismissed, false},
        {"Enter", [&](QMessageBox* b) { press(b, Qt::Key_Return); }, A::Yes, false},
    };
    QtMessages messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto answer = [&c] { c.act(qobject_cast<QMessageBox*>(QApplication::activeModalWidget())); };
        QTimer::singleShot(0, answer);
        EXPECT_EQ(messages.ask(nullptr, QStringLiteral("Save?")), c.ask);
        QTimer::singleShot(0, answer);
        EXPECT_EQ(messages.question(nullptr, QStringLiteral("Delete?")), c.question);
    }
}

// Programs on the PATH ("!" first: not executable); the one that starts.
TEST(SystemInfo, StartsTheFirstProgramOnThePath)
{
    const struct { const char* name; QStringList onPath; QString started; } cases[] = {
        {"none", {}, {}},
        {"not executable", {"!hardinfo"}, {}},
        {"the first of two", {"gnome-system-monitor", "kinfocenter"}, "kinfocenter"},
    };
    const QByteArray path = qgetenv("PATH");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        for (const QString& name : c.onPath) {
            QFile script(dir.filePath(QString(name).remove(QLatin1Char('!'))));
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\necho \"${0##*/}\" > \"$0.ran\"\n");
            script.setPermissions(name.startsWith('!') ? QFile::ReadOwner : QFile::ReadOwner | QFile::ExeOwner);
        }
        qputenv("PATH", dir.path().toLocal8Bit());
        ScriptedMessages messages;
        StartSysInfo(messages, nullptr);
        qputenv("PATH", path);
        const QString ran = dir.filePath(c.started + QStringLiteral(".ran"));
        EXPECT_TRUE(c.started.isEmpty() || QTest::qWaitFor([&] { return QFileInfo(ran).size() > 0; }, 10000));
        EXPECT_EQ(QDir(dir.path()).entryList({"*.ran"}).size(), c.started.isEmpty() ? 0 : 1);
        EXPECT_EQ(messages.texts(), c.started.isEmpty() ? QStringList{kSysInfoUnavailable} : QStringList());
    }
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
