#include "DataFile.h"
#include "FieldFormat.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

TEST(DataFile, SafeOpenCreatesAMissingFileEmpty)
{
    TestFolder dir;
    const auto result = data_file::readCreatingEmpty(dir.path() + QStringLiteral("/data/text/version.txt"));
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.content.isEmpty());
    EXPECT_TRUE(dir.exists(QStringLiteral("data/text/version.txt")));
}

TEST(DataFile, SafeOpenCreatesAMissingFolder)
{
    TestFolder dir;
    QDir(dir.path() + QStringLiteral("/data/text")).removeRecursively();
    const auto result = data_file::readCreatingEmpty(dir.path() + QStringLiteral("/data/text/layout.txt"));
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(dir.exists(QStringLiteral("data/text/layout.txt")));
}

TEST(DataFile, SafeOpenLeavesAnExistingFileUntouched)
{
    TestFolder dir;
    dir.write(QStringLiteral("data/text/port.txt"), "3\r\n");
    const auto result = data_file::readCreatingEmpty(dir.path() + QStringLiteral("/data/text/port.txt"));
    EXPECT_EQ(result.content, QByteArray("3\r\n"));
    EXPECT_EQ(dir.read(QStringLiteral("data/text/port.txt")), QByteArray("3\r\n"));
}

TEST(DataFile, AFileLargerThanTheLimitIsNeitherReadInPartNorReplaced)
{
    TestFolder dir;
    const QString path = dir.path() + QStringLiteral("/data/text/loco.txt");
    dir.write(QStringLiteral("data/text/loco.txt"), QByteArray(data_file::ReadLimit, 'x'));
    EXPECT_EQ(data_file::readCreatingEmpty(path).content.size(), data_file::ReadLimit) << "a file at the limit is read whole";

    const QByteArray big = QByteArray(data_file::ReadLimit, 'x') + "\r\n\"0003\",\"E27\"\r\n";
    dir.write(QStringLiteral("data/text/loco.txt"), big);
    const auto result = data_file::readCreatingEmpty(path);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.tooLarge);
    EXPECT_TRUE(result.content.isEmpty());
    EXPECT_TRUE(result.error.contains(QStringLiteral("loco.txt"))) << result.error.toStdString();
    EXPECT_FALSE(data_file::writeAtomically(path, "\"0001\",\"D1\"\r\n").isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("data/text/loco.txt")), big);
}

TEST(DataFile, RecordsGoBackInTheEncodingOfTheFileTheyReplace)
{
    struct Case {
        const char* name;
        QByteArray before; // empty: no file yet
        QString text;
        QByteArray after;
    };
    const QString sud = QStringLiteral("Bahnhof S\u00fcd");
    const Case cases[] = {
        {"new file", {}, sud, "\"Bahnhof S\xc3\xbc" "d\"\r\n"},
        {"utf-8 file", "\"Ashby \xc3\xa9\"\r\n", sud, "\"Bahnhof S\xc3\xbc" "d\"\r\n"},
        {"windows-1252 file", "\"Ashby \xe9\"\r\n", sud, "\"Bahnhof S\xfc" "d\"\r\n"},
        {"windows-1252 cannot hold it", "\"Ashby \xe9\"\r\n", QStringLiteral("\u0141\u00f3d\u017a"),
         "\"\xc5\x81\xc3\xb3" "d\xc5\xba\"\r\n"},
    };
    for (const Case& c : cases) {
        TestFolder dir;
        if (!c.before.isEmpty())
            dir.write(QStringLiteral("data/text/layout.txt"), c.before);
        FieldWriter writer;
        writer.text(c.text).endLine();
        EXPECT_TRUE(data_file::writeAtomically(dir.path() + QStringLiteral("/data/text/layout.txt"), writer).isEmpty());
        const QByteArray written = dir.read(QStringLiteral("data/text/layout.txt"));
        EXPECT_EQ(written, c.after) << c.name;
        EXPECT_EQ(FieldReader(written).readText(), c.text) << c.name << ": reads back";
    }
}

