// The real message boxes: title, icon and buttons of each kind, and the
// answer a question gives for each button.
#include "Messages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace {

struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Waits for the box to come up, records it and presses `press`.
Seen whenShown(QMessageBox::StandardButton press, const std::function<void()>& show)
{
    Seen seen;
    bool pressed = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || pressed) return;
        pressed = true;
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        if (QAbstractButton* b = box->button(press)) b->click();
        else box->reject();
    });
    poll.start();
    show();
    poll.stop();
    return seen;
}

struct KindCase {
    const char* name;
    std::function<void(Messages&)> call;
    QMessageBox::Icon icon;
};

class MessageKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(MessageKinds, TitleIconAndOkOnly)
{
    QtMessages messages;
    const Seen seen = whenShown(QMessageBox::Ok, [&] { GetParam().call(messages); });
    EXPECT_EQ(seen.title, QStringLiteral("Brimvale"));
    EXPECT_EQ(seen.text, QStringLiteral("Something to say"));
    EXPECT_EQ(seen.icon, GetParam().icon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageKinds,
    ::testing::Values(
        KindCase{"warning", [](Messages& m) { m.warning(nullptr, QStringLiteral("Something to say")); },
                 QMessageBox::Warning},
        KindCase{"critical", [](Messages& m) { m.critical(nullptr, QStringLiteral("Something to say")); },
                 QMessageBox::Critical},
        KindCase{"information", [](Messages& m) { m.information(nullptr, QStringLiteral("Something to say")); },
                 QMessageBox::NoIcon}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Question, YesAndNoOnlyNoIcon)
{
    QtMessages messages;
    for (const auto& [press, expected] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        bool answer = !expected;
        const Seen seen = whenShown(press, [&] { answer = messages.question(nullptr, QStringLiteral("Sure?")); });
        EXPECT_EQ(answer, expected);
        EXPECT_EQ(seen.title, QStringLiteral("Brimvale"));
        EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
