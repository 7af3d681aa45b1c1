#pragma once

#include <QString>

// What the DCC box and the command station have said, as the windows show
// it. The DCC module keeps it; the status line and the loco window read it.
struct LinkState {
    enum class Track { Normal, PowerOff, EmergencyStop, ServiceMode };

    // Two command frames in a row went unanswered; ends with the next frame
    // the box sends.
    bool boxSilent = false;
    // The interface lost its time slot on the bus (01 05 04).
    bool stationSilent = false;
    // A frame was refused twice by the interface, the retry included.
    bool notPassedOn = false;
    // The last broadcast about the track.
    Track track = Track::Normal;
    // The loco another throttle took over (E3 40), 0 for none; cleared by
    // the next loco command from this panel.
    unsigned takenOver = 0;
    // Who answered, in words: "interface 0.1 / 3.6, command station LZV100 3.6".
    QString identity;
    // A stop or an accessory's deactivate is kept while the link is down and
    // has not reached the box yet.
    bool stopNotSent = false;
    // Why the last command was refused while the link was down ("DCC box
    // lost"); empty once it is back.
    QString notSent;

    friend bool operator==(const LinkState&, const LinkState&) = default;
};

namespace link_words {

// "TRACK POWER OFF", "EMERGENCY STOP", "SERVICE MODE"; empty in normal operation.
QString track(LinkState::Track track);

// The end of the status line for an open link: the modem word ("modem ON",
// or "DCC box not answering" in its place), the bytes of the last frame when
// asked for, then each further state after two blanks.
QString statusTail(const LinkState& state, const QString* frameText);

// "  STOP NOT SENT", "  not sent: DCC box lost": what the link, while down,
// has kept or refused; follows the modem word whether it is ON or OFF.
QString heldTail(const LinkState& state);

// The loco window's red banner for its train engine; empty when all is well.
QString locoBanner(const LinkState& state, unsigned engine);

} // namespace link_words
