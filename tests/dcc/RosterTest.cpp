// loco.txt, the sorted roster and new locos from the entry panel.
#include "LocoFile.h"
#include "LocoModuleFixture.h"
#include "Roster.h"

namespace {

// The train-engine and pilot choice, kept by the DCC module.
using RosterChoice = LocoModuleFixture;

// The roster alone, its file in a throw-away data folder.
class RosterFile : public ::testing::Test {
protected:
    RosterFile() { shared.LocoFilePath = dir.path() + QStringLiteral("/data/text/loco.txt"); }

    void writeLocoFile(const QByteArray& content) { dir.write(QStringLiteral("data/text/loco.txt"), content); }
    QByteArray locoFile() const { return dir.read(QStringLiteral("data/text/loco.txt")); }
    QStringList messageTitles() const { return dialogs.messageTitles(); }

    TestFolder dir;
    Shared shared;
    FakeDialogs dialogs;
    Roster roster{shared, dialogs};
};

QStringList names(const Roster& roster)
{
    QStringList out;
    for (int i = 0; i < roster.LocoCount; ++i)
        out << roster.LocoName[static_cast<std::size_t>(i)] + QLatin1Char('/') + roster.LocoChip[static_cast<std::size_t>(i)];
    return out;
}

QByteArray entries(int count)
{
    QByteArray content;
    for (int i = 1; i <= count; ++i)
        content += QStringLiteral("\"%1\",\"D%2\"\r\n").arg(i, 4, 10, QLatin1Char('0')).arg(i).toLatin1();
    return content;
}

TEST(RosterOrder, RowsSortAlphabeticallyIgnoringCaseAndEqualRowsGoAfter)
{
    const QStringList rows{QStringLiteral("D11234"), QStringLiteral("E270003")};
    const std::pair<const char*, qsizetype> cases[] = {
        {"D20050", 1}, {"d20050", 1}, {"A10001", 0}, {"D11234", 1}, {"e270003", 2}, {"Z9", 2}, {"", 0}, {"D10150315", 0}};
    for (const auto& [row, index] : cases)
        EXPECT_EQ(loco_file::insertIndex(rows, QString::fromLatin1(row)), index) << row;
}

TEST(LocoFileFormat, ChipsOfFewerThanFourDigitsAreCompleted)
{
    const std::pair<const char*, const char*> cases[] = {
        {"315", "0315"}, {"7", "0007"}, {"0315", "0315"}, {"1234", "1234"}, {"", ""}, {"12a", "12a"}};
    for (const auto& [typed, stored] : cases)
        EXPECT_EQ(loco_file::paddedChip(QString::fromLatin1(typed)), QString::fromLatin1(stored)) << typed;
}

TEST(LocoFileFormat, AWellFormedFileReadsAndWritesBackUnchanged)
{
    const QByteArray file = "\"1234\",\"D1\"\r\n\"0050\",\"D2\"\r\n\"0003\",\"E27\"\r\n\"0009\",\"\"\r\n";
    const loco_file::Content content = loco_file::parse(file);
    ASSERT_EQ(content.entries.size(), 4u);
    EXPECT_EQ(content.entries[3], (loco_file::Entry{QStringLiteral("0009"), QString()}));
    EXPECT_TRUE(content.unreadable.isEmpty());
    EXPECT_FALSE(content.blanksAfterLastLine);
    EXPECT_EQ(loco_file::format(content.entryLines), file);
}

TEST(LocoFileFormat, BlankAndUnreadableLinesAreToldApartFromBlanksAtTheEnd)
{
    const loco_file::Content content =
        loco_file::parse("\"1234\",\"D1\"\r\n\r\n\"0050\"\r\n  \r\n\"0003\",\"E27\"\r\n\"x\",\"y\",\"z\"\r\n \r\n\r\n");
    ASSERT_EQ(content.entries.size(), 2u);
    EXPECT_EQ(content.entries[1].name, QStringLiteral("E27"));
    EXPECT_EQ(content.blankLines, (QList<int>{2, 4}));
    EXPECT_EQ(content.unreadableLines, (QList<int>{3, 6}));
    EXPECT_EQ(content.unreadable, (QByteArrayList{"\"0050\"", "\"x\",\"y\",\"z\""}));
    EXPECT_TRUE(content.blanksAfterLastLine);
}

TEST_F(RosterFile, ReadingInsertsEachEntryWhereTheSortedListPlacesIt)
{
    writeLocoFile("\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n");
    EXPECT_TRUE(roster.ReadLocoFile());
    EXPECT_EQ(roster.lstLoco, (QStringList{QStringLiteral("D11234"), QStringLiteral("E270003")}));
    EXPECT_EQ(names(roster), (QStringList{QStringLiteral("D1/1234"), QStringLiteral("E27/0003")}));
    EXPECT_EQ(roster.LocoCount, 2);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RosterFile, ANewLocoLandsInOrderAndTheFileIsRewrittenInThatOrder)
{
    writeLocoFile("\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n");
    roster.ReadLocoFile();
    roster.FuncState[1] = 5; // E27's function byte moves with it
    EXPECT_EQ(roster.WriteLoco(QStringLiteral("0050"), QStringLiteral("D2")), Roster::LocoWrite::Stored);
    EXPECT_EQ(roster.lstLoco.indexOf(QStringLiteral("D20050")), 1);
    EXPECT_EQ(names(roster), (QStringList{QStringLiteral("D1/1234"), QStringLiteral("D2/0050"), QStringLiteral("E27/0003")}));
    EXPECT_EQ(roster.FuncState[1], 0);
    EXPECT_EQ(roster.FuncState[2], 5);
    EXPECT_EQ(locoFile(), QByteArray("\"1234\",\"D1\"\r\n\"0050\",\"D2\"\r\n\"0003\",\"E27\"\r\n"));
}

TEST_F(RosterFile, AMissingOrEmptyFileIsAnEmptyRoster)
{
    EXPECT_TRUE(roster.ReadLocoFile());
    EXPECT_TRUE(dir.exists(QStringLiteral("data/text/loco.txt")));
    EXPECT_EQ(roster.LocoCount, 0);
    EXPECT_TRUE(roster.lstLoco.isEmpty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RosterFile, BlanksAfterTheLastLineAskForMessage18AndKeepTheEntries)
{
    writeLocoFile("\"1234\",\"D1\"\r\n\r\n  \r\n");
    EXPECT_FALSE(roster.ReadLocoFile());
    EXPECT_EQ(names(roster), QStringList{QStringLiteral("D1/1234")});
    EXPECT_TRUE(dialogs.shown.empty()) << "message 18 is the message routine's";
}

TEST_F(RosterFile, ABadLineInsideIsReportedSkippedAndNeverDropped)
{
    writeLocoFile("\"1234\",\"D1\"\r\n\r\n\"0050\" \"D2\r\n\"0003\",\"E27\"\r\n");
    EXPECT_TRUE(roster.ReadLocoFile());
    EXPECT_EQ(names(roster), (QStringList{QStringLiteral("D1/1234"), QStringLiteral("E27/0003")}));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const auto report = dialogs.messages()[0];
    EXPECT_EQ(report.style, Dialogs::Critical);
    EXPECT_TRUE(report.text.contains(QStringLiteral("loco.txt")));
    EXPECT_TRUE(report.text.contains(QStringLiteral("Skipped the blank line 2."))) << report.text.toStdString();
    EXPECT_TRUE(report.text.contains(QStringLiteral("Could not read line 3:"))) << report.text.toStdString();

    // Adding a loco rewrites the file: the unreadable line stays in it.
    roster.WriteLoco(QStringLiteral("0007"), QStringLiteral("E7"));
    EXPECT_EQ(locoFile(), QByteArray("\"1234\",\"D1\"\r\n\"0003\",\"E27\"\r\n\"0007\",\"E7\"\r\n\"0050\" \"D2\r\n"));
}

TEST_F(RosterFile, LocosBeyondTheHundredthAreReportedAndTheFileIsNeverShrunk)
{
    writeLocoFile(entries(104));
    const QByteArray before = locoFile();
    roster.ReadLocoFile();
    EXPECT_EQ(roster.LocoCount, 100);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("the other 4 are left out")));
    dialogs.shown.clear();

