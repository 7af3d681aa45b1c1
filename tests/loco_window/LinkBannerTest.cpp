// The loco window shows what the command station says, and ticks a pilot
// only once the double header is acknowledged.
#include "LocoWindowFixture.h"

#include <QLabel>

namespace {

using LinkBanner = LocoWindowFixture;

TEST_F(LinkBanner, TrackStatesShowInRedWhileTheyLast)
{
    start();
    EXPECT_FALSE(form->lblBanner->isVisible());
    const int panelHeight = form->height();
    link.deliver(QByteArray::fromHex("810081"), true, true);
    EXPECT_TRUE(form->lblBanner->isVisible());
    EXPECT_EQ(form->lblBanner->text(), QStringLiteral("EMERGENCY STOP"));
    // The window grows by the banner, so no throttle button is pushed out of it.
    EXPECT_EQ(form->height(), panelHeight + form->lblBanner->sizeHint().height());
    link.deliver(QByteArray::fromHex("610061"));
    EXPECT_EQ(form->lblBanner->text(), QStringLiteral("TRACK POWER OFF"));
    link.deliver(QByteArray::fromHex("610160"));
    EXPECT_FALSE(form->lblBanner->isVisible());
    EXPECT_EQ(form->height(), panelHeight);
}

TEST_F(LinkBanner, ATakeOverOfTheTrainEngineShowsUntilTheNextCommandFromThisPanel)
{
    start();
    chooseEngine(E27);
    link.deliver(QByteArray::fromHex("E34004D275")); // 1234, not the engine
    EXPECT_FALSE(form->lblBanner->isVisible());
    link.deliver(QByteArray::fromHex("E3400003A0")); // 3, the engine
    EXPECT_EQ(form->lblBanner->text(), QStringLiteral("taken over by another throttle"));
    click(form->cmdLoco[5]);
    EXPECT_FALSE(form->lblBanner->isVisible());
}

TEST_F(LinkBanner, ARefusedDoubleHeaderLeavesThePilotUntickedAndSaysWhy)
{
    start();
    chooseEngine(E27);
    link.replies = {QByteArray::fromHex("010405"), QByteArray::fromHex("010405"), QByteArray::fromHex("E18465")};
    choosePilot(D1);
    EXPECT_TRUE(form->mnuUnitB[D1]->isChecked() == false);
    EXPECT_EQ(form->mnuList[0]->title(), QStringLiteral("pilot"));
    QCoreApplication::processEvents();
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("E27 and D1 were not coupled: a loco is not at speed 0.")});
    // The pilot is free: it can be chosen again, and this time the box agrees.
    choosePilot(D1);
    EXPECT_TRUE(form->mnuUnitB[D1]->isChecked());
    EXPECT_EQ(form->mnuList[0]->title(), QStringLiteral("D1"));
}

TEST_F(LinkBanner, APilotWaitsUntickedForTheAnswerAndAnUnansweredOneIsDropped)
{
    start();
    chooseEngine(E27);
    link.replies = {QByteArray::fromHex("010405"), QByteArray::fromHex("010405"), QByteArray()};
    choosePilot(D1);
    EXPECT_FALSE(form->mnuUnitB[D1]->isChecked());
    clock.advance(0.6);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->mnuUnitB[D1]->isChecked());
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("E27 and D1 were not coupled: the DCC box did not answer.")});
}

TEST_F(LinkBanner, APilotStillWaitingWhenTheLinkGoesIsNotFormed)
{
    start();
    chooseEngine(E27);
    link.replies = {QByteArray::fromHex("010405"), QByteArray::fromHex("010405"), QByteArray()};
    choosePilot(D1);
    link.unplug();
    EXPECT_FALSE(form->mnuUnitB[D1]->isChecked());
    EXPECT_EQ(dcc().PilotIndex, DCC::NoPilot);
    EXPECT_EQ(form->mnuList[0]->title(), QStringLiteral("pilot"));
}

} // namespace

namespace {

TEST_F(LinkBanner, WhileTheLinkIsLostAGoIsNotShownAndAStopSaysItHasNotArrived)
{
    start();
    chooseEngine(E27);
    click(form->cmdLoco[5]);
    link.present.clear();
    link.unplug();
    sent();

    click(form->cmdLoco[9]); // refused: the throttle still shows step 5
    EXPECT_EQ(form->locoButtonHeight(5), 800);
    EXPECT_EQ(form->locoButtonHeight(9), 500);
    EXPECT_EQ(app->dcc().linkState().notSent, QStringLiteral("DCC box lost"));
    choosePilot(D1);
    EXPECT_FALSE(form->mnuUnitB[D1]->isChecked());

    click(form->cmdLoco[9], Qt::RightButton); // kept: STOP shows, and that it has not arrived
    EXPECT_EQ(form->locoButtonHeight(0), 800);
    EXPECT_EQ(form->locoButtonHeight(5), 500);
    EXPECT_TRUE(form->lblBanner->isVisible());
    EXPECT_EQ(form->lblBanner->text(), QStringLiteral("STOP NOT SENT"));
    EXPECT_EQ(sent(), QStringList{});
}

} // namespace
