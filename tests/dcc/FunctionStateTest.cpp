// Function bytes, function-group frames, the two panel modes and the
// function file.
#include "DataFile.h"
#include "FunctionCaptions.h"
#include "LocoModuleFixture.h"

namespace {

class Functions : public LocoModuleFixture {
protected:
    Functions()
    {
        writeLocoFile("\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n");
        dir.write(QStringLiteral("data/text/function.txt"), FunctionFile);
        dcc.roster.ReadLocoFile();
        EXPECT_TRUE(dcc.ReadFunctionFile());
        EXPECT_TRUE(dcc.SelectTrainEngine(1)); // E27, chip 0003
        sent();
    }

    // A left click as the panel makes it: press, then release.
    void click(int box)
    {
        dcc.FuncNumber = static_cast<std::uint8_t>(box);
        dcc.FunctionPress(box);
        dcc.FunctionRelease(box);
        if (!dcc.OperateMode)
            dcc.FlipLatching(box);
    }

    std::uint8_t byte() const { return dcc.roster.FuncState[dcc.EngineIndex]; }
};

TEST_F(Functions, EveryFrameCarriesTheWholeByteWithTheGroupOfTheBoxPressed)
{
    click(1); // latching F1 on: byte 1
    sent();
    dcc.FuncNumber = 5;
    dcc.FunctionPress(5);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 21 00 03 21 E7")});
    dcc.FunctionRelease(5);
    sent();
    dcc.FuncNumber = 9;
    dcc.FunctionPress(9);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 22 00 03 01 C4")}) << "F9 weighs nothing";
    EXPECT_EQ(byte(), 1);
}

TEST_F(Functions, SwitchingSetsOrClearsOnlyTheFunctionsOwnBit)
{
    struct Case {
        std::uint8_t start;
        int box;
        bool press; // press switches on; release switches off
        std::uint8_t after;
    };
    const Case cases[] = {{200, 7, true, 200}, {127, 7, true, 255}, {0, 2, false, 0},   {1, 2, false, 1},
                          // F2 already off: no borrow from F0 (16 - 2 = 14 would be F2-F4 on, F0 off)
                          {16, 2, false, 16},
                          // F0 already on: no carry into F5 (16 + 16 = 32)
                          {16, 0, true, 16},  {15, 0, true, 31},   {255, 4, false, 247}, {37, 9, true, 37}};
    for (const Case& c : cases) {
        dcc.roster.FuncState[dcc.EngineIndex] = c.start;
        dcc.FuncNumber = static_cast<std::uint8_t>(c.box);
        if (c.press) {
            dcc.FunctionPress(c.box);
        } else {
            dcc.FuncBoxTicked[static_cast<std::size_t>(c.box)] = true;
            dcc.FunctionRelease(c.box);
        }
        EXPECT_EQ(byte(), c.after) << int{c.start} << " box " << c.box;
        const QStringList frames = sent();
        ASSERT_EQ(frames.size(), 1);
        EXPECT_EQ(frames[0].mid(12, 2), QStringLiteral("%1").arg(c.after, 2, 16, QLatin1Char('0')).toUpper())
            << "the frame carries the byte";
    }
}

TEST_F(Functions, TheFtResetWaitsForATrainEngine)
{
    DCC fresh(shared, link, clock, dialogs, dir.folder());
    fresh.roster.FuncState[0] = 5;
    EXPECT_FALSE(fresh.ResetFunctionByte());
    EXPECT_EQ(fresh.roster.FuncState[0], 5);
    EXPECT_TRUE(sent().isEmpty()) << "no frame to address 00 00";
}

TEST_F(Functions, ALatchedFunctionCarriesOverToTheNextEngine)
{
    click(0); // on for E27
    sent();
    ASSERT_TRUE(dcc.SelectTrainEngine(0)); // D1, byte 0
    EXPECT_FALSE(dcc.FuncBoxTicked[0]);
    click(0);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 20 C4 D2 00 D2")}) << "first click: off, unchanged byte";
    click(0);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 20 C4 D2 10 C2")}) << "second click: on";
}

TEST_F(Functions, TheModeSwitchWaitsForATrainEngine)
{
    DCC fresh(shared, link, clock, dialogs, dir.folder());
    fresh.ReadFunctionFile();
    EXPECT_FALSE(fresh.ToggleFunctionMode());
    EXPECT_TRUE(fresh.OperateMode);
}

TEST_F(Functions, NamesSurviveAnyNumberOfSavesAndReads)
{
    dir.write(QStringLiteral("data/text/function.txt"),
              QByteArray(FunctionFile)
                  .replace("\"F3   OFF coupler\"", "\"coupler\"").replace("\"F12   OFF smoke\"", "\"F12   ON  smoke\""));
    ASSERT_TRUE(dcc.ReadFunctionFile());
    for (int round = 0; round < 5; ++round) {
        dcc.ResetFunctionPanel();
        ASSERT_TRUE(dcc.ToggleFunctionMode());
        ASSERT_TRUE(dcc.ToggleFunctionMode()); // saves
        ASSERT_TRUE(dcc.ReadFunctionFile());
    }
    dcc.ResetFunctionPanel();
    EXPECT_EQ(dcc.FuncBoxCaption[0], QStringLiteral("F0   OFF lights"));
    EXPECT_EQ(dcc.FuncBoxCaption[3], QStringLiteral("F3   OFF coupler"));
    EXPECT_EQ(dcc.FuncBoxCaption[9], QStringLiteral("F9   OFF squeal"));
    EXPECT_EQ(dcc.FuncBoxCaption[10], QStringLiteral("F10   OFF fan"));
    EXPECT_EQ(dcc.FuncBoxCaption[12], QStringLiteral("F12   OFF smoke"));
    dcc.FunctionPress(10);
    EXPECT_EQ(dcc.FuncBoxCaption[10], QStringLiteral("F10   ON  fan"));
}

TEST(FunctionCaptionNames, TheNameIsWhateverFollowsTheLabel)
{
    const std::pair<const char*, const char*> cases[] = {
        {"F0   OFF lights", " lights"}, {"F0   ON  lights", " lights"}, {"F10   OFF fan", " fan"},
        {"F12   ON smoke", "smoke"},     {"lights", " lights"},          {" lights", " lights"},
        {"", ""},                        {"F3   OFF", ""},              {"F3 OFF x", " F3 OFF x"}};
    for (const auto& [caption, name] : cases)
        EXPECT_EQ(function_captions::namePart(QString::fromLatin1(caption)), QString::fromLatin1(name)) << caption;
    EXPECT_EQ(function_captions::label(4, true), QStringLiteral("F4   ON "));
    EXPECT_EQ(function_captions::label(11, false), QStringLiteral("F11   OFF"));
}

class FunctionFileReading : public LocoModuleFixture {};

TEST_F(FunctionFileReading, ThirteenGoodLinesSetEveryCaptionAndOperateMode)
{
    dir.write(QStringLiteral("data/text/function.txt"), FunctionFile);
    EXPECT_TRUE(dcc.ReadFunctionFile());
    EXPECT_TRUE(dcc.OperateMode);
    EXPECT_EQ(dcc.FuncBoxCaption[12], QStringLiteral("F12   OFF smoke"));
    EXPECT_EQ(dcc.FuncCaption[0], QStringLiteral("F0   OFF lights"));
    EXPECT_TRUE(dcc.FuncLatching[1]);
    EXPECT_FALSE(dcc.FuncLatching[2]);
    EXPECT_TRUE(dcc.FuncCaption[13].isEmpty());
}

TEST_F(FunctionFileReading, AShortFileKeepsWhatWasReadAndStartsInStatusMode)
{
    DCC fresh(shared, link, clock, dialogs, dir.folder());
    dir.write(QStringLiteral("data/text/function.txt"), FunctionFile.left(FunctionFile.indexOf("\"F5")));
    EXPECT_FALSE(fresh.ReadFunctionFile());
    EXPECT_FALSE(fresh.OperateMode);
    EXPECT_EQ(fresh.FuncCaption[4], QStringLiteral("F4   OFF engine"));
    EXPECT_TRUE(fresh.FuncCaption[5].isEmpty());
    EXPECT_TRUE(fresh.FuncBoxTicked[0]) << "status mode shows F0 latching";
    EXPECT_TRUE(dialogs.shown.empty());
    // A box pressed now only ticks: no frame.
    fresh.FunctionPress(2);
    EXPECT_TRUE(link.written.isEmpty());
}

TEST_F(FunctionFileReading, AGarbledLineIsNamedTheRestIsReadAndNoNameIsLostOnSaving)
{
    // Line 6 garbled, line 9 without its flag; an extra line after the thirteen.
    const QByteArray file = QByteArray(FunctionFile)
                                .replace("\"F5   OFF shunt\",#FALSE#", "\"F5   OFF shunt\",maybe")
                                .replace("\"F8   OFF brake\",#FALSE#", "\"F8   OFF brake\"")
                                .replace("\"F12   OFF smoke\",#FALSE#", "\"F12   OFF smoke\",#TRUE#")
        + "\"F13   OFF whistle\",#TRUE#\r\n";
    dir.write(QStringLiteral("data/text/function.txt"), file);
    EXPECT_FALSE(dcc.ReadFunctionFile());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const QString text = dialogs.messages()[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("function.txt")) && text.contains(QStringLiteral("lines 6, 9")))
        << text.toStdString();
    EXPECT_EQ(dcc.FuncCaption[5], QStringLiteral("F5   OFF shunt"));
    EXPECT_FALSE(dcc.FuncLatching[5]);
    EXPECT_EQ(dcc.FuncCaption[8], QStringLiteral("F8   OFF brake"));
    EXPECT_EQ(dcc.FuncCaption[9], QStringLiteral("F9   OFF squeal")) << "read from the line after the one that lacks its flag";
    EXPECT_EQ(dcc.FuncCaption[12], QStringLiteral("F12   OFF smoke"));
    EXPECT_TRUE(dcc.FuncLatching[12]);
    EXPECT_FALSE(dcc.OperateMode) << "status mode, to check the flags";

