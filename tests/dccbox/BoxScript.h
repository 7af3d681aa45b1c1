#pragma once

#include "BoxClient.h"
#include "HexFrames.h"

#include "dccbox/BoxCommands.h"
#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

// One step of a conversation with the box: a frame the program sends, or
// "> line" typed at the box's terminal; and every byte the box sends back.
struct Step {
    const char* input;
    const char* expected;
};

// Plays the steps through a real port. After each step the box has dealt with
// everything, then sends a marker; so "nothing came back" is checked without
// waiting for a timeout, as the bytes before the marker.
inline void play(dccbox::SimulatedBox& box, BoxClient& port, const std::vector<Step>& steps)
{
    using namespace std::chrono_literals;
    const bool usb = box.options().framing == xpressnet::Framing::Usb;
    const xpressnet::Frame marker = bytesOf(usb ? "FF FD 42 00 00 42" : "42 00 00 42");
    std::size_t frames = box.frames().size();
    for (const Step& step : steps) {
        const std::string_view input = step.input;
        if (input.starts_with("> ")) {
            const std::string said = dccbox::runBoxCommand(box, input.substr(2));
            EXPECT_TRUE(said.ends_with(": done")) << said;
        } else {
            ASSERT_TRUE(port.write(bytesOf(input)));
            ASSERT_TRUE(box.waitForAnswered(++frames, 3s)) << input;
        }
        ASSERT_TRUE(box.send(bytesOf("42 00 00 42")));
        xpressnet::Frame expected = bytesOf(step.expected);
        expected.insert(expected.end(), marker.begin(), marker.end());
        EXPECT_EQ(xpressnet::hex(port.read(expected.size())), xpressnet::hex(expected)) << input;
    }
}

// A box that is running, or the test stops here with the reason.
#define START_BOX(box)                                                                                                 \
    do {                                                                                                               \
        std::string startError;                                                                                        \
        ASSERT_TRUE((box).start(&startError)) << startError;                                                          \
    } while (false)
