#include "DataLocation.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

// A folder tree for the search: an executable folder, an installed share
// folder and a user folder, each present or not as a case asks.
struct Layout {
    const char* name;
    bool dataBesideProgram;
    bool besideWritable;
    bool installed;
    bool named;
    DataPlaces::Kind kind;
    const char* programFolder; // below the test folder
    const char* dataFolder;
    const char* shipped;       // empty: none
};

class DataPlacesChoice : public ::testing::TestWithParam<Layout> {};

TEST_P(DataPlacesChoice, PicksTheFolderAndWhatFillsIt)
{
    const Layout& c = GetParam();
    TestFolder dir;
    const QString root = dir.path();
    QDir().mkpath(root + QStringLiteral("/bin"));
    if (c.dataBesideProgram)
        QDir().mkpath(root + QStringLiteral("/bin/Data"));
    if (c.installed)
        QDir().mkpath(root + QStringLiteral("/share/varnolix/data"));

    DataSearch search;
    search.executableFolder = root + QStringLiteral("/bin");
    search.installedShare = root + QStringLiteral("/share/varnolix");
    search.userDataFolder = root + QStringLiteral("/home/data");
    search.namedFolder = c.named ? root + QStringLiteral("/mine/") : QString();
    search.writable = [&](const QString& folder) {
        EXPECT_EQ(folder, root + QStringLiteral("/bin/Data"));
        return c.besideWritable;
    };
    const DataPlaces places = chooseDataPlaces(search);
    auto below = [&](const char* relative) {
        return *relative ? root + QLatin1Char('/') + QLatin1String(relative) : QString();
    };
    EXPECT_EQ(places.kind, c.kind);
    EXPECT_EQ(places.programFolder, below(c.programFolder));
    EXPECT_EQ(places.dataFolder, below(c.dataFolder));
    EXPECT_EQ(places.shippedData, below(c.shipped));
    EXPECT_EQ(places.folder().resolve(QStringLiteral("\\data\\text\\version.txt")),
              below(c.dataFolder) + QStringLiteral("/text/version.txt"));
    EXPECT_EQ(places.folder().resolve(QStringLiteral("\\telephone.wav")),
              below(c.programFolder) + QStringLiteral("/telephone.wav"));
}

using K = DataPlaces::Kind;
INSTANTIATE_TEST_SUITE_P(
    DataLocation, DataPlacesChoice,
    ::testing::Values(
        // Portable use and the build folder: as always, found whatever its case.
        Layout{"portable", true, true, false, false, K::BesideProgram, "bin", "bin/Data", "bin/Data"},
        Layout{"portableBesideAnInstall", true, true, true, false, K::BesideProgram, "bin", "bin/Data",
               "share/varnolix/data"},
        Layout{"installed", false, true, true, false, K::UserFolder, "share/varnolix", "home/data",
               "share/varnolix/data"},
        // Data beside the program that the user cannot write: filled from it.
        Layout{"readOnlyCopy", true, false, false, false, K::UserFolder, "bin", "home/data", "bin/Data"},
        Layout{"nothingShipped", false, true, false, false, K::UserFolder, "bin", "home/data", ""},
        Layout{"namedBeatsPortable", true, true, false, true, K::Named, "bin", "mine", "bin/Data"},
        Layout{"namedWhenInstalled", false, true, true, true, K::Named, "share/varnolix", "mine",
               "share/varnolix/data"}),
    [](const ::testing::TestParamInfo<Layout>& param) { return std::string(param.param.name); });

TEST(DataLocation, FillingCopiesWhatIsMissingAndNeverReplacesTheUsersFiles)
{
    TestFolder shipped;
    shipped.write(QStringLiteral("text/function.txt"), "shipped names");
    shipped.write(QStringLiteral("text/varnohelp.rtf"), "{\\rtf1 help}");
    shipped.write(QStringLiteral("VM110/KnobFwd0.bmp"), "knob");
    QFile::setPermissions(shipped.path() + QStringLiteral("/VM110/KnobFwd0.bmp"), QFileDevice::ReadOwner);
    TestFolder user;
    user.write(QStringLiteral("mine/Text/Function.txt"), "my names");

    const QString target = user.path() + QStringLiteral("/mine");
    EXPECT_EQ(fillMissingFiles(shipped.path(), target), QStringList());
    EXPECT_EQ(user.read(QStringLiteral("mine/Text/Function.txt")), "my names") << "matched ignoring case, kept";
    EXPECT_FALSE(user.exists(QStringLiteral("mine/text/function.txt")));
    EXPECT_EQ(user.read(QStringLiteral("mine/Text/varnohelp.rtf")), "{\\rtf1 help}");
    EXPECT_EQ(user.read(QStringLiteral("mine/VM110/KnobFwd0.bmp")), "knob");
    EXPECT_TRUE(QFile::permissions(target + QStringLiteral("/VM110/KnobFwd0.bmp")) & QFileDevice::WriteOwner)
        << "the user's copy of a read-only shipped file is the user's own";

    user.write(QStringLiteral("mine/VM110/KnobFwd0.bmp"), "my knob");
    EXPECT_EQ(fillMissingFiles(shipped.path(), target), QStringList());
    EXPECT_EQ(user.read(QStringLiteral("mine/VM110/KnobFwd0.bmp")), "my knob");
}

TEST(DataLocation, AFolderThatCannotBeMadeIsNamed)
{
    TestFolder shipped;
    shipped.write(QStringLiteral("text/function.txt"), "names");
    TestFolder user;
    user.write(QStringLiteral("blocker"), "a file where the folder should be");
    const QStringList failures = fillMissingFiles(shipped.path(), user.path() + QStringLiteral("/blocker/data"));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("blocker"))) << failures[0].toStdString();
}

} // namespace
