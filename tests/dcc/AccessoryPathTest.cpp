// Coil buttons in "DCC" through the whole serial path: the DLL and LS
// modules, the Qt serial port, a real pseudo-terminal and the simulated DCC
// box on its far side.
#include "BoardFixture.h"
#include "DCC.h"
#include "DLL.h"
#include "FakeDialogs.h"
#include "FakeWindowHost.h"
#include "LS.h"
#include "QtDccLink.h"
#include "SR.h"
#include "TestFolder.h"

#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

namespace {

using namespace std::chrono_literals;

class AccessoryPath : public ::testing::Test {
protected:
    void SetUp() override
    {
        box.setLineHandler([this](const std::string& line) {
            const std::lock_guard lock(linesMutex);
            lines.push_back(line);
        });
        std::string error;
        ASSERT_TRUE(box.start(&error)) << error;
        link = std::make_unique<QtDccLink>(PortMap({{5, QString::fromStdString(box.devicePath())}}));
        dcc = std::make_unique<DCC>(shared, *link, board.clock, dialogs, dir.folder());
        sr = std::make_unique<SR>(shared, dialogs, board.clock, dir.folder(), *dcc, windows);
        ls = std::make_unique<LS>(shared, *dcc);
        dll = std::make_unique<DLL>(shared, board.board, board.clock, *sr, *ls, dir.folder());
        shared.ControlSystem = QStringLiteral("DCC");
        shared.PortNumber = 5;
        dcc->ConnectDccBox();
        ASSERT_TRUE(box.waitForFrames(1, 5s));
        // The box's answers are heard during each pause, as on a real clock,
        // so the fake clock racing ahead does not make the box look silent.
        board.clock.duringWait = [this] {
            box.waitForAnswered(box.frames().size(), 1s);
            link->waitForReceived(10);
        };
    }

    void TearDown() override { box.stop(); }

    void click(int button, const char* side)
    {
        shared.CoilCode = static_cast<std::uint8_t>(2 * button);
        shared.CoilSide = QString::fromLatin1(side);
        dll->SwitchCoil();
    }

    bool saw(const std::string& text)
    {
        const std::lock_guard lock(linesMutex);
        for (const std::string& line : lines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    dccbox::SimulatedBox box;
    std::mutex linesMutex;
    std::vector<std::string> lines;
    TestFolder dir;
    Shared shared;
    SimulatedK8055 board;
    FakeDialogs dialogs;
    FakeWindowHost windows;
    std::unique_ptr<QtDccLink> link;
    std::unique_ptr<DCC> dcc;
    std::unique_ptr<SR> sr;
    std::unique_ptr<LS> ls;
    std::unique_ptr<DLL> dll;
};

TEST_F(AccessoryPath, EachButtonAndSideReachesTheBoxAsAnOnAndAnOffFrame)
{
    click(1, "L");
    click(1, "R");
    click(4, "L");
    ASSERT_TRUE(box.waitForFrames(9, 5s));
    const std::vector<dccbox::Frame> expected = {
        {0x52, 0x01, 0x8A, 0xD9}, {0x52, 0x01, 0x82, 0xD1}, {0x52, 0x01, 0x8B, 0xD8}, {0x52, 0x01, 0x83, 0xD0},
        {0x52, 0x02, 0x88, 0xD8}, {0x52, 0x02, 0x80, 0xD0},
    };
    const auto frames = box.frames();
    // After the interface's and the command station's version queries and the status query.
    EXPECT_EQ(std::vector<dccbox::Frame>(frames.begin() + 3, frames.end()), expected);
    EXPECT_EQ(box.badFrames(), 0u);
    EXPECT_TRUE(saw("accessory address 1, pair 1, side L, on (Lenz turnout 6)"));
    EXPECT_TRUE(board.device.writtenReports().empty()) << "nothing for the board in DCC";
}

TEST_F(AccessoryPath, TheStatusLineShowsTheOffFrame)
{
    click(4, "L");
    EXPECT_TRUE(shared.FrameText.startsWith(QStringLiteral(" 82  2  128  208"))) << shared.FrameText.toStdString();
}

TEST_F(AccessoryPath, OfflineNoFrameLeavesWhateverTheButton)
{
    shared.PortNumber = 0;
    for (int button : {1, 4, 99})
        click(button, "R");
    // A loco frame sent next is the next thing the box sees.
    shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C, 0};
    dcc->SendFrame();
    ASSERT_TRUE(box.waitForFrames(4, 5s));
    EXPECT_EQ(box.frames()[3], (dccbox::Frame{0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C}));
    EXPECT_EQ(box.frames().size(), 4u);
}

} // namespace