TEST(DataFile, LongListsOfLinesAreCutShort)
{
    QList<int> many;
    for (int i = 1; i <= 800; ++i)
        many << i;
    const std::pair<QList<int>, QString> cases[] = {
        {{3}, QStringLiteral("line 3")},
        {{1, 2, 3}, QStringLiteral("lines 1, 2, 3")},
        {many.mid(0, 10), QStringLiteral("lines 1, 2, 3, 4, 5, 6, 7, 8, 9, 10")},
        {many, QStringLiteral("lines 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 \u2026 and 790 more")},
    };
    for (const auto& [lines, text] : cases)
        EXPECT_EQ(data_file::lineList(lines), text);
}

TEST(DataFile, SaysWhyAFileCannotBeRead)
{
    TestFolder dir;
    QDir(dir.path()).mkpath(QStringLiteral("data/Layouts/Home.bmp"));
    dir.write(QStringLiteral("data/Layouts/Away.bmp"), "BM");
    dir.write(QStringLiteral("data/Layouts/Locked.bmp"), "BM");
    QFile::setPermissions(dir.path() + QStringLiteral("/data/Layouts/Locked.bmp"), QFileDevice::WriteOwner);
    const bool root = ::geteuid() == 0; // root reads whatever the permissions say
    const std::pair<const char*, QString> cases[] = {
        {"Home.bmp", QStringLiteral("is a folder")},
        {"Gone.bmp", QStringLiteral("does not exist")},
        {"Away.bmp", QString()},
        {"Locked.bmp", root ? QString() : QStringLiteral("cannot be read (permission)")},
    };
    for (const auto& [name, why] : cases)
        EXPECT_EQ(data_file::whyUnreadable(dir.path() + QStringLiteral("/data/Layouts/") + QLatin1String(name)), why) << name;
}

TEST(DataFile, OnlyTemporaryFilesOfOurOwnDataFilesAreRemoved)
{
    TestFolder dir;
    const char* files[] = {"loco.txt", "loco.txt.AbC123", "Function.TXT.x1y2z3", "port.txt.zzzzzz",
                           "loco.txt.AbC12",  "loco.txt.AbC1234", "notes.txt.AbC123", "loco.txt.AbC12-", "loco.txtXAbC123"};
    for (const char* name : files)
        dir.write(QStringLiteral("data/text/") + QLatin1String(name), "x");
    const QStringList names{QStringLiteral("loco.txt"), QStringLiteral("function.txt"), QStringLiteral("port.txt")};
    EXPECT_EQ(data_file::removeStaleTemporaries(dir.path() + QStringLiteral("/data/text"), names), 3);
    QStringList left = QDir(dir.path() + QStringLiteral("/data/text")).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("loco.txt"), QStringLiteral("loco.txt.AbC12"), QStringLiteral("loco.txt.AbC12-"),
                                 QStringLiteral("loco.txt.AbC1234"), QStringLiteral("loco.txtXAbC123"),
                                 QStringLiteral("notes.txt.AbC123")}));
}

TEST(DataFile, AtomicWriteReplacesTheWholeFile)
{
    TestFolder dir;
    dir.write(QStringLiteral("data/text/coord.txt"), "a much longer old content\r\n");
    const QString error = data_file::writeAtomically(dir.path() + QStringLiteral("/data/text/coord.txt"), "1,2,3,4\r\n");
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("data/text/coord.txt")), QByteArray("1,2,3,4\r\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path() + QStringLiteral("/data/text")).entryList(QDir::Files).size(), 1);
}

TEST(DataFile, FailedWriteNamesTheFileAndKeepsTheOldContent)
{
    if (QFile::exists(QStringLiteral("/proc/self")) && ::geteuid() == 0)
        GTEST_SKIP() << "root may write into a read-only folder";
    TestFolder dir;
    dir.write(QStringLiteral("data/text/layout.txt"), "\"old\"\r\n");
    const QString folder = dir.path() + QStringLiteral("/data/text");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString error = data_file::writeAtomically(folder + QStringLiteral("/layout.txt"), "\"new\"\r\n");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(error.contains(QStringLiteral("layout.txt"))) << error.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("data/text/layout.txt")), QByteArray("\"old\"\r\n"));
}

TEST(DataFile, WriteIntoAPathThatIsAFolderFailsWithAMessage)
{
    TestFolder dir;
    QDir(dir.path()).mkpath(QStringLiteral("data/text/version.txt"));
    const QString error = data_file::writeAtomically(dir.path() + QStringLiteral("/data/text/version.txt"), "\"DC\"\r\n");
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("version.txt")));
}

} // namespace
