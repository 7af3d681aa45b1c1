#include "BoxScript.h"
#include "LineRecorder.h"

#include "dccbox/BoxCommands.h"
#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using namespace std::chrono_literals;

TEST(SimulatedBox, AnswersOverThePty)
{
    dccbox::SimulatedBox box;
    START_BOX(box);
    BoxClient port(box.devicePath());
    ASSERT_TRUE(port.isOpen());

    ASSERT_TRUE(port.write(bytesOf("F0 F0")));
    EXPECT_EQ(port.read(4), bytesOf("02 01 36 35"));
    ASSERT_TRUE(port.write(bytesOf("E4 12 00 03 89 7C")));
    EXPECT_EQ(port.read(3), bytesOf("01 04 05"));
    // Two frames in one write get two answers.
    ASSERT_TRUE(port.write(bytesOf("52 01 8A D9 F0 F0")));
    EXPECT_EQ(port.read(7), bytesOf("01 04 05 02 01 36 35"));

    ASSERT_TRUE(box.waitForFrames(4, 3s));
    const std::vector<xpressnet::Frame> expected = {bytesOf("F0 F0"), bytesOf("E4 12 00 03 89 7C"),
                                                 bytesOf("52 01 8A D9"), bytesOf("F0 F0")};
    EXPECT_EQ(box.frames(), expected);
}

TEST(SimulatedBox, ReportsBadCheckByteAndUnfinishedFrame)
{
    dccbox::Options options;
    options.hardware = 0x12;
    options.software = 0x40;
    dccbox::SimulatedBox box(options);
    START_BOX(box);
    BoxClient port(box.devicePath());
    ASSERT_TRUE(port.isOpen());

    ASSERT_TRUE(port.write(bytesOf("E4 12 00 03 89 7D")));
    EXPECT_EQ(port.read(3), bytesOf("01 03 02"));
    EXPECT_EQ(box.badFrames(), 1u);

    // Only the box's own timer can end this frame.
    ASSERT_TRUE(port.write(bytesOf("E4 12 00")));
    EXPECT_EQ(port.read(3), bytesOf("01 01 00"));
    EXPECT_EQ(box.droppedFrames(), 1u);

    ASSERT_TRUE(port.write(bytesOf("F0 F0")));
    EXPECT_EQ(port.read(4), bytesOf("02 12 40 50"));
    ASSERT_TRUE(box.waitForFrames(1, 3s));
    EXPECT_EQ(box.frames(), std::vector<xpressnet::Frame>{bytesOf("F0 F0")});
    EXPECT_EQ(box.receivedBytes(), bytesOf("E4 12 00 03 89 7D E4 12 00 F0 F0"));
}

TEST(SimulatedBox, SilentBoxNeverAnswers)
{
    dccbox::Options options;
    options.silent = true;
    dccbox::SimulatedBox box(options);
    START_BOX(box);
    BoxClient port(box.devicePath());
    ASSERT_TRUE(port.isOpen());

    ASSERT_TRUE(port.write(bytesOf("F0 F0")));
    ASSERT_TRUE(port.write(bytesOf("E4 12 00 03 89 7C")));
    // The box takes frames in turn, so once it has the second one any answer
    // to the first is in the pty, ahead of this marker.
    ASSERT_TRUE(box.waitForFrames(2, 3s));
    ASSERT_TRUE(box.send(bytesOf("61 01 60")));
    EXPECT_EQ(port.read(3), bytesOf("61 01 60"));
}

TEST(SimulatedBox, DelayedAnswerArrivesAfterTheDelay)
{
    dccbox::Options options;
    options.answerDelayMs = 40;
    dccbox::SimulatedBox box(options);
    START_BOX(box);
    BoxClient port(box.devicePath());
    ASSERT_TRUE(port.isOpen());

    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(port.write(bytesOf("F0 F0 E4 12 00 03 89 7C")));
    EXPECT_EQ(port.read(7), bytesOf("02 01 36 35 01 04 05"));
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 40ms);

    // Set at the terminal: late from now on, and nothing overtakes a late answer.
    EXPECT_EQ(dccbox::runBoxCommand(box, "delay 60"), "delay: done");
    const auto later = std::chrono::steady_clock::now();
    ASSERT_TRUE(port.write(bytesOf("F0 F0")));
    ASSERT_TRUE(box.waitForAnswered(3, 3s));
    EXPECT_EQ(dccbox::runBoxCommand(box, "delay 0"), "delay: done");
    ASSERT_TRUE(port.write(bytesOf("E4 12 00 03 89 7C")));
    EXPECT_EQ(port.read(7), bytesOf("02 01 36 35 01 04 05"));
    EXPECT_GE(std::chrono::steady_clock::now() - later, 60ms);
}

TEST(SimulatedBox, KeepsAnsweringWhenThePortIsReopened)
{
    dccbox::Options options;
    options.answerDelayMs = 20;
    LineRecorder recorder; // outlives the box, whose thread calls it
    dccbox::SimulatedBox box(options);
    box.setLineHandler(recorder.handler());
    START_BOX(box);
    const std::string versionSent = "-> 02 01 36 35  interface version: hardware 0.1, software 3.6";
    {
        BoxClient port(box.devicePath());
        ASSERT_TRUE(port.isOpen());
        ASSERT_TRUE(port.write(bytesOf("F0 F0")));
    }
    // The answer falls due while nobody has the port open: the box must carry
    // on through that, as a real one does when the program closes its port.
    ASSERT_TRUE(recorder.waitFor(versionSent));

    BoxClient port(box.devicePath());
    ASSERT_TRUE(port.isOpen());
    ASSERT_TRUE(port.write(bytesOf("E4 12 00 03 89 7C")));
    EXPECT_EQ(port.read(3), bytesOf("01 04 05"));
}

TEST(SimulatedBox, LinkLeadsToTheDeviceUntilStopped)
{
    std::string folder = (std::filesystem::temp_directory_path() / "dccbox-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string link = folder + "/xpressnet";

    dccbox::Options options;
    options.linkPath = link;
    dccbox::SimulatedBox box(options);
    START_BOX(box);
    EXPECT_EQ(std::filesystem::read_symlink(link), box.devicePath());
    {
        BoxClient port(link);
        ASSERT_TRUE(port.isOpen());
        ASSERT_TRUE(port.write(bytesOf("F0 F0")));
        EXPECT_EQ(port.read(4), bytesOf("02 01 36 35"));
    }
    box.stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    EXPECT_TRUE(box.devicePath().empty());
    std::filesystem::remove_all(folder);
}

TEST(SimulatedBox, TellsTheLineHandlerWhatHappens)
{
    LineRecorder recorder; // outlives the box, whose thread calls it
    dccbox::SimulatedBox box;
    box.setLineHandler(recorder.handler());
    START_BOX(box);
    BoxClient port(box.devicePath());
    ASSERT_TRUE(port.isOpen());

    ASSERT_TRUE(port.write(bytesOf("E4 12 00 03 89 7D E4 12 00 03 89 7C")));
    ASSERT_TRUE(recorder.waitFor("-> 01 04 05  command accepted"));
    const std::vector<std::string> expected = {
        "!! bad check byte: E4 12 00 03 89 7D (expected 7C)",
        "-> 01 03 02  unknown communication error (bad check byte)",
        "<- E4 12 00 03 89 7C  loco 3: speed code 9 = step 15 of 28, forward",
        "-> 01 04 05  command accepted",
    };
    EXPECT_EQ(recorder.lines(), expected);
}

} // namespace
