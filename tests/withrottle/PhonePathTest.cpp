// From a phone's line to the frame on the far side of the pseudo-terminal,
// with the whole program: the same loco states, the same link rules and the
// same emergency stop as the loco window.
#include "DccPhoneLayout.h"
#include "Form2a.h"
#include "FrameMonitor.h"
#include "NetworkPhoneService.h"
#include "ScriptedPhone.h"
#include "ThrottlePathFixture.h"

#include <QDBusConnection>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;
using dccbox::Frame;

class PhonePath : public ThrottlePath {
protected:
    void startWithPhones()
    {
        // Avahi is not asked: phones type the address.
        desktop.phoneService = [](withrottle::PhoneLayout& layout, Clock& timing) {
            return std::make_unique<withrottle::NetworkPhoneService>(
                layout, timing, QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"), QStringLiteral("none")));
        };
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
        probe.close();
        dir.write(QStringLiteral("data/text/withrottle.txt"),
                  QStringLiteral("#TRUE#,%1,\"127.0.0.1\",#TRUE#,#TRUE#\r\n").arg(port).toUtf8());
        start("\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n");
        app->startPhones(std::nullopt);
        ASSERT_TRUE(app->phones()->service().listening());
        box.waitForFrames(3, 5s);
        sentBefore = box.frames().size();
    }
    // The frames the box got since the phones started.
    std::vector<Frame> framesSince()
    {
        const auto all = box.frames();
        return {all.begin() + static_cast<std::ptrdiff_t>(sentBefore), all.end()};
    }
    // The program runs its event loop meanwhile: the phones are heard there.
    bool boxGets(std::size_t count)
    {
        return talkUntil([&] { return box.frames().size() >= sentBefore + count; });
    }
    std::unique_ptr<ScriptedPhone> phone(const char* name)
    {
        auto p = std::make_unique<ScriptedPhone>(port);
        EXPECT_TRUE(p->hears(QStringLiteral("PTL")));
        p->say(QByteArray("N") + name + "\nHU" + name + "\n");
        EXPECT_TRUE(p->hears(QStringLiteral("*10")));
        return p;
    }
    ~PhonePath() override { QDBusConnection::disconnectFromBus(QStringLiteral("none")); }

    quint16 port = 0;
    std::size_t sentBefore = 0;
};

TEST_F(PhonePath, APhoneDrivesTheLocoWindowsLocoAndBothSeeIt)
{
    startWithPhones();
    Form2a& form = *app->form2a();
    form.mnuUnitA[0]->trigger(); // D1 = 1234 in the loco window
    auto p = phone("Phone A");
    EXPECT_TRUE(p->heardLine(QStringLiteral("RL2]\\[D1}|{1234}|{L]\\[E27}|{3}|{S")));
    EXPECT_TRUE(p->heardLine(QStringLiteral("PPA1")));

    p->say("M0+L1234<;>L1234\n");
    ASSERT_TRUE(p->hears(QStringLiteral("M0AL1234<;>s2")));
    EXPECT_TRUE(p->heardLine(QStringLiteral("M0LL1234<;>]\\[lights]\\[bell]\\[horn]\\[coupler")));
    p->say("M0AL1234<;>V63\n"); // step 14, forward
    ASSERT_TRUE(boxGets(1));
    const auto driven = framesSince();
    EXPECT_EQ(driven.front(), (Frame{0xE4, 0x12, 0xC4, 0xD2, 0x98, 0x78}));
    // The loco window raises the button nearest step 14 (button 9: step 15).
    ASSERT_TRUE(talkUntil([&] { return form.locoButtonHeight(9) == 800; }));
    EXPECT_EQ(form.locoButtonHeight(0), 500);
    EXPECT_TRUE(app->dcc().Log.text().contains("-> E4 12 C4 D2 98 78  loco 1234: speed code 8 + half step = step 14 of 28, "
                                               "forward  (phone \"Phone A\")"))
        << "the monitor names the phone: " << app->dcc().Log.text().toStdString();

    // The window's STOP reaches the phone; F0 latches as function.txt says.
    form.cmdLoco_MouseDown(0, 2);
    ASSERT_TRUE(p->hears(QStringLiteral("M0AL1234<;>V0")));
    p->say("M0AL1234<;>F10\nM0AL1234<;>F00\n");
    ASSERT_TRUE(p->hears(QStringLiteral("M0AL1234<;>F10")));
    EXPECT_TRUE(talkUntil([&] { return form.chkFunc[0]->isChecked(); })) << "the window's F0 box shows it";

    // Its own emergency stop, then the panel's Escape stops phone locos too.
    p->say("M0AL1234<;>X\n");
    ASSERT_TRUE(boxGets(4));
    const auto last = box.frames().back();
    EXPECT_EQ(last, (Frame{0x92, 0xC4, 0xD2, 0x84}));
}

TEST_F(PhonePath, EscapeStopsPhoneLocosAndALostPhoneLeavesNothingRunning)
{
    startWithPhones();
    auto a = phone("Phone A");
    auto b = phone("Phone B");
    a->say("M0+S3<;>S3\nM0AS3<;>V126\n");
    b->say("M0+L1234<;>L1234\nM0AL1234<;>V126\n");
    ASSERT_TRUE(b->hears(QStringLiteral("M0+L1234<;>")));
    ASSERT_TRUE(boxGets(2));
    app->escapePressed();
    ASSERT_TRUE(a->hears(QStringLiteral("M0AS3<;>V0")));
    ASSERT_TRUE(b->hears(QStringLiteral("M0AL1234<;>V0")));
    // 80 80, then speed 0 to each loco the phones drive, so that "resume"
    // on a command station that keeps the last speeds does not start them.
    ASSERT_TRUE(boxGets(5));
    const auto stopped = framesSince();
    EXPECT_EQ(stopped[2], (Frame{0x80, 0x80}));
    EXPECT_EQ(std::vector<Frame>(stopped.begin() + 3, stopped.begin() + 5),
              (std::vector<Frame>{{0xE4, 0x12, 0x00, 0x03, 0x80, 0x75}, {0xE4, 0x12, 0xC4, 0xD2, 0x80, 0x60}}));

    // Points: as the button does, and every phone hears the new state.
    a->say("PTATLT5\n");
    ASSERT_TRUE(b->hears(QStringLiteral("PTA4LT5")));
    ASSERT_TRUE(talkUntil([&] {
        const auto frames = framesSince();
        return std::count(frames.begin(), frames.end(), Frame{0x52, 0x02, 0x8B, 0xDB}) == 1
            && std::count(frames.begin(), frames.end(), Frame{0x52, 0x02, 0x83, 0xD3}) == 1;
    })) << "activate, then deactivate, of button 5's right-click output, as the button sends them";

    // Phone B's connection drops: 1234 is stopped on its own; 3 is A's.
    sentBefore = box.frames().size();
    b->socket.abort();
    ASSERT_TRUE(boxGets(1));
    const auto dropped = framesSince();
    EXPECT_EQ(dropped.front(), (Frame{0x92, 0xC4, 0xD2, 0x84}));
}

} // namespace
