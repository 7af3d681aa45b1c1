#include "DCC.h"
#include "DataFile.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "LocoModuleFixture.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

struct PortFileCase {
    QByteArray content;
    int expected;
};

class PortFileContents : public ::testing::TestWithParam<PortFileCase> {};

TEST_P(PortFileContents, GiveThePortNumberOrNone)
{
    TestFolder dir;
    dir.write(QStringLiteral("data/text/port.txt"), GetParam().content);
    Shared shared;
    shared.PortNumber = 99;
    FakeDccLink link;
    FakeClock clock;
    FakeDialogs dialogs;
    DCC dcc(shared, link, clock, dialogs, dir.folder());
    dcc.ReadPortFile();
    EXPECT_EQ(shared.PortNumber, GetParam().expected);
    // Reading never changes the file.
    EXPECT_EQ(dir.read(QStringLiteral("data/text/port.txt")), GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(DCC, PortFileContents,
                         ::testing::Values(PortFileCase{"3\r\n", 3}, PortFileCase{"0\r\n", 0}, PortFileCase{"255", 255},
                                           PortFileCase{" 7 \r\n", 7}, PortFileCase{"12,4\r\n", 12},
                                           PortFileCase{"", 0}, PortFileCase{"\r\n", 0}, PortFileCase{"abc\r\n", 0},
                                           PortFileCase{"256\r\n", 0}, PortFileCase{"-1\r\n", 0},
                                           PortFileCase{QByteArray("\x00\x01\x02", 3), 0}));

TEST(DCC, AMissingPortFileIsCreatedEmptyAndMeansNoPort)
{
    TestFolder dir;
    Shared shared;
    FakeDccLink link;
    FakeClock clock;
    FakeDialogs dialogs;
    DCC dcc(shared, link, clock, dialogs, dir.folder());
    dcc.ReadPortFile();
    EXPECT_EQ(shared.PortNumber, 0);
    EXPECT_TRUE(dir.exists(QStringLiteral("data/text/port.txt")));
}

TEST(DCC, WritePortFileStoresTheNumberAndALineEnd)
{
    TestFolder dir;
    Shared shared;
    shared.PortNumber = 3;
    FakeDccLink link;
    FakeClock clock;
    FakeDialogs dialogs;
    DCC dcc(shared, link, clock, dialogs, dir.folder());
    dcc.WritePortFile();
    EXPECT_EQ(dir.read(QStringLiteral("data/text/port.txt")), QByteArray("3\r\n"));
    EXPECT_TRUE(dialogs.shown.empty());
}

using PortFile = LocoModuleFixture;

TEST_F(PortFile, APortFileTooLargeToReadIsNamedAndNeverReplaced)
{
    const QByteArray big = "5\r\n" + QByteArray(data_file::ReadLimit, ' ');
    dir.write(QStringLiteral("data/text/port.txt"), big);
    dcc.ReadPortFile();
    EXPECT_EQ(shared.PortNumber, 0) << "not the 5 of its first line";
    shared.PortNumber = 3;
    dcc.WritePortFile();
    ASSERT_EQ(dialogs.messages().size(), 2u);
    for (const auto& shown : dialogs.messages())
        EXPECT_TRUE(shown.text.contains(QStringLiteral("port.txt"))) << shown.text.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("data/text/port.txt")), big);
}

} // namespace
