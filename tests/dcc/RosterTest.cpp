// loco.txt, the sorted roster and new locos from the entry panel.
#include "LocoFile.h"
#include "LocoModuleFixture.h"

#include <QRegularExpression>

namespace {

using Roster = LocoModuleFixture;

QStringList names(const DCC& dcc)
{
    QStringList out;
    for (int i = 0; i < dcc.LocoCount; ++i)
        out << dcc.LocoName[static_cast<std::size_t>(i)] + QLatin1Char('/') + dcc.LocoChip[static_cast<std::size_t>(i)];
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

TEST_F(Roster, ReadingInsertsEachEntryWhereTheSortedListPlacesIt)
{
    writeLocoFile("\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n");
    EXPECT_TRUE(dcc.ReadLocoFile());
    EXPECT_EQ(dcc.lstLoco, (QStringList{QStringLiteral("D11234"), QStringLiteral("E270003")}));
    EXPECT_EQ(names(dcc), (QStringList{QStringLiteral("D1/1234"), QStringLiteral("E27/0003")}));
    EXPECT_EQ(dcc.LocoCount, 2);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Roster, ANewLocoLandsInOrderAndTheFileIsRewrittenInThatOrder)
{
    writeLocoFile("\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n");
    dcc.ReadLocoFile();
    dcc.FuncState[1] = 5; // E27's function byte moves with it
    EXPECT_EQ(dcc.WriteLoco(QStringLiteral("0050"), QStringLiteral("D2")), DCC::LocoWrite::Stored);
    EXPECT_EQ(dcc.lstLoco.indexOf(QStringLiteral("D20050")), 1);
    EXPECT_EQ(names(dcc), (QStringList{QStringLiteral("D1/1234"), QStringLiteral("D2/0050"), QStringLiteral("E27/0003")}));
    EXPECT_EQ(dcc.FuncState[1], 0);
    EXPECT_EQ(dcc.FuncState[2], 5);
    EXPECT_EQ(locoFile(), QByteArray("\"1234\",\"D1\"\r\n\"0050\",\"D2\"\r\n\"0003\",\"E27\"\r\n"));
}

TEST_F(Roster, AMissingOrEmptyFileIsAnEmptyRoster)
{
    EXPECT_TRUE(dcc.ReadLocoFile());
    EXPECT_TRUE(dir.exists(QStringLiteral("data/text/loco.txt")));
    EXPECT_EQ(dcc.LocoCount, 0);
    EXPECT_TRUE(dcc.lstLoco.isEmpty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Roster, BlanksAfterTheLastLineAskForMessage18AndKeepTheEntries)
{
    writeLocoFile("\"1234\",\"D1\"\r\n\r\n  \r\n");
    EXPECT_FALSE(dcc.ReadLocoFile());
    EXPECT_EQ(names(dcc), QStringList{QStringLiteral("D1/1234")});
    EXPECT_TRUE(dialogs.shown.empty()) << "message 18 is the message routine's";
}

TEST_F(Roster, ABadLineInsideIsReportedSkippedAndNeverDropped)
{
    writeLocoFile("\"1234\",\"D1\"\r\n\r\n\"0050\" \"D2\r\n\"0003\",\"E27\"\r\n");
    EXPECT_TRUE(dcc.ReadLocoFile());
    EXPECT_EQ(names(dcc), (QStringList{QStringLiteral("D1/1234"), QStringLiteral("E27/0003")}));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const auto report = dialogs.messages()[0];
    EXPECT_EQ(report.style, Dialogs::Critical);
    EXPECT_TRUE(report.text.contains(QStringLiteral("loco.txt")));
    EXPECT_TRUE(report.text.contains(QStringLiteral("Skipped the blank line 2."))) << report.text.toStdString();
    EXPECT_TRUE(report.text.contains(QStringLiteral("Could not read line 3:"))) << report.text.toStdString();

    // Adding a loco rewrites the file: the unreadable line stays in it.
    dcc.WriteLoco(QStringLiteral("0007"), QStringLiteral("E7"));
    EXPECT_EQ(locoFile(), QByteArray("\"1234\",\"D1\"\r\n\"0003\",\"E27\"\r\n\"0007\",\"E7\"\r\n\"0050\" \"D2\r\n"));
}

TEST_F(Roster, LocosBeyondTheHundredthAreReportedAndTheFileIsNeverShrunk)
{
    writeLocoFile(entries(104));
    const QByteArray before = locoFile();
    dcc.ReadLocoFile();
    EXPECT_EQ(dcc.LocoCount, 100);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("the other 4 are left out")));
    dialogs.shown.clear();

    EXPECT_EQ(dcc.WriteLoco(QStringLiteral("0200"), QStringLiteral("E200")), DCC::LocoWrite::RosterFull);
    EXPECT_EQ(locoFile(), before);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith(QStringLiteral("The roster is full")));
}

