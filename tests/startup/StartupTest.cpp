#include "StartupFixture.h"

#include "ProgramEnd.h"

#include <QDir>

namespace {

class Startup : public StartupFixture {
protected:
    Startup()
    {
        dir.addLayout(QStringLiteral("Home"));
        dir.write(QStringLiteral("data/text/port.txt"), "3\r\n");
        dir.write(QStringLiteral("data/text/layout.txt"), "\"Home\"\r\n");
    }

    QStringList inputTitles() const
    {
        QStringList out;
        for (const auto& s : dialogs.shown)
            if (s.input)
                out << s.title;
        return out;
    }
};

const QString ChoiceTitle = QStringLiteral("~\\Varnolix-3D\\Data\\Sundries\\version.txt");
const QString LayoutTitle = QStringLiteral("Display your layout as a bitmap in 'Paint'");

TEST_F(Startup, FirstRunAsksForTheControlSystemThenSetsUpDccAndDc)
{
    dialogs.answer(QStringLiteral("DCC + DC")); // control system
    dialogs.answer(QStringLiteral("Home"));     // layout
    sr.Form1Load();

    ASSERT_GE(dialogs.shown.size(), 3u);
    const auto& choice = dialogs.shown[0];
    EXPECT_EQ(choice.title, ChoiceTitle);
    EXPECT_EQ(choice.defaultAnswer, QStringLiteral("DCC + DC"));
    EXPECT_TRUE(choice.text.startsWith(QStringLiteral("please select your control system :-") + QString(120, QLatin1Char(' '))
                                       + QStringLiteral("DC   computer-controlled")));
    EXPECT_TRUE(choice.text.endsWith(QString(10, QLatin1Char(' ')) + QStringLiteral("DCC + computer-controlled DC")));

    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("DCC + DC version"));
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("Tessaline-3D software"));
    EXPECT_EQ(dialogs.shown[1].style, Dialogs::Information);
    EXPECT_EQ(dialogs.shown[2].text,
              QStringLiteral("DCC box connected on Port 3\ninterface 0.1 / 3.6, command station LZ100/LZV100 3.6"));
    EXPECT_EQ(dialogs.shown[3].title, LayoutTitle);

    EXPECT_EQ(dir.read(QStringLiteral("data/text/version.txt")), QByteArray("\"DCC + DC\"\r\n"));
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("mimic Home.bmp"), QStringLiteral("board"), QStringLiteral("loco"),
                                          QStringLiteral("coil"), QStringLiteral("byte array"), QStringLiteral("place"),
                                          QStringLiteral("place")}));
    EXPECT_EQ(dir.read(QStringLiteral("data/text/layout.txt")), QByteArray("\"Home\"\r\n"));
    EXPECT_TRUE(shared.LocoFilePath.endsWith(QStringLiteral("/data/text/loco.txt")));
    EXPECT_TRUE(shared.FunctionFilePath.endsWith(QStringLiteral("/data/text/function.txt")));
}

TEST_F(Startup, AStoredControlSystemGivesNoPromptAndNoBanner)
{
    dir.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
    dialogs.answer(QStringLiteral("Home"));
    sr.Form1Load();
    EXPECT_EQ(inputTitles(), QStringList{LayoutTitle});
    EXPECT_TRUE(dialogs.messages().empty());
    // DC: board and coil window before the layout; no loco window, no port.
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("board"), QStringLiteral("coil"), QStringLiteral("mimic Home.bmp"),
                                          QStringLiteral("place")}));
    EXPECT_EQ(link.opens, 0);
}

TEST_F(Startup, AWrongAnswerIsAskedAgainAndOnlyTheAcceptedOneIsBannered)
{
    dialogs.answer(QStringLiteral("dcc"));
    dialogs.answer(QStringLiteral("DCC"));
    dialogs.answer(QStringLiteral("Home"));
    sr.Form1Load();
    EXPECT_EQ(inputTitles(), (QStringList{ChoiceTitle, ChoiceTitle, LayoutTitle}));
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("DCC version"));
    EXPECT_TRUE(windows.calls.contains(QStringLiteral("coil caption DCC solenoid control 4700x4210")));
    EXPECT_FALSE(windows.calls.contains(QStringLiteral("board")));
    EXPECT_FALSE(windows.calls.contains(QStringLiteral("loco")));
}

TEST_F(Startup, InvalidStoredValuesLeadToTheChoicePrompt)
{
    for (const QByteArray& content : {QByteArray("\"dc\"\r\n"), QByteArray("\" DC\"\r\n"), QByteArray("\"DCC+DC\"\r\n")}) {
        dir.write(QStringLiteral("data/text/version.txt"), content);
        dialogs.shown.clear();
        EXPECT_THROW(sr.SetUpControlSystem(), ProgramEnd);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].title, ChoiceTitle);
    }
}

