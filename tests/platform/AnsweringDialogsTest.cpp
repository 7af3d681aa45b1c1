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

TEST(AnsweringDialogs, NoticesGoOnAsNoticesOrToStandardError)
{
    FakeDialogs shown;
    AnsweringDialogs withScreen(&shown);
    withScreen.notice(QStringLiteral("link"), QStringLiteral("DCC box lost"), QStringLiteral("Varnolix DCC"), Dialogs::Critical);
    ASSERT_EQ(shown.notices().size(), 1U) << "a notice, never a box that waits";
    EXPECT_EQ(shown.notices()[0].noticeKey, QStringLiteral("link"));

    AnsweringDialogs unattended(nullptr);
    testing::internal::CaptureStderr();
    unattended.notice(QStringLiteral("link"), QStringLiteral("DCC box lost"), QStringLiteral("Varnolix DCC"), Dialogs::Critical);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Varnolix: Varnolix DCC: DCC box lost\n");
}

} // namespace
