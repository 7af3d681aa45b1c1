#include "StartupFixture.h"

namespace {

using Status = StartupFixture;

TEST_F(Status, StatusTextShowsDateTimeLayoutAndControlSystem)
{
    clock.wallClock = QDateTime(QDate(2026, 12, 7), QTime(3, 45));
    shared.LayoutName = QStringLiteral("Millbrook Junction");
    shared.ControlSystem = QStringLiteral("DCC + DC");
    sr.BuildStatusText();
    EXPECT_EQ(sr.StatusText, QStringLiteral("Monday, Dec 7 2026  03:45 AM   Millbrook Junction in Varnolix DCC + DC"));
    clock.wallClock = QDateTime(QDate(2027, 1, 1), QTime(15, 5));
    sr.BuildStatusText();
    EXPECT_TRUE(sr.StatusText.startsWith(QStringLiteral("Friday, Jan 1 2027  03:05 PM   ")));
}

TEST_F(Status, FrameTextIsSixDecimalsWithALeadingBlankEach)
{
    shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x1C, 0xE9, 0x55};
    sr.FormatFrameText();
    EXPECT_EQ(shared.FrameText, QStringLiteral(" 228  18  0  3  28  233"));
    // A shorter frame still shows six bytes: what an earlier frame left.
    shared.FrameBuf[0] = 0x52;
    sr.FormatFrameText();
    EXPECT_EQ(shared.FrameText, QStringLiteral(" 82  18  0  3  28  233"));
}

struct CaptionCase {
    int port;
    bool showFrames;
    const char* ending;
    const char* label;
    bool modemOn;
};

class StatusCaptions : public Status, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(StatusCaptions, FollowThePortAndTheByteDisplay)
{
    const CaptionCase& c = GetParam();
    shared.PortNumber = static_cast<std::uint8_t>(c.port);
    shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x1C, 0xE9, 0};
    sr.ShowFrames = c.showFrames;
    sr.StatusText = QStringLiteral("STATUS");
    const SR::StatusCaption caption = sr.ShowStatusCaption();
    EXPECT_EQ(caption.title, QStringLiteral("STATUS") + QString::fromLatin1(c.ending));
    EXPECT_EQ(caption.frameLabel, QString::fromLatin1(c.label));
    EXPECT_EQ(caption.modemOn, c.modemOn);
}

INSTANTIATE_TEST_SUITE_P(SR, StatusCaptions,
                         ::testing::Values(CaptionCase{0, false, "  modem OFF", "hide", false},
                                           CaptionCase{0, true, "  modem OFF", "hide", false},
                                           CaptionCase{3, false, "  modem ON", "hide", true},
                                           CaptionCase{3, true, "  modem ON  228  18  0  3  28  233", "show", true}));

TEST_F(Status, MotorToggleTwiceHidesThenShowsTheCoils)
{
    EXPECT_EQ(sr.ToggleMotorPanel(), QStringLiteral("solenoids"));
    EXPECT_FALSE(windows.view.coilsVisible);
    EXPECT_TRUE(windows.view.motorFrameVisible);
    EXPECT_EQ(windows.view.motorFrameLeft, 10);
    EXPECT_EQ(windows.view.caption, QStringLiteral("DC motor control"));
    EXPECT_EQ(windows.view.width, 4260);
    EXPECT_EQ(sr.ToggleMotorPanel(), QStringLiteral("motors"));
    EXPECT_TRUE(windows.view.coilsVisible);
    EXPECT_FALSE(windows.view.motorFrameVisible);
    EXPECT_EQ(windows.view.caption, QStringLiteral("DC solenoid control"));
    EXPECT_EQ(windows.view.width, 4260);
}

TEST_F(Status, BothToggleWidensAndNarrowsTheCoilWindow)
{
    EXPECT_EQ(sr.ToggleBothPanels(), QStringLiteral("solenoids"));
    EXPECT_EQ(windows.view.width, 8400);
    EXPECT_EQ(windows.view.motorFrameLeft, 4150);
    EXPECT_EQ(windows.view.caption, QStringLiteral("DC solenoid & motor control"));
    EXPECT_EQ(sr.ToggleBothPanels(), QStringLiteral("both"));
    EXPECT_EQ(windows.view.width, 4260);
    EXPECT_EQ(windows.view.caption, QStringLiteral("DC solenoid control"));
    EXPECT_FALSE(windows.view.motorFrameVisible);
}

TEST_F(Status, MotorsThenBothLeavesCoilsShownAndTheMotorFlagSet)
{
    sr.ToggleMotorPanel();
    sr.ToggleBothPanels();
    EXPECT_TRUE(windows.view.coilsVisible);
    EXPECT_EQ(windows.view.width, 8400);
    EXPECT_EQ(windows.view.motorFrameLeft, 4150);
    EXPECT_TRUE(sr.PanelToggle[0]);
}

TEST_F(Status, CoilGridHasEightButtonsARowWithEvenCaptionsOutsideDcc)
{
    shared.ControlSystem = QStringLiteral("DCC + DC");
    shared.CoilCount = 64;
    shared.CoilPitch = 460;
    const auto places = sr.LayoutCoilButtons();
    ASSERT_EQ(places.size(), 64u);
    EXPECT_EQ(places[0].caption, QStringLiteral("2"));
    EXPECT_EQ(places[63].caption, QStringLiteral("128"));
    EXPECT_EQ(places[1].left, 480);
    EXPECT_EQ(places[2].left, 940);
    EXPECT_EQ(places[7].left, 20 + 7 * 460);
    EXPECT_EQ(places[8].left, 20);
    EXPECT_EQ(places[8].top, 310);
    EXPECT_EQ(places[63].top, 7 * 310);
    EXPECT_EQ(places[0].width, 450);
}

TEST_F(Status, CoilGridInDccRunsOneToNinetyNine)
{
    shared.ControlSystem = QStringLiteral("DCC");
    shared.CoilCount = 99;
    shared.CoilPitch = 460;
    const auto places = sr.LayoutCoilButtons();
    ASSERT_EQ(places.size(), 99u);
    EXPECT_EQ(places[0].caption, QStringLiteral("1"));
    EXPECT_EQ(places[98].caption, QStringLiteral("99"));
    EXPECT_EQ(places[98].top, 12 * 310); // three buttons on a 13th row
    EXPECT_EQ(places[98].left, 20 + 2 * 460);
}

TEST_F(Status, ResetButtonSizesActsOnTheRightWindow)
{
    shared.CoilPitch = 460;
    sr.ResetButtonSizes(0);
    EXPECT_EQ(windows.calls, QStringList{QStringLiteral("coil sizes 460x310 8pt")});
    EXPECT_TRUE(shared.RestorePending);

    windows.calls.clear();
    sr.ResetButtonSizes(1);
    ASSERT_EQ(windows.calls.size(), 14);
    EXPECT_EQ(windows.calls[0], QStringLiteral("loco 0 800"));
    EXPECT_EQ(windows.calls[1], QStringLiteral("loco 2 500"));
    EXPECT_FALSE(windows.calls.contains(QStringLiteral("loco 1 500")));

    windows.calls.clear();
    sr.ResetButtonSizes(2);
    EXPECT_TRUE(windows.calls.isEmpty());
}

} // namespace
