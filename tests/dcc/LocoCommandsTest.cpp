// Address bytes, speed steps, the 5 ms pause and the double header, through
// the DCC module's procedures.
#include "LocoModuleFixture.h"

namespace {

class LocoCommands : public LocoModuleFixture {
protected:
    void engine(int number)
    {
        dcc.AddressForEngine = true;
        dcc.LocoNumber = static_cast<std::int16_t>(number);
        dcc.SetAddressBytes();
    }
};

TEST_F(LocoCommands, SpeedStepsGoToTheTrainEngineWithTheDirectionBit)
{
    struct Case {
        int number;
        std::uint8_t direction;
        std::uint8_t index;
        const char* frame;
    };
    const Case cases[] = {{3, 128, 9, "E4 12 00 03 89 7C"},
                          {1234, 0, 0, "E4 12 C4 D2 00 E0"},
                          {1234, 128, 14, "E4 12 C4 D2 8E 6E"},
                          {99, 0, 2, "E4 12 00 63 02 97"}};
    for (const Case& c : cases) {
        engine(c.number);
        dcc.DirectionBit = c.direction;
        shared.ActiveIndex = c.index;
        dcc.SendSpeedStep();
        EXPECT_EQ(sent(), QStringList{QString::fromLatin1(c.frame)}) << c.number;
        EXPECT_EQ(dcc.SpeedByte, c.direction + c.index);
    }
}

TEST_F(LocoCommands, EachSpeedFrameIsFollowedByAFiveMillisecondPause)
{
    const double start = clock.seconds();
    int framesSentBeforeTheWait = -1;
    clock.duringWait = [&] {
        if (framesSentBeforeTheWait < 0)
            framesSentBeforeTheWait = static_cast<int>(link.written.size());
    };
    dcc.SendSpeedStep();
    EXPECT_EQ(framesSentBeforeTheWait, 1) << "the frame is written before the pause begins";
    EXPECT_GE(clock.seconds() - start, 0.005);
    EXPECT_LT(clock.seconds() - start, 0.010);
    // The frame alone has no pause; neither has the double header.
    const int waits = clock.waits;
    dcc.SendSpeedFrame(0, 3);
    dcc.SendDoubleHeader();
    EXPECT_EQ(clock.waits, waits);
}

TEST_F(LocoCommands, NumbersOutsideOneToNineThousandNineHundredNinetyNineKeepTheBytes)
{
    engine(315);
    EXPECT_EQ((std::pair{dcc.EngineAddrHigh, dcc.EngineAddrLow}), (std::pair<std::uint8_t, std::uint8_t>{193, 59}));
    for (int number : {0, -1, 10000, 32767}) {
        engine(number);
        EXPECT_EQ(dcc.EngineAddrHigh, 193) << number;
        EXPECT_EQ(dcc.EngineAddrLow, 59) << number;
    }
    EXPECT_EQ(dcc.PilotAddrHigh, 0) << "the engine's number never touches the pilot";
    dcc.AddressForEngine = false;
    dcc.LocoNumber = 99;
    dcc.SetAddressBytes();
    EXPECT_EQ((std::pair{dcc.PilotAddrHigh, dcc.PilotAddrLow}), (std::pair<std::uint8_t, std::uint8_t>{0, 99}));
    EXPECT_EQ(dcc.EngineAddrLow, 59);
}

class DoubleHeader : public LocoCommands {
protected:
    DoubleHeader()
    {
        writeLocoFile("\"0100\",\"D100\"\r\n\"0099\",\"D99\"\r\n\"0003\",\"E27\"\r\n\"1234\",\"E1234\"\r\n\"0000\",\"E0\"\r\n");
        dcc.roster.ReadLocoFile(); // D100, D99, E0, E1234, E27
    }
    static constexpr int D100 = 0, D99 = 1, E0 = 2, E1234 = 3, E27 = 4;
};

TEST_F(DoubleHeader, LongEngineShortPilot)
{
    ASSERT_TRUE(dcc.SelectTrainEngine(D100));
    dcc.SelectPilot(D99);
    // Both stopped first: a command station couples only stopped locos.
    EXPECT_EQ(sent(), (QStringList{QStringLiteral("E4 12 C0 64 00 52"), QStringLiteral("E4 12 00 63 00 95"),
                                   QStringLiteral("E5 43 C0 64 00 63 61")}));
}

TEST_F(DoubleHeader, ALocoWithChipZeroCannotBeChosenAsEngineOrPilot)
{
    ASSERT_TRUE(dcc.SelectTrainEngine(E1234));
    EXPECT_FALSE(dcc.SelectTrainEngine(E0)) << "its frames would go to E1234";
    EXPECT_EQ(dcc.EngineIndex, E1234);
    EXPECT_EQ(dcc.SelectPilot(E0), DCC::PilotChoice::BadChip) << "its frame would dissolve, not couple";
    EXPECT_EQ(dcc.PilotIndex, DCC::NoPilot);
    EXPECT_TRUE(sent().isEmpty());
    const QStringList texts = dialogs.messageTexts();
    ASSERT_EQ(texts.size(), 2);
    for (const QString& text : texts) {
        EXPECT_TRUE(text.contains(QStringLiteral("\"E0\"")) && text.contains(QStringLiteral("loco.txt"))) << text.toStdString();
    }
}

TEST_F(LocoCommands, TheBlankItemOfAnEmptyRosterChoosesNothing)
{
    dcc.roster.ReadLocoFile();
    EXPECT_FALSE(dcc.SelectTrainEngine(0));
    EXPECT_FALSE(dcc.EngineChosen);
    EXPECT_FALSE(dcc.FuncBoxesEnabled);
    EXPECT_EQ(dcc.SelectPilot(0), DCC::PilotChoice::Ignored);
    EXPECT_TRUE(sent().isEmpty());
}

} // namespace