    EXPECT_EQ(roster.WriteLoco(QStringLiteral("0200"), QStringLiteral("E200")), Roster::LocoWrite::RosterFull);
    EXPECT_EQ(locoFile(), before);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith(QStringLiteral("The roster is full")));
}

TEST_F(RosterFile, AHundredAndFirstLocoIsRefusedAndNothingStoredChanges)
{
    writeLocoFile(entries(100));
    roster.ReadLocoFile();
    const QByteArray file = locoFile();
    const QStringList list = roster.lstLoco;
    const QStringList before = names(roster);
    EXPECT_EQ(roster.WriteLoco(QStringLiteral("0200"), QStringLiteral("D0")), Roster::LocoWrite::RosterFull);
    EXPECT_EQ(roster.LocoCount, 100);
    EXPECT_EQ(names(roster), before);
    EXPECT_EQ(roster.lstLoco, list);
    EXPECT_EQ(locoFile(), file);
    EXPECT_EQ(messageTitles(), QStringList{QStringLiteral("new chip")});
}

TEST_F(RosterFile, AShortChipIsCompletedAndAnEmptyOrZeroOneRefused)
{
    roster.ReadLocoFile();
    for (const char* chip : {"", "0000", "0", "000"}) {
        EXPECT_EQ(roster.WriteLoco(QString::fromLatin1(chip), QStringLiteral("D5")), Roster::LocoWrite::BadChip) << chip;
        EXPECT_EQ(roster.LocoCount, 0);
        EXPECT_EQ(locoFile(), QByteArray());
    }
    ASSERT_EQ(dialogs.messages().size(), 4u);
    EXPECT_TRUE(dialogs.messages()[1].text.contains(QStringLiteral("0000"))) << "says which number is refused";

    EXPECT_EQ(roster.WriteLoco(QStringLiteral("315"), QStringLiteral("D1015")), Roster::LocoWrite::Stored);
    EXPECT_EQ(roster.lstLoco, QStringList{QStringLiteral("D10150315")});
    EXPECT_EQ(roster.LocoChip[0], QStringLiteral("0315"));
    EXPECT_EQ(locoFile(), QByteArray("\"0315\",\"D1015\"\r\n"));
}