TEST_F(Roster, AHundredAndFirstLocoIsRefusedAndNothingStoredChanges)
{
    writeLocoFile(entries(100));
    dcc.ReadLocoFile();
    const QByteArray file = locoFile();
    const QStringList list = dcc.lstLoco;
    const QStringList before = names(dcc);
    EXPECT_EQ(dcc.WriteLoco(QStringLiteral("0200"), QStringLiteral("D0")), DCC::LocoWrite::RosterFull);
    EXPECT_EQ(dcc.LocoCount, 100);
    EXPECT_EQ(names(dcc), before);
    EXPECT_EQ(dcc.lstLoco, list);
    EXPECT_EQ(locoFile(), file);
    EXPECT_EQ(messageTitles(), QStringList{QStringLiteral("new chip")});
}

TEST_F(Roster, AShortChipIsCompletedAndAnEmptyOrZeroOneRefused)
{
    dcc.ReadLocoFile();
    for (const char* chip : {"", "0000", "0", "000"}) {
        EXPECT_EQ(dcc.WriteLoco(QString::fromLatin1(chip), QStringLiteral("D5")), DCC::LocoWrite::BadChip) << chip;
        EXPECT_EQ(dcc.LocoCount, 0);
        EXPECT_EQ(locoFile(), QByteArray());
    }
    ASSERT_EQ(dialogs.messages().size(), 4u);
    EXPECT_TRUE(dialogs.messages()[1].text.contains(QStringLiteral("0000"))) << "says which number is refused";

    EXPECT_EQ(dcc.WriteLoco(QStringLiteral("315"), QStringLiteral("D1015")), DCC::LocoWrite::Stored);
    EXPECT_EQ(dcc.lstLoco, QStringList{QStringLiteral("D10150315")});
    EXPECT_EQ(dcc.LocoChip[0], QStringLiteral("0315"));
    EXPECT_EQ(locoFile(), QByteArray("\"0315\",\"D1015\"\r\n"));
}

TEST_F(Roster, EveryLineReadGoesBackByteForByte)
{
    // Unreadable lines, and readable ones that the field writer would change:
    // bytes that are not UTF-8, a lone CR, a quote inside a name, odd blanks.
    const QByteArrayList lines{"\"0050\" \"D2",          "x\xe9\xff\"y\"",        "\"0003\"\r\"E27\"",
                               "\"0004\",E2\"7",           "\"0005\",\"S\xfc" "d\"", " 0006 , \"E6\" ",
                               "\"315\",\"D1015\"",        "\"0009\",\"E9\"\r"}; // the last ends in CR CR LF
    writeLocoFile(lines.join("\r\n") + "\r\n");
    dcc.ReadLocoFile();
    EXPECT_TRUE(names(dcc).contains(QStringLiteral("S\u00fcd/0005"))) << "not UTF-8: read as Windows-1252";
    ASSERT_EQ(dcc.WriteLoco(QStringLiteral("0007"), QStringLiteral("E7")), DCC::LocoWrite::Stored);
    const QByteArray file = locoFile();
    for (const QByteArray& line : lines)
        EXPECT_TRUE(file.contains("\n" + line + "\r\n") || file.startsWith(line + "\r\n")) << PrintableBytes(line).toStdString();
    EXPECT_TRUE(file.contains("\"0007\",\"E7\"\r\n"));
    EXPECT_EQ(file.count("\r\n"), lines.size() + 1);
}

