#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <vector>

// The one owner of the DCC link's life: which state it is in, and what a
// command does in each. Offline by choice (the user chose port 0) keeps
// every window working and sends nothing. Online sends. While the link is
// wanted but not there (connecting, the box not answering, the device lost)
// a stop (speed 0, emergency stop, power off) or an accessory's deactivate
// is kept, one per loco or output, and goes first when the box answers
// again; every other command is refused, with a word for the status line.
// No widgets, no link: the DCC module asks it and acts.
class LinkSession {
public:
    enum class State { OfflineByChoice, Connecting, Online, NotAnswering, Lost };
    enum class Verdict { Send, Kept, Refused };

    State state() const { return state_; }
    // True while the link is wanted but cannot carry commands.
    bool down() const { return state_ == State::Connecting || state_ == State::NotAnswering || state_ == State::Lost; }
    // The state changes; true when it did. Online again ends the refusal word;
    // offline by choice forgets what was kept (the user chose to send nothing).
    bool setState(State state);

    // What becomes of one command frame now. A kept frame replaces an
    // earlier kept one to the same target.
    Verdict admit(const QByteArray& frame);
    // The kept frames in the order they go, and forgets them: the emergency
    // stop, power off, accessory outputs off, then the locos' stops.
    QByteArrayList takeKept();
    // A command that is no frame of its own (a double header's several) is
    // refused as a whole; true, with the word, while the link is down.
    bool refuse();

    // A kept stop has not reached the box yet.
    bool stopNotSent() const { return !kept_.empty(); }
    // The last refusal while the link was down ("DCC box lost"); empty when
    // none since the link was last online.
    const QString& notSent() const { return notSent_; }

private:
    struct Kept {
        int rank = 0;
        std::uint32_t target = 0;
        QByteArray frame;
    };

    State state_ = State::OfflineByChoice;
    std::vector<Kept> kept_;
    QString notSent_;
};
