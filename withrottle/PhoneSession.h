#pragma once

#include "Commands.h"
#include "FloodGuards.h"
#include "Keys.h"
#include "LineSplitter.h"
#include "PhoneLayout.h"
#include "ServerSettings.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class Clock;
class ClockTimer;

namespace withrottle {

// One phone's conversation, without the socket: lines in, lines out, and
// the commands it gives the layout. The server owns one per connection.
class PhoneSession {
public:
    static constexpr int HeartbeatSeconds = 10;
    static constexpr int MaxLocosPerThrottle = 4;
    static constexpr int AccessoryCount = 99;
    // More lines than this within LineWindowSeconds end the session.
    static constexpr int MaxLines = 400;
    static constexpr double LineWindowSeconds = 2.0;

    struct Hooks {
        std::function<void(const QByteArray& line)> send;
        // The session must end; `why` has been sent to the phone.
        std::function<void(const QString& why)> close;
        // Another session holds the loco too.
        std::function<bool(int address)> heldByOther;
        // The phone named its device id (HU): an older session with it goes.
        std::function<void(const QString& deviceId)> identified;
    };

    PhoneSession(int id, PhoneLayout& layout, Clock& clock, const ServerSettings& settings, Hooks hooks);
    ~PhoneSession();
    PhoneSession(const PhoneSession&) = delete;
    PhoneSession& operator=(const PhoneSession&) = delete;

    // What every phone hears first.
    void greet();
    // Bytes from the phone, in whatever pieces the network cut them.
    void received(const QByteArray& bytes);
    void line(const QString& text);
    // The connection ended without Q: its locos stop unless another throttle holds them.
    void connectionLost();

    // Changes made by anyone, passed on when this phone holds what changed.
    void locoChanged(const LocoEvent& event);
    void powerChanged(int state);
    void accessoryChanged(int number, int state);

    int id() const { return id_; }
    QString name() const { return name_; }
    QString deviceId() const { return deviceId_; }
    bool holds(int address) const;
    // Every loco it holds, in key form ("S3", "L1012").
    QStringList heldKeys() const;

private:
    struct Held {
        LocoKey key;
        int address = 0;
    };
    using Throttle = std::vector<Held>;

    void acquire(const Command& command);
    void release(const Command& command);
    void act(const Command& command);
    void actOn(QChar letter, const Held& loco, const Action& action);
    void turnout(const Command& command);
    void setPower(int on);
    void pressFunction(const Held& loco, int function, bool pressed);
    void report(const QString& refusal);
    void heartbeatMissed();
    void stopUnheld();
    // Ends the session: `why` empty for the phone's own Q (its locos run
    // on), otherwise told to the phone, whose locos then stop.
    void end(const QString& why);
    // The locos of throttle `letter` that `key` names ("*" for all).
    std::vector<Held> selected(QChar letter, const QString& key) const;

    int id_;
    PhoneLayout& layout_;
    Clock& clock_;
    const ServerSettings& settings_;
    Hooks hooks_;
    std::map<QChar, Throttle> throttles_;
    LineSplitter splitter_{MaxLineBytes};
    LineRate rate_{MaxLines, LineWindowSeconds};
    QString name_;
    QString deviceId_;
    bool monitored_ = false;
    bool stoppedForSilence_ = false;
    bool ended_ = false;
    std::unique_ptr<ClockTimer> heartbeat_;
};

} // namespace withrottle
