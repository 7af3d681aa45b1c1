#include "DataFile.h"
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

TEST(DataFile, SafeOpenReadsAtMostTheLimit)
{
    TestFolder dir;
    dir.write(QStringLiteral("data/text/big.txt"), QByteArray(5000, 'x'));
    const auto result = data_file::readCreatingEmpty(dir.path() + QStringLiteral("/data/text/big.txt"), 1000);
    EXPECT_EQ(result.content.size(), 1000);
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
