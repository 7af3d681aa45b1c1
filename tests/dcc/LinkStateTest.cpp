// The words the status line and the loco window show for what the box said.
#include "LinkState.h"
#include "QtPrint.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkWords, TheStatusTailNamesEveryStateInItsPlace)
{
    const QString frames = QStringLiteral(" 228  18  0  3  28  233");
    const auto state = [](auto change) {
        LinkState s;
        change(s);
        return s;
    };
    const struct {
        LinkState state;
        bool showFrames;
        const char* tail;
    } rows[] = {
        {LinkState{}, false, "  modem ON"},
        {LinkState{}, true, "  modem ON  228  18  0  3  28  233"},
        {state([](LinkState& s) { s.boxSilent = true; }), true, "  DCC box not answering"},
        {state([](LinkState& s) { s.stationSilent = true; }), false, "  modem ON  command station not answering"},
        {state([](LinkState& s) { s.track = LinkState::Track::PowerOff; }), false, "  modem ON  TRACK POWER OFF"},
        {state([](LinkState& s) { s.track = LinkState::Track::EmergencyStop; }), true,
         "  modem ON  228  18  0  3  28  233  EMERGENCY STOP"},
        {state([](LinkState& s) { s.track = LinkState::Track::ServiceMode; }), false, "  modem ON  SERVICE MODE"},
        {state([](LinkState& s) { s.notPassedOn = true; }), false, "  modem ON  last command not passed on"},
        {state([](LinkState& s) {
             s.stationSilent = true;
             s.notPassedOn = true;
         }),
         false, "  modem ON  command station not answering  last command not passed on"},
        // A take-over is the loco window's business, not the status line's.
        {state([](LinkState& s) { s.takenOver = 3; }), false, "  modem ON"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(link_words::statusTail(row.state, row.showFrames ? &frames : nullptr), QString::fromLatin1(row.tail));
}

TEST(LinkWords, TheLocoBannerShowsTrackStatesAndATakeOverOfThisEngineOnly)
{
    LinkState s;
    EXPECT_EQ(link_words::locoBanner(s, 3), QString());
    s.takenOver = 1234;
    EXPECT_EQ(link_words::locoBanner(s, 3), QString());
    EXPECT_EQ(link_words::locoBanner(s, 1234), QStringLiteral("taken over by another throttle"));
    s.track = LinkState::Track::EmergencyStop;
    EXPECT_EQ(link_words::locoBanner(s, 1234), QStringLiteral("EMERGENCY STOP\ntaken over by another throttle"));
    s.takenOver = 0;
    EXPECT_EQ(link_words::locoBanner(s, 0), QStringLiteral("EMERGENCY STOP"));
}

} // namespace
