// The command station's layout-wide commands, byte for byte.
#include "StationFrames.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

TEST(StationFrames, MatchTheXpressNetBytes)
{
    const struct {
        const char* what;
        station_frames::Frame frame;
        qsizetype length;
        const char* bytes;
    } rows[] = {{"emergency stop, all locos", station_frames::emergencyStop(), 2, "80 80"},
                {"track power off", station_frames::trackPowerOff(), 3, "21 80 A1"},
                {"resume normal operation", station_frames::resumeOperation(), 3, "21 81 A0"},
                {"command station version", station_frames::versionQuery(), 3, "21 21 00"}};
    for (const auto& row : rows)
        EXPECT_EQ(PrintableBytes(QByteArray(reinterpret_cast<const char*>(row.frame.data()), row.length)),
                  QString::fromLatin1(row.bytes))
            << row.what;
}

} // namespace