TEST_F(Startup, CancelAtTheFirstChoiceEndsWithAnEmptyVersionFile)
{
    EXPECT_THROW(sr.Form1Load(), ProgramEnd);
    EXPECT_TRUE(dir.exists(QStringLiteral("data/text/version.txt")));
    EXPECT_TRUE(dir.read(QStringLiteral("data/text/version.txt")).isEmpty());
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(Startup, TheLayoutPromptOffersTheStoredNameAndCancelEnds)
{
    dir.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
    EXPECT_THROW(sr.Form1Load(), ProgramEnd);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].defaultAnswer, QStringLiteral("Home"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("name the file (or use the default name below) and") + QString(12, QLatin1Char(' '))
                                         + QStringLiteral("it will be saved to folder ~\\Varnolix\\Data\\Layouts"));
    // Nothing was stored on the way out.
    EXPECT_EQ(dir.read(QStringLiteral("data/text/layout.txt")), QByteArray("\"Home\"\r\n"));
}

TEST_F(Startup, AMissingBitmapIsNamedAndTheLayoutIsAskedAgain)
{
    dir.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
    dialogs.answer(QStringLiteral("Nowhere"));
    dialogs.answer(QStringLiteral("Home"));
    sr.Form1Load();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("Nowhere.bmp")));
    EXPECT_EQ(inputTitles(), (QStringList{LayoutTitle, LayoutTitle}));
    EXPECT_EQ(dir.read(QStringLiteral("data/text/layout.txt")), QByteArray("\"Home\"\r\n"));
}

TEST_F(Startup, TheLayoutFolderIsFoundWhateverItsCase)
{
    QDir(dir.path() + QStringLiteral("/data")).rename(QStringLiteral("Layouts"), QStringLiteral("layouts"));
    dir.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
    dialogs.answer(QStringLiteral("Home"));
    sr.Form1Load();
    EXPECT_TRUE(windows.mimicPath.endsWith(QStringLiteral("/data/layouts/Home.bmp")));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(Startup, AWindows1252LayoutNameFindsItsBitmapAndIsWrittenBackSo)
{
    const QString name = QStringLiteral("Bahnhof S\u00fcd");
    dir.addLayout(name);
    dir.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
    dir.write(QStringLiteral("data/text/layout.txt"), "\"Bahnhof S\xfc" "d\"\r\n");
    dialogs.answer(name);
    sr.Form1Load();
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown[0].defaultAnswer, name);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(dir.read(QStringLiteral("data/text/layout.txt")), QByteArray("\"Bahnhof S\xfc" "d\"\r\n"));
}

TEST_F(Startup, ALayoutBitmapThatIsAFolderIsSaidToBeOne)
{
    QDir(dir.path()).mkpath(QStringLiteral("data/Layouts/Yard.bmp"));
    dir.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
    dialogs.answer(QStringLiteral("Yard"));
    dialogs.answer(QStringLiteral("Home"));
    sr.Form1Load();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("Yard.bmp could not be shown: it is a folder")))
        << dialogs.messages()[0].text.toStdString();
}

TEST_F(Startup, LeftoverTemporaryFilesOfTheDataFilesAreRemoved)
{
    dir.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
    dir.write(QStringLiteral("data/text/notes.txt.Ab12Cd"), "mine");
    const QStringList leftovers{QStringLiteral("data/text/loco.txt.Ab12Cd"), QStringLiteral("data/text/interface.txt.x9Y8z7")};
    for (const QString& leftover : leftovers)
        dir.write(leftover, "\"0003\",\"E27\"\r\n");
    dialogs.answer(QStringLiteral("Home"));
    sr.Form1Load();
    for (const QString& leftover : leftovers)
        EXPECT_FALSE(dir.exists(leftover)) << leftover.toStdString();
    EXPECT_TRUE(dir.exists(QStringLiteral("data/text/notes.txt.Ab12Cd"))) << "not ours";
}

TEST_F(Startup, PromptThirteenAndEighteenShowTheirMessagesAndResetTheStyle)
{
    sr.Prompt(13);
    sr.Prompt(18);
    sr.Prompt(14);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("no train engine selected"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("locomotive/multiple unit"));
    EXPECT_EQ(dialogs.shown[0].style, Dialogs::Question);
    EXPECT_EQ(dialogs.shown[1].text, dir.path() + QStringLiteral("\\data\\loco.txt data error"));
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("no spaces allowed after last line"));
    EXPECT_EQ(dialogs.shown[1].style, Dialogs::Critical);
    EXPECT_EQ(shared.MsgStyle, 0);
}

} // namespace
