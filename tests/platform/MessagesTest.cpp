// The real question box: program title, no icon, Yes and No only, and the
// answer each button gives.
#include "Messages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

TEST(QtMessages, QuestionBoxAndAnswers)
{
    QtMessages messages;
    for (const auto& [press, answer] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        QTimer::singleShot(0, [press = press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle().toStdString(), "Brimvale");
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            box->button(press)->click();
        });
        EXPECT_EQ(messages.question(nullptr, QStringLiteral("Sure?")), answer);
    }
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