TEST_F(RosterFile, EveryLineReadGoesBackByteForByte)
{
    // Unreadable lines, and readable ones that the field writer would change:
    // bytes that are not UTF-8, a lone CR, a quote inside a name, odd blanks.
    const QByteArrayList lines{"\"0050\" \"D2",          "x\xe9\xff\"y\"",        "\"0003\"\r\"E27\"",
                               "\"0004\",E2\"7",           "\"0005\",\"S\xfc" "d\"", " 0006 , \"E6\" ",
                               "\"315\",\"D1015\"",        "\"0009\",\"E9\"\r"}; // the last ends in CR CR LF
    writeLocoFile(lines.join("\r\n") + "\r\n");
    roster.ReadLocoFile();
    EXPECT_TRUE(names(roster).contains(QStringLiteral("S\u00fcd/0005"))) << "not UTF-8: read as Windows-1252";
    ASSERT_EQ(roster.WriteLoco(QStringLiteral("0007"), QStringLiteral("E7")), Roster::LocoWrite::Stored);
    const QByteArray file = locoFile();
    for (const QByteArray& line : lines)
        EXPECT_TRUE(file.contains("\n" + line + "\r\n") || file.startsWith(line + "\r\n")) << PrintableBytes(line).toStdString();
    EXPECT_TRUE(file.contains("\"0007\",\"E7\"\r\n"));
    EXPECT_EQ(file.count("\r\n"), lines.size() + 1);
}

TEST_F(RosterFile, ALocoFileTooLargeToReadIsNamedAndNeverShortened)
{
    const QByteArray file = "\"0001\",\"" + QByteArray(1100000, 'A') + "\"\r\n" + entries(8);
    writeLocoFile(file);
    roster.ReadLocoFile();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("loco.txt")));
    EXPECT_EQ(roster.LocoCount, 0) << "not a part of it";
    roster.WriteLoco(QStringLiteral("0007"), QStringLiteral("E7"));
    EXPECT_EQ(locoFile(), file);
}

