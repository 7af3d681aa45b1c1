#include "PortMap.h"

#include <gtest/gtest.h>

namespace {

#ifndef Q_OS_WIN
TEST(PortMap, NumbersFollowTheDocumentedDeviceRanges)
{
    const PortMap map;
    const std::pair<int, const char*> cases[] = {
        {0, ""}, {1, "/dev/ttyS0"}, {4, "/dev/ttyS3"}, {5, "/dev/ttyUSB0"}, {20, "/dev/ttyUSB15"},
        {21, "/dev/ttyACM0"}, {36, "/dev/ttyACM15"}, {37, ""}, {255, ""}, {-1, ""}, {256, ""}};
    for (const auto& [number, device] : cases)
        EXPECT_EQ(map.device(number), QString::fromLatin1(device)) << number;
}

TEST(PortMap, NumberOfIsTheInverse)
{
    const PortMap map;
    for (int number = 1; number <= 36; ++number)
        EXPECT_EQ(map.numberOf(map.device(number)), number);
    EXPECT_EQ(map.numberOf(QStringLiteral("/dev/pts/3")), 0);
}
#endif

TEST(PortMap, AnOverrideMapsANumberToAnyDevice)
{
    const PortMap map({{5, QStringLiteral("/tmp/box.tty")}});
    EXPECT_EQ(map.device(5), QStringLiteral("/tmp/box.tty"));
    EXPECT_EQ(map.numberOf(QStringLiteral("/tmp/box.tty")), 5);
    EXPECT_EQ(map.overriddenNumbers(), QList<int>{5});
}

TEST(PortMap, OverridesComeFromTheEnvironment)
{
    qputenv("VARNOLIX_PORT_7", "/tmp/seven.tty");
    qputenv("VARNOLIX_PORT_X", "/tmp/bad.tty");
    qputenv("VARNOLIX_PORT_300", "/tmp/too-big.tty");
    const PortMap map = PortMap::fromEnvironment();
    qunsetenv("VARNOLIX_PORT_7");
    qunsetenv("VARNOLIX_PORT_X");
    qunsetenv("VARNOLIX_PORT_300");
    EXPECT_EQ(map.device(7), QStringLiteral("/tmp/seven.tty"));
    EXPECT_EQ(map.overriddenNumbers(), QList<int>{7});
}

} // namespace
