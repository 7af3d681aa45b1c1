// interface.txt: each kind read back as written, and what a missing, blank
// or garbled file gives.
#include "InterfaceFile.h"
#include "QtPrint.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(InterfaceFile, EachKindIsWrittenAsTheExamplesAndReadBack)
{
    TestFolder dir;
    const QString path = dir.path() + QStringLiteral("/data/text/interface.txt");
    InterfaceSettings serial;
    serial.speed = 38400;
    serial.rtsCts = true;
    InterfaceSettings lan = defaultsFor(InterfaceSettings::Kind::Lan);
    lan.host = QStringLiteral("192.168.0.200");
    InterfaceSettings xntcp = defaultsFor(InterfaceSettings::Kind::XnTcp);
    xntcp.host = QStringLiteral("layout.local");
    const struct {
        InterfaceSettings settings;
        const char* file;
    } rows[] = {{serial, "\"serial\",38400,\"rtscts\",\"\",0\r\n"},
                {defaultsFor(InterfaceSettings::Kind::Usb), "\"usb\",57600,\"none\",\"\",0\r\n"},
                {lan, "\"lan\",0,\"none\",\"192.168.0.200\",5550\r\n"},
                {xntcp, "\"xntcp\",0,\"none\",\"layout.local\",61235\r\n"}};
    for (const auto& row : rows) {
        ASSERT_EQ(interface_file::write(path, row.settings), QString());
        EXPECT_EQ(dir.read(QStringLiteral("data/text/interface.txt")), QByteArray(row.file));
        const auto read = interface_file::read(path);
        EXPECT_EQ(read.error, QString()) << row.file;
        ASSERT_TRUE(read.settings) << row.file;
        EXPECT_EQ(*read.settings, row.settings) << row.file;
    }
}

TEST(InterfaceFile, NoFileOrABlankOneMeansTodaysSerialInterfaceWithoutAWord)
{
    TestFolder dir;
    const QString path = dir.path() + QStringLiteral("/data/text/interface.txt");
    const auto missing = interface_file::read(path);
    EXPECT_FALSE(missing.settings);
    EXPECT_EQ(missing.error, QString());
    EXPECT_FALSE(QFile::exists(path)) << "reading does not create it";
    dir.write(QStringLiteral("data/text/interface.txt"), " \r\n");
    EXPECT_EQ(interface_file::read(path).error, QString());
}

TEST(InterfaceFile, AGarbledFileIsNamedWithWhatIsWrong)
{
    TestFolder dir;
    const QString path = dir.path() + QStringLiteral("/data/text/interface.txt");
    const struct {
        const char* file;
        const char* fault;
    } rows[] = {{"\"wifi\",19200,\"none\",\"\",0", "the kind"},
                {"\"serial\",\"fast\",\"none\",\"\",0", "the speed is not a number"},
                {"\"serial\",14400,\"none\",\"\",0", "the speed is not 9600"},
                {"\"usb\",57600,\"xonxoff\",\"\",0", "the handshake"},
                {"\"serial\",19200,\"none\"", "host (text) and TCP port"},
                {"\"lan\",0,\"none\",\"\",5550", "needs a host"},
                {"\"xntcp\",0,\"none\",\"10.0.0.2\",70000", "TCP port is not 1..65535"}};
    for (const auto& row : rows) {
        dir.write(QStringLiteral("data/text/interface.txt"), row.file);
        const auto read = interface_file::read(path);
        EXPECT_FALSE(read.settings) << row.file;
        EXPECT_TRUE(read.error.contains(QStringLiteral("interface.txt"))) << row.file;
        EXPECT_TRUE(read.error.contains(QString::fromLatin1(row.fault))) << read.error.toStdString();
    }
}

TEST(InterfaceFile, AUsbRecordWithAnotherSpeedIsNamedAndRunsAtTheLiUsbsSpeed)
{
    TestFolder dir;
    const QString path = dir.path() + QStringLiteral("/data/text/interface.txt");
    for (const char* speed : {"19200", "115200", "57600"}) {
        dir.write(QStringLiteral("data/text/interface.txt"), QByteArray("\"usb\",") + speed + ",\"none\",\"\",0");
        const auto read = interface_file::read(path);
        ASSERT_TRUE(read.settings) << speed;
        EXPECT_EQ(read.settings->speed, 57600) << speed;
        const bool named = QByteArray(speed) != "57600";
        EXPECT_EQ(read.warning.contains(QStringLiteral("interface.txt gives the LI-USB interface %1 baud").arg(QLatin1String(speed))),
                  named)
            << read.warning.toStdString();
        EXPECT_EQ(read.warning.isEmpty(), !named) << speed;
    }
}

} // namespace