TEST_F(RosterFile, AMessageAboutManyLinesStaysShort)
{
    QByteArray garbage;
    for (int i = 0; i < 800; ++i)
        garbage += "\x01\x02 garbage\r\n";
    writeLocoFile(garbage);
    roster.ReadLocoFile();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const QString text = dialogs.messages()[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("lines 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 \u2026 and 790 more"))) << text.toStdString();
    EXPECT_LT(text.size(), 600);
}

TEST_F(RosterFile, AnEmptyNameIsStoredAsItStands)
{
    roster.ReadLocoFile();
    roster.WriteLoco(QStringLiteral("0042"), QString());
    EXPECT_EQ(roster.lstLoco, QStringList{QStringLiteral("0042")});
    EXPECT_EQ(locoFile(), QByteArray("\"0042\",\"\"\r\n"));
    // Read back, the entry is still whole.
    roster.ReadLocoFile();
    EXPECT_EQ(names(roster), QStringList{QStringLiteral("/0042")});
}

TEST_F(RosterFile, AFileThatCannotBeReadIsNeverOverwritten)
{
    shared.LocoFilePath = dir.path() + QStringLiteral("/data"); // a folder, not a file
    roster.ReadLocoFile();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(roster.WriteLoco(QStringLiteral("0003"), QStringLiteral("E27")), Roster::LocoWrite::Stored);
    EXPECT_EQ(roster.LocoCount, 1) << "usable for this run";
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_TRUE(dialogs.messages()[1].text.contains(QStringLiteral("not rewritten")));
}

TEST_F(RosterChoice, TheChosenEngineAndPilotFollowTheirLocoWhenOneIsInsertedBefore)
{
    writeLocoFile("\"1234\",\"D5\"\r\n\"0003\",\"E27\"\r\n");
    dcc.roster.ReadLocoFile();
    ASSERT_TRUE(dcc.SelectTrainEngine(1)); // E27
    ASSERT_EQ(dcc.SelectPilot(0), DCC::PilotChoice::Coupled); // D5
    dcc.roster.FuncState[1] = 16;
    dcc.roster.WriteLoco(QStringLiteral("0050"), QStringLiteral("D2")); // lands first
    EXPECT_EQ(dcc.EngineIndex, 2);
    EXPECT_EQ(dcc.roster.LocoName[dcc.EngineIndex], QStringLiteral("E27"));
    EXPECT_EQ(dcc.roster.FuncState[dcc.EngineIndex], 16);
    EXPECT_EQ(dcc.PilotIndex, 1);
    EXPECT_EQ(dcc.roster.LocoName[1], QStringLiteral("D5"));
    // An entry after both moves neither.
    dcc.roster.WriteLoco(QStringLiteral("0077"), QStringLiteral("E77"));
    EXPECT_EQ(dcc.EngineIndex, 2);
    EXPECT_EQ(dcc.PilotIndex, 1);
}

TEST_F(RosterFile, LocosAreFoundByNameAndByChipAsStored)
{
    writeLocoFile("\"1234\",\"D1\"\r\n\"0003\",\"E27\"\r\n\"0050\",\"D1\"\r\n");
    roster.ReadLocoFile(); // D1/0050, D1/1234, E27/0003
    const std::tuple<const char*, int, int> cases[] = {
        {"E27", 2, -1}, {"D1", 0, -1}, {"e27", -1, -1}, {"0003", -1, 2}, {"1234", -1, 1}, {"3", -1, -1}, {"", -1, -1}};
    for (const auto& [text, byName, byChip] : cases) {
        EXPECT_EQ(roster.IndexOfName(QString::fromLatin1(text)), byName) << text;
        EXPECT_EQ(roster.IndexOfChip(QString::fromLatin1(text)), byChip) << text;
    }
}

TEST(ChipEntry, FourCharactersMoveTheFocusOn)
{
    EXPECT_FALSE(Roster::CheckChipEntry(QStringLiteral("031")));
    EXPECT_TRUE(Roster::CheckChipEntry(QStringLiteral("0315")));
    EXPECT_FALSE(Roster::CheckChipEntry(QString()));
}

} // namespace
