// The real message boxes: program title, no icon on questions, Yes and No
// only, the answer each button gives, what dismissing a box answers, and a
// width that keeps the title whole.
#include "Messages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the message box once it is up.
void onBox(std::function<void(QMessageBox*)> act)
{
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(box);
    });
}

// Esc as a user presses it: to the widget with the focus inside the box.
void pressEscape(QMessageBox* box)
{
    QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
}

int visibleButtons(const QMessageBox* box)
{
    int shown = 0;
    for (const QAbstractButton* button : box->findChildren<QAbstractButton*>())
        shown += button->isVisible();
    return shown;
}

}  // namespace

TEST(QtMessages, QuestionBoxAndAnswers)
{
    QtMessages messages;
    for (const auto& [press, answer] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        onBox([press = press](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle().toStdString(), "Brimvale");
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            box->button(press)->click();
        });
        EXPECT_EQ(messages.question(nullptr, QStringLiteral("Sure?")), answer);
    }
    // The delete question: dismissing it deletes nothing.
    onBox(pressEscape);
    EXPECT_FALSE(messages.question(nullptr, QStringLiteral("Sure?")));
}

// The close prompt's box shows Yes and No only; Esc and the box's own close
// button answer neither.
TEST(QtMessages, AskTellsDismissalFromNo)
{
    using A = Messages::Answer;
    const std::function<void(QMessageBox*)> yes = [](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); };
    const std::function<void(QMessageBox*)> no = [](QMessageBox* b) { b->button(QMessageBox::No)->click(); };
    const std::function<void(QMessageBox*)> close = [](QMessageBox* b) { b->close(); };
    const struct {
        const char* name;
        std::function<void(QMessageBox*)> act;
        A answer;
    } cases[] = {{"Yes", yes, A::Yes}, {"No", no, A::No}, {"Esc", pressEscape, A::Dismissed}, {"close", close, A::Dismissed}};
    QtMessages messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        onBox([&c](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle().toStdString(), "Brimvale");
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            EXPECT_EQ(visibleButtons(box), 2);
            c.act(box);
        });
        EXPECT_EQ(messages.ask(nullptr, QStringLiteral("Save?")), c.answer);
    }
}

// Every kind of box, even with a short text, leaves the frame room for the
// whole title beside its icon and buttons.
TEST(QtMessages, BoxesKeepTheTitleWhole)
{
    QtMessages messages;
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int title = QFontMetrics(titleFont).horizontalAdvance(QStringLiteral("Brimvale"));
    const std::function<void()> kinds[] = {
        [&] { messages.critical(nullptr, QStringLiteral("6 - Overflow")); },
        [&] { messages.warning(nullptr, QStringLiteral("6 - Overflow")); },
        [&] { messages.information(nullptr, QStringLiteral("x")); },
        [&] { messages.question(nullptr, QStringLiteral("x")); },
        [&] { messages.ask(nullptr, QStringLiteral("x")); },
    };
    for (const auto& show : kinds) {
        int width = 0;
        onBox([&width](QMessageBox* box) {
            width = box->width();
            box->close();
        });
        show();
        // The title plus a window icon and three frame buttons of at least 24 pixels.
        EXPECT_GE(width, title + 4 * 24);
    }
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
