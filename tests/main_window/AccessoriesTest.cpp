#include "Accessories.h"

#include "FakeDialogs.h"
#include "FakeLauncher.h"
#include "FakeSound.h"
#include "QtLauncher.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

// A program folder whose path has blanks in it, below a throw-away folder.
class WordProcessor : public ::testing::Test {
protected:
    WordProcessor()
        : folderPath(dir.path() + QStringLiteral("/Program Files/Var nolix"))
        , folder(folderPath)
    {
        dir.write(QStringLiteral("Program Files/Var nolix/data/text/version.txt"), "\"DC\"\r\n");
    }

    // Puts a program file (executable or not) into the program folder.
    QString addProgram(const QString& name, bool executable = true) const
    {
        const QString path = folderPath + QLatin1Char('/') + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return path;
    }

    QString versionFile() const { return folderPath + QStringLiteral("/data/text/version.txt"); }

    TestFolder dir;
    QString folderPath;
    ProgramFolder folder;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    Accessories accessories{folder, dialogs, nullptr, &launcher};
};

TEST_F(WordProcessor, TheProgramAndTheFileAreSeparateArgumentsWhateverTheBlanks)
{
    const QString wordpad = addProgram(QStringLiteral("wordpad"));
    accessories.OpenInWordPad();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, wordpad);
    EXPECT_EQ(launcher.started[0].arguments, QStringList{versionFile()});
    EXPECT_TRUE(launcher.opened.isEmpty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WordProcessor, ChoosesTheProgramOfTheFolderByItsName)
{
    struct Case {
        const char* name;
        QStringList files; // executable unless marked with a trailing '-'
        const char* chosen; // empty: the default editor
        const char* folderName = nullptr;
    };
    const Case cases[] = {
        {"windows name first", {"wordpad", "wordpad.exe"}, "wordpad.exe"},
        {"letter case ignored", {"WordPad.EXE"}, "WordPad.EXE"},
        {"linux name", {"wordpad"}, "wordpad"},
        {"not executable", {"wordpad-"}, ""},
        {"a folder of that name", {}, "", "wordpad.exe"},
    };
    for (const Case& c : cases) {
        TestFolder place;
        place.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
        if (c.folderName) {
            ASSERT_TRUE(QDir(place.path()).mkdir(QLatin1String(c.folderName)));
        }
        for (QString file : c.files) {
            const bool executable = !file.endsWith(QLatin1Char('-'));
            file.remove(QLatin1Char('-'));
            place.write(file, "#!/bin/sh\n");
            if (executable)
                QFile::setPermissions(place.path() + QLatin1Char('/') + file,
                                      QFile::permissions(place.path() + QLatin1Char('/') + file) | QFileDevice::ExeOwner);
        }
        const Accessories subject(place.folder(), dialogs, nullptr, &launcher);
        const Accessories::WordPadCommand command = subject.wordPadCommand();
        const QString expected = *c.chosen ? place.path() + QLatin1Char('/') + QLatin1String(c.chosen) : QString();
        EXPECT_EQ(command.program, expected) << c.name;
        EXPECT_EQ(command.document, place.path() + QStringLiteral("/data/text/version.txt")) << c.name;
    }
}

TEST_F(WordProcessor, WithoutAWordProcessorTheDefaultEditorOpensTheFile)
{
    accessories.OpenInWordPad();
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_EQ(launcher.opened, QStringList{versionFile()});
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WordProcessor, AWordProcessorThatFailsToStartFallsBackToTheDefaultEditor)
{
    addProgram(QStringLiteral("wordpad.exe"));
    launcher.startWorks = false;
    accessories.OpenInWordPad();
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.opened, QStringList{versionFile()});
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WordProcessor, WhenNothingStartsAMessageNamesTheFile)
{
    struct Case {
        const char* name;
        bool withProgram;
        bool withLauncher;
    };
    for (const Case& c : {Case{"no program, no editor", false, true}, Case{"no launcher at all", false, false},
                          Case{"program and editor fail", true, true}}) {
        FakeDialogs told;
        FakeLauncher failing;
        failing.startWorks = failing.openWorks = false;
        if (c.withProgram)
            addProgram(QStringLiteral("wordpad"));
        Accessories subject(folder, told, nullptr, c.withLauncher ? &failing : nullptr);
        subject.OpenInWordPad();
        const auto shown = told.messages();
        ASSERT_EQ(shown.size(), 1u) << c.name;
        EXPECT_TRUE(shown[0].text.contains(versionFile())) << c.name;
        EXPECT_EQ(shown[0].style, Dialogs::Critical) << c.name;
        if (c.withProgram) {
            EXPECT_TRUE(shown[0].text.contains(folderPath + QStringLiteral("/wordpad"))) << c.name;
        }
    }
}

TEST(AboutSound, PlaysTheSoundFileOnlyWhenThereIsASoundService)
{
    TestFolder dir;
    FakeDialogs dialogs;
    FakeSound sound;
    Accessories with(dir.folder(), dialogs, &sound, nullptr);
    with.SoundFile = with.programFile("\\telephone.wav");
    with.PlaySound();
    EXPECT_EQ(sound.played, QStringList{dir.path() + QStringLiteral("/telephone.wav")});

    Accessories without(dir.folder(), dialogs, nullptr, nullptr);
    without.SoundFile = with.SoundFile;
    without.PlaySound();
    EXPECT_EQ(sound.played.size(), 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

// The real launcher: a program in a folder with blanks receives each
// argument whole, which a shell command line would have split.
TEST(QtLauncherTest, StartsAProgramWithArgumentsThatContainBlanks)
{
    TestFolder dir;
    const QString folder = dir.path() + QStringLiteral("/Program Files/Var nolix");
    const QString program = folder + QStringLiteral("/wordpad");
    const QString record = folder + QStringLiteral("/arguments.txt");
    dir.write(QStringLiteral("Program Files/Var nolix/wordpad"),
              "#!/bin/sh\n"
              "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$(dirname \"$0\")/arguments.tmp\"\n"
              "mv \"$(dirname \"$0\")/arguments.tmp\" \"$(dirname \"$0\")/arguments.txt\"\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);

    QtLauncher launcher;
    const QString document = folder + QStringLiteral("/data/text/version.txt");
    ASSERT_TRUE(launcher.start(program, {document, QStringLiteral("a b  c")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, 20000));
    EXPECT_EQ(dir.read(QStringLiteral("Program Files/Var nolix/arguments.txt")),
              ("[" + document + "]\n[a b  c]\n").toUtf8());
}

TEST(QtLauncherTest, AMissingProgramIsReportedNotStarted)
{
    TestFolder dir;
    QtLauncher launcher;
    EXPECT_FALSE(launcher.start(dir.path() + QStringLiteral("/no such/wordpad.exe"), {QStringLiteral("x")}));
}

} // namespace
