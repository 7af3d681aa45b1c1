#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// Tells the network that the phone server is there, so a phone's list of
// servers shows it without anyone typing an address.
class ServiceAdvertiser {
public:
    enum class State {
        Off,         // nothing published
        Publishing,  // asked, no answer yet
        Published,   // phones can find the server under name()
        Unavailable, // nobody to publish through: phones type the address
    };

    virtual ~ServiceAdvertiser() = default;
    // Publishes `_withrottle._tcp` under `name` on `port`; a name already
    // taken on the network is changed by the publisher ("Layout #2").
    virtual void publish(const QString& name, std::uint16_t port) = 0;
    virtual void withdraw() = 0;

    State state() const { return state_; }
    // The name phones see, once published.
    QString name() const { return name_; }
    // For the dialog: why the service is not published, in words.
    QString problem() const { return problem_; }
    std::function<void()> changed;

protected:
    void setState(State state, const QString& name = {}, const QString& problem = {})
    {
        state_ = state;
        name_ = name;
        problem_ = problem;
        if (changed)
            changed();
    }

private:
    State state_ = State::Off;
    QString name_;
    QString problem_;
};