TEST_F(Roster, ALocoFileTooLargeToReadIsNamedAndNeverShortened)
{
    const QByteArray file = "\"0001\",\"" + QByteArray(1100000, 'A') + "\"\r\n" + entries(8);
    writeLocoFile(file);
    dcc.ReadLocoFile();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("loco.txt")));
    EXPECT_EQ(dcc.LocoCount, 0) << "not a part of it";
    dcc.WriteLoco(QStringLiteral("0007"), QStringLiteral("E7"));
    EXPECT_EQ(locoFile(), file);
}

TEST_F(Roster, AMessageAboutManyLinesStaysShort)
{
    QByteArray garbage;
    for (int i = 0; i < 800; ++i)
        garbage += "\x01\x02 garbage\r\n";
    writeLocoFile(garbage);
    dcc.ReadLocoFile();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const QString text = dialogs.messages()[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("lines 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 \u2026 and 790 more"))) << text.toStdString();
    EXPECT_LT(text.size(), 600);
}

TEST_F(Roster, AnEmptyNameIsStoredAsItStands)
{
    dcc.ReadLocoFile();
    dcc.WriteLoco(QStringLiteral("0042"), QString());
    EXPECT_EQ(dcc.lstLoco, QStringList{QStringLiteral("0042")});
    EXPECT_EQ(locoFile(), QByteArray("\"0042\",\"\"\r\n"));
    // Read back, the entry is still whole.
    dcc.ReadLocoFile();
    EXPECT_EQ(names(dcc), QStringList{QStringLiteral("/0042")});
}

TEST_F(Roster, AFileThatCannotBeReadIsNeverOverwritten)
{
    shared.LocoFilePath = dir.path() + QStringLiteral("/data"); // a folder, not a file
    dcc.ReadLocoFile();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dcc.WriteLoco(QStringLiteral("0003"), QStringLiteral("E27")), DCC::LocoWrite::Stored);
    EXPECT_EQ(dcc.LocoCount, 1) << "usable for this run";
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_TRUE(dialogs.messages()[1].text.contains(QStringLiteral("not rewritten")));
}

TEST_F(Roster, TheChosenEngineAndPilotFollowTheirLocoWhenOneIsInsertedBefore)
{
    writeLocoFile("\"1234\",\"D5\"\r\n\"0003\",\"E27\"\r\n");
    dcc.ReadLocoFile();
    ASSERT_TRUE(dcc.SelectTrainEngine(1)); // E27
    ASSERT_EQ(dcc.SelectPilot(0), DCC::PilotChoice::Coupled); // D5
    dcc.FuncState[1] = 16;
    dcc.WriteLoco(QStringLiteral("0050"), QStringLiteral("D2")); // lands first
    EXPECT_EQ(dcc.EngineIndex, 2);
    EXPECT_EQ(dcc.LocoName[dcc.EngineIndex], QStringLiteral("E27"));
    EXPECT_EQ(dcc.FuncState[dcc.EngineIndex], 16);
    EXPECT_EQ(dcc.PilotIndex, 1);
    EXPECT_EQ(dcc.LocoName[1], QStringLiteral("D5"));
    // An entry after both moves neither.
    dcc.WriteLoco(QStringLiteral("0077"), QStringLiteral("E77"));
    EXPECT_EQ(dcc.EngineIndex, 2);
    EXPECT_EQ(dcc.PilotIndex, 1);
}

TEST(ChipEntry, FourCharactersMoveTheFocusOn)
{
    EXPECT_FALSE(DCC::CheckChipEntry(QStringLiteral("031")));
    EXPECT_TRUE(DCC::CheckChipEntry(QStringLiteral("0315")));
    EXPECT_FALSE(DCC::CheckChipEntry(QString()));
}

} // namespace