    dcc.WriteFunctionFile(); // as the return to operate mode does
    const QByteArray saved = dir.read(QStringLiteral("data/text/function.txt"));
    for (const char* kept : {"\"F5   OFF shunt\",#FALSE#\r\n", "\"F9   OFF squeal\",#FALSE#\r\n",
                             "\"F12   OFF smoke\",#TRUE#\r\n\"F13   OFF whistle\",#TRUE#\r\n"})
        EXPECT_TRUE(saved.contains(kept)) << kept << "\n" << saved.toStdString();
}

TEST_F(FunctionFileReading, AFileThatCannotBeReadIsNamedAndNeverRewritten)
{
    const QByteArray big = FunctionFile + QByteArray(data_file::ReadLimit, ' ');
    dir.write(QStringLiteral("data/text/function.txt"), big);
    EXPECT_FALSE(dcc.ReadFunctionFile());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("function.txt")));
    dcc.WriteFunctionFile();
    EXPECT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dir.read(QStringLiteral("data/text/function.txt")), big);
}

TEST_F(FunctionFileReading, AWindows1252NameSurvivesASave)
{
    dir.write(QStringLiteral("data/text/function.txt"),
              QByteArray(FunctionFile).replace("\"F6   OFF cab\"", "\"F6   OFF Gep\xe4" "ck\""));
    ASSERT_TRUE(dcc.ReadFunctionFile());
    EXPECT_EQ(dcc.FuncCaption[6], QStringLiteral("F6   OFF Gep\u00e4ck"));
    dcc.WriteFunctionFile();
    EXPECT_TRUE(dir.read(QStringLiteral("data/text/function.txt")).contains("\"F6   OFF Gep\xe4" "ck\",#FALSE#\r\n"));
}

TEST_F(FunctionFileReading, AMissingFileIsCreatedAndTheNextSaveWritesAllThirteenLines)
{
    EXPECT_FALSE(dcc.ReadFunctionFile());
    EXPECT_TRUE(dir.exists(QStringLiteral("data/text/function.txt")));
    dcc.WriteFunctionFile();
    EXPECT_EQ(dir.read(QStringLiteral("data/text/function.txt")).count("\"\",#FALSE#\r\n"), 13);
}

TEST_F(FunctionFileReading, AFailedSaveIsShownAndTheRunGoesOn)
{
    shared.FunctionFilePath = dir.path() + QStringLiteral("/data"); // a folder
    dcc.WriteFunctionFile();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].style, Dialogs::Critical);
}

} // namespace
