#include "StartupFixture.h"

#include <QDir>

#include <string>

namespace {

using ConfigFiles = StartupFixture;

TEST_F(ConfigFiles, ControlSystemIsWrittenQuotedAndReadWithoutQuotes)
{
    shared.ControlSystem = QStringLiteral("DCC + DC");
    sr.WriteControlSystem();
    EXPECT_EQ(dir.read(QStringLiteral("data/text/version.txt")), QByteArray("\"DCC + DC\"\r\n"));
    shared.ControlSystem.clear();
    sr.ReadControlSystem();
    EXPECT_EQ(shared.ControlSystem, QStringLiteral("DCC + DC"));
}

TEST_F(ConfigFiles, HandWrittenValuesAreRead)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"DCC\r\n", QStringLiteral("DCC")}, {"  \"DC\"  \r\n", QStringLiteral("DC")}, {"DC", QStringLiteral("DC")}};
    for (const auto& [content, expected] : cases) {
        dir.write(QStringLiteral("data/text/version.txt"), content);
        shared.ControlSystem.clear();
        sr.ReadControlSystem();
        EXPECT_EQ(shared.ControlSystem, expected);
    }
}

TEST_F(ConfigFiles, AMissingOrEmptyVersionFileLeavesTheValueAndStaysEmpty)
{
    shared.ControlSystem = QStringLiteral("unchanged");
    sr.ReadControlSystem();
    EXPECT_EQ(shared.ControlSystem, QStringLiteral("unchanged"));
    EXPECT_TRUE(dir.exists(QStringLiteral("data/text/version.txt")));
    EXPECT_TRUE(dir.read(QStringLiteral("data/text/version.txt")).isEmpty());
}

TEST_F(ConfigFiles, LayoutNameWithACommaWrittenByHandIsReadUpToTheComma)
{
    dir.write(QStringLiteral("data/text/layout.txt"), "Mill,brook\r\n");
    sr.ReadLayoutName();
    EXPECT_EQ(shared.LayoutName, QStringLiteral("Mill"));
}

TEST_F(ConfigFiles, LayoutNameRoundTripsWithBlanks)
{
    shared.LayoutName = QStringLiteral("Millbrook Junction");
    sr.WriteLayoutName();
    EXPECT_EQ(dir.read(QStringLiteral("data/text/layout.txt")), QByteArray("\"Millbrook Junction\"\r\n"));
    shared.LayoutName.clear();
    sr.ReadLayoutName();
    EXPECT_EQ(shared.LayoutName, QStringLiteral("Millbrook Junction"));
}

TEST_F(ConfigFiles, WindowCoordsWithBlanksAroundFieldsAreRead)
{
    dir.write(QStringLiteral("data/text/coord.txt"), "1200, 300 ,1200,9000\r\n");
    sr.ReadWindowCoords();
    ASSERT_TRUE(windows.placed.has_value());
    EXPECT_EQ(*windows.placed, (WindowHost::Places{1200, 300, 1200, 9000}));
}

TEST_F(ConfigFiles, BadWindowCoordsAskForDefaultPlaces)
{
    const QByteArray cases[] = {"", "1200,300,1200\r\n", "a,b,c,d\r\n", "1,2,3,40000\r\n",
                                QByteArray("\x00\xff\x10", 3)};
    for (const QByteArray& content : cases) {
        dir.write(QStringLiteral("data/text/coord.txt"), content);
        windows.placed = WindowHost::Places{};
        sr.ReadWindowCoords();
        EXPECT_FALSE(windows.placed.has_value()) << content.toStdString();
    }
}

TEST_F(ConfigFiles, SaveWindowCoordsWritesTheFourPlacesAndRestoresThem)
{
    windows.places = {1200, -45, 1200, 9000};
    sr.SaveWindowCoords();
    EXPECT_EQ(dir.read(QStringLiteral("data/text/coord.txt")), QByteArray("1200,-45,1200,9000\r\n"));
    sr.ReadWindowCoords();
    EXPECT_EQ(windows.placed, windows.places);
}

TEST_F(ConfigFiles, SaveWindowCoordsClampsToSixteenBits)
{
    windows.places = {40000, -40000, 0, 32767};
    sr.SaveWindowCoords();
    EXPECT_EQ(dir.read(QStringLiteral("data/text/coord.txt")), QByteArray("32767,-32768,0,32767\r\n"));
}

TEST_F(ConfigFiles, AFileTooLargeToReadIsNamedAndNeverReplaced)
{
    struct Case {
        const char* file;
        void (SR::*read)();
        void (SR::*write)();
        std::size_t messages; // the write at the end of the run goes to standard error
    };
    const Case cases[] = {{"version.txt", &SR::ReadControlSystem, &SR::WriteControlSystem, 2},
                          {"layout.txt", &SR::ReadLayoutName, &SR::WriteLayoutName, 2},
                          {"coord.txt", &SR::ReadWindowCoords, &SR::SaveWindowCoords, 1}};
    shared.ControlSystem = QStringLiteral("DC");
    shared.LayoutName = QStringLiteral("Home");
    for (const Case& c : cases) {
        const QString relative = QStringLiteral("data/text/") + QLatin1String(c.file);
        const QByteArray big = "\"DC\"\r\n" + QByteArray(data_file::ReadLimit, ' ');
        dir.write(relative, big);
        dialogs.shown.clear();
        (sr.*c.read)();
        testing::internal::CaptureStderr();
        (sr.*c.write)();
        const std::string said = testing::internal::GetCapturedStderr();
        ASSERT_EQ(dialogs.messages().size(), c.messages) << c.file;
        EXPECT_EQ(said.find(c.file) != std::string::npos, c.messages == 1) << c.file << ": " << said;
        for (const auto& shown : dialogs.messages())
            EXPECT_TRUE(shown.text.contains(QLatin1String(c.file))) << shown.text.toStdString();
        EXPECT_EQ(dir.read(relative), big) << c.file;
    }
}

TEST_F(ConfigFiles, AFailedWriteIsReportedWithTheFileName)
{
    QDir(dir.path()).mkpath(QStringLiteral("data/text/coord.txt")); // a folder where the file should be
    QDir(dir.path()).mkpath(QStringLiteral("data/text/layout.txt"));
    sr.WriteLayoutName();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("layout.txt")));
    EXPECT_EQ(dialogs.messages()[0].style, Dialogs::Critical);
    // The window places are saved as the program ends: no box then.
    testing::internal::CaptureStderr();
    sr.SaveWindowCoords();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_NE(said.find("coord.txt could not be written"), std::string::npos) << said;
}

} // namespace
