#include "ProgramFolder.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

struct CaseMatch {
    const char* onDisk;   // folder created below the program folder
    const char* literal;  // path literal as the program writes it
    const char* resolved; // expected path below the program folder
};

class PathLiterals : public ::testing::TestWithParam<CaseMatch> {};

TEST_P(PathLiterals, FindTheirFolderWhateverItsCase)
{
    TestFolder dir;
    QDir(dir.path()).mkpath(QString::fromLatin1(GetParam().onDisk));
    EXPECT_EQ(dir.folder().resolve(QString::fromLatin1(GetParam().literal)),
              dir.path() + QLatin1Char('/') + QString::fromLatin1(GetParam().resolved));
}

INSTANTIATE_TEST_SUITE_P(
    ProgramFolder, PathLiterals,
    ::testing::Values(CaseMatch{"data/text", "\\data\\text\\version.txt", "data/text/version.txt"},
                      CaseMatch{"data/Layouts", "\\Data\\Layouts\\Home.bmp", "data/Layouts/Home.bmp"},
                      CaseMatch{"Data/layouts", "\\Data\\LAYOUTS\\x.bmp", "Data/layouts/x.bmp"},
                      CaseMatch{"data/VM110", "\\data\\vm110\\DCClogoL.bmp", "data/VM110/DCClogoL.bmp"},
                      CaseMatch{"Data/vm110", "\\Data\\VM110\\KnobFwd0.bmp", "Data/vm110/KnobFwd0.bmp"},
                      // Missing components keep the literal's case.
                      CaseMatch{"other", "\\data\\text\\loco.txt", "data/text/loco.txt"}));

TEST(ProgramFolder, MatchesTheFileNameIgnoringCaseToo)
{
    TestFolder dir;
    dir.write(QStringLiteral("data/VM110/dcclogol.bmp"), "x");
    EXPECT_EQ(dir.folder().resolve(QStringLiteral("\\data\\vm110\\DCClogoL.bmp")),
              dir.path() + QStringLiteral("/data/VM110/dcclogol.bmp"));
}

TEST(ProgramFolder, PrefersTheExactNameWhenBothCasesExist)
{
    TestFolder dir;
    QDir(dir.path()).mkpath(QStringLiteral("Data"));
    EXPECT_EQ(dir.folder().resolve(QStringLiteral("\\data\\text")), dir.path() + QStringLiteral("/data/text"));
}

TEST(ProgramFolder, DataLiteralsLeadIntoASeparateDataFolder)
{
    TestFolder dir;
    dir.write(QStringLiteral("home/Text/Layout.txt"), "x");
    const ProgramFolder folder(QStringLiteral("/usr/share/varnolix"), dir.path() + QStringLiteral("/home/"));
    EXPECT_EQ(folder.dataPath(), dir.path() + QStringLiteral("/home"));
    EXPECT_EQ(folder.resolve(QStringLiteral("\\Data\\text\\layout.txt")), dir.path() + QStringLiteral("/home/Text/Layout.txt"));
    EXPECT_EQ(folder.resolve(QStringLiteral("\\telephone.wav")), QStringLiteral("/usr/share/varnolix/telephone.wav"));
    EXPECT_EQ(folder.resolve(QStringLiteral("\\database\\x")), QStringLiteral("/usr/share/varnolix/database/x"));
}

TEST(ProgramFolder, DropsATrailingSeparator)
{
    EXPECT_EQ(ProgramFolder(QStringLiteral("/opt/varnolix/")).path(), QStringLiteral("/opt/varnolix"));
}

} // namespace
