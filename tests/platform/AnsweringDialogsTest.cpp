#include "AnsweringDialogs.h"
#include "FakeDialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(AnsweringDialogs, AnswersEachQuestionWithItsDefaultOnceThenCancels)
{
    FakeDialogs shown;
    AnsweringDialogs dialogs(&shown);
    EXPECT_EQ(dialogs.input(QStringLiteral("name the file"), QStringLiteral("layout"), QStringLiteral("Home")),
              QStringLiteral("Home"));
    EXPECT_EQ(dialogs.input(QStringLiteral("port"), QStringLiteral("DCC Box disconnected"), QStringLiteral("5")),
              QStringLiteral("5"));
    EXPECT_EQ(dialogs.input(QStringLiteral("name the file"), QStringLiteral("layout"), QStringLiteral("Home")),
              QString()) << "the default did not work: asking again would never end";
    dialogs.message(QStringLiteral("DCC box connected on Port 5"), QStringLiteral("Varnolix DCC"), Dialogs::Information);
    EXPECT_EQ(shown.messageTexts(), QStringList{QStringLiteral("DCC box connected on Port 5")});
    EXPECT_EQ(shown.shown.size(), 1U) << "questions never reach the screen";
}

} // namespace
