#include "PhoneSession.h"

#include "Clock.h"
#include "Replies.h"
#include "SpeedSteps.h"

#include <algorithm>

namespace withrottle {

PhoneSession::PhoneSession(int id, PhoneLayout& layout, Clock& clock, const ServerSettings& settings, Hooks hooks)
    : id_(id)
    , layout_(layout)
    , clock_(clock)
    , settings_(settings)
    , hooks_(std::move(hooks))
    , heartbeat_(clock.createTimer([this] { heartbeatMissed(); }))
{
}

PhoneSession::~PhoneSession() = default;

void PhoneSession::greet()
{
    hooks_.send(versionLine());
    hooks_.send(rosterLine(layout_.roster()));
    hooks_.send(powerLine(layout_.power()));
    if (!settings_.allowAccessories)
        return;
    hooks_.send(turnoutTitlesLine());
    QList<TurnoutEntry> turnouts;
    for (int number = 1; number <= AccessoryCount; ++number)
        turnouts.append({number, layout_.accessoryState(number)});
    hooks_.send(turnoutListLine(turnouts));
}

void PhoneSession::received(const QByteArray& bytes)
{
    for (const QString& text : splitter_.feed(bytes)) {
        if (ended_)
            return;
        if (!rate_.take(clock_.seconds())) {
            end(QStringLiteral("More than %1 lines in %2 s: this phone was disconnected.")
                    .arg(MaxLines)
                    .arg(LineWindowSeconds));
            return;
        }
        line(text);
    }
    if (splitter_.overLong() && !ended_)
        end(QStringLiteral("A line longer than %1 bytes: this phone was disconnected.").arg(MaxLineBytes));
}

void PhoneSession::line(const QString& text)
{
    if (ended_)
        return;
    // Any line at all is a sign of life.
    stoppedForSilence_ = false;
    if (monitored_)
        heartbeat_->start(HeartbeatSeconds * 1000);
    const Command command = parseLine(text);
    switch (command.kind) {
    case Command::Kind::Ignored:
    case Command::Kind::Heartbeat:
        break;
    case Command::Kind::Name:
        name_ = sanitized(command.text).left(64);
        hooks_.send(heartbeatLine(HeartbeatSeconds));
        break;
    case Command::Kind::DeviceId:
        deviceId_ = sanitized(command.text).left(64);
        if (hooks_.identified)
            hooks_.identified(deviceId_);
        break;
    case Command::Kind::HeartbeatStart:
        monitored_ = true;
        heartbeat_->start(HeartbeatSeconds * 1000);
        break;
    case Command::Kind::HeartbeatStop:
        monitored_ = false;
        heartbeat_->stop();
        break;
    case Command::Kind::Quit:
        // Released, not stopped: the loco runs on as a released one does.
        end({});
        break;
    case Command::Kind::Power:
        setPower(command.value);
        break;
    case Command::Kind::Turnout:
        turnout(command);
        break;
    case Command::Kind::Acquire:
    case Command::Kind::Steal:
        acquire(command);
        break;
    case Command::Kind::Release:
        release(command);
        break;
    case Command::Kind::ThrottleAction:
        act(command);
        break;
    }
}

void PhoneSession::connectionLost()
{
    if (ended_)
        return;
    ended_ = true;
    heartbeat_->stop();
    stopUnheld();
    throttles_.clear();
}

void PhoneSession::stopUnheld()
{
    // Nobody drives these any more unless another throttle has them.
    for (const auto& [letter, throttle] : throttles_)
        for (const Held& loco : throttle)
            if (!(hooks_.heldByOther && hooks_.heldByOther(loco.address)) && !layout_.heldByPanel(loco.address))
                layout_.emergencyStop(id_, loco.address);
}

bool PhoneSession::holds(int address) const
{
    for (const auto& [letter, throttle] : throttles_)
        for (const Held& loco : throttle)
            if (loco.address == address)
                return true;
    return false;
}

QStringList PhoneSession::heldKeys() const
{
    QStringList keys;
    for (const auto& [letter, throttle] : throttles_)
        for (const Held& loco : throttle)
            if (!keys.contains(keyText(loco.key)))
                keys << keyText(loco.key);
    return keys;
}

void PhoneSession::acquire(const Command& command)
{
    const auto key = parseKey(command.key);
    if (!key) {
        hooks_.send(alertLine(QStringLiteral("%1 is not a loco address.").arg(command.key)));
        return;
    }
    const KeyCheck check = checkKey(*key);
    if (!check.refusal.isEmpty()) {
        hooks_.send(alertLine(check.refusal));
        return;
    }
    Throttle& throttle = throttles_[command.throttle];
    const bool held = std::any_of(throttle.begin(), throttle.end(), [&](const Held& h) { return h.key == *key; });
    if (!held) {
        if (static_cast<int>(throttle.size()) >= MaxLocosPerThrottle) {
            end(QStringLiteral("More than %1 locos on throttle %2: this phone was disconnected.")
                    .arg(MaxLocosPerThrottle)
                    .arg(command.throttle));
            return;
        }
        throttle.push_back({*key, check.address});
    }
    const QString text = keyText(*key);
    const QChar t = command.throttle;
    const PhoneLayout::Loco loco = layout_.loco(check.address);
    hooks_.send(acquiredLine(t, text));
    hooks_.send(labelsLine(t, text, layout_.functionCaptions()));
    for (int function = 0; function < PhoneLayout::FunctionCount; ++function)
        hooks_.send(functionLine(t, text, function, (loco.functions >> function) & 1));
    hooks_.send(speedLine(t, text, speedOfStep(loco.step)));
    hooks_.send(directionLine(t, text, loco.forward));
    hooks_.send(stepModeLine(t, text));
}

void PhoneSession::release(const Command& command)
{
    auto found = throttles_.find(command.throttle);
    if (found == throttles_.end())
        return;
    Throttle& throttle = found->second;
    for (auto it = throttle.begin(); it != throttle.end();) {
        if (command.key == QStringLiteral("*") || keyText(it->key) == command.key) {
            hooks_.send(releasedLine(command.throttle, keyText(it->key)));
            it = throttle.erase(it);
        } else {
            ++it;
        }
    }
}

std::vector<PhoneSession::Held> PhoneSession::selected(QChar letter, const QString& key) const
{
    std::vector<Held> out;
    const auto found = throttles_.find(letter);
    if (found == throttles_.end())
        return out;
    for (const Held& loco : found->second)
        if (key == QStringLiteral("*") || keyText(loco.key) == key)
            out.push_back(loco);
    return out;
}

void PhoneSession::act(const Command& command)
{
    for (const Held& loco : selected(command.throttle, command.key))
        actOn(command.throttle, loco, command.action);
}

void PhoneSession::actOn(QChar letter, const Held& loco, const Action& action)
{
    const QString key = keyText(loco.key);
    const PhoneLayout::Loco state = layout_.loco(loco.address);
    switch (action.kind) {
    case Action::Kind::Unknown:
        break;
    case Action::Kind::Speed:
        report(layout_.drive(id_, loco.address, stepOfSpeed(action.value), state.forward));
        break;
    case Action::Kind::Idle:
        report(layout_.drive(id_, loco.address, 0, state.forward));
        break;
    case Action::Kind::Direction:
        // The speed is kept: a phone stops the loco itself before it reverses.
        if (state.forward != (action.value == 1))
            report(layout_.drive(id_, loco.address, state.step, action.value == 1));
        else
            hooks_.send(directionLine(letter, key, state.forward));
        break;
    case Action::Kind::FunctionPress:
    case Action::Kind::FunctionRelease:
        pressFunction(loco, action.value, action.kind == Action::Kind::FunctionPress);
        break;
    case Action::Kind::ForceOn:
    case Action::Kind::ForceOff:
        if (action.value < PhoneLayout::FunctionCount)
            report(layout_.function(id_, loco.address, action.value, action.kind == Action::Kind::ForceOn));
        break;
    case Action::Kind::EmergencyStop:
        report(layout_.emergencyStop(id_, loco.address));
        break;
    case Action::Kind::QuerySpeed:
        hooks_.send(speedLine(letter, key, speedOfStep(state.step)));
        break;
    case Action::Kind::QueryDirection:
        hooks_.send(directionLine(letter, key, state.forward));
        break;
    case Action::Kind::QueryStepMode:
    case Action::Kind::StepMode:
        // Varnolix drives 28 steps, whatever the phone would like.
        hooks_.send(stepModeLine(letter, key));
        break;
    case Action::Kind::QueryMomentary:
        for (int function = 0; function < PhoneLayout::FunctionCount; ++function)
            hooks_.send(momentaryLine(letter, key, function, !layout_.latching(function)));
        break;
    }
}

void PhoneSession::pressFunction(const Held& loco, int function, bool pressed)
{
    if (function >= PhoneLayout::FunctionCount)
        return;
    const bool on = (layout_.loco(loco.address).functions >> function) & 1;
    // The server decides, as the function boxes do: a latching function
    // toggles on the press, a momentary one is on while pressed.
    if (layout_.latching(function)) {
        if (pressed)
            report(layout_.function(id_, loco.address, function, !on));
    } else if (pressed != on) {
        report(layout_.function(id_, loco.address, function, pressed));
    }
}

void PhoneSession::turnout(const Command& command)
{
    if (!settings_.allowAccessories) {
        hooks_.send(alertLine(QStringLiteral("Points are not switched from phones on this layout.")));
        return;
    }
    if (command.value < 1 || command.value > AccessoryCount) {
        hooks_.send(alertLine(QStringLiteral("%1: there are DCC accessories LT1 to LT%2.").arg(command.text).arg(AccessoryCount)));
        return;
    }
    bool thrown = command.turnoutAction == u'T';
    // A toggle starts from the last known state, closed when unknown.
    if (command.turnoutAction == u'2')
        thrown = layout_.accessoryState(command.value) != 4;
    report(layout_.switchAccessory(command.value, thrown));
}

void PhoneSession::setPower(int on)
{
    if (!settings_.allowPower) {
        hooks_.send(alertLine(QStringLiteral("Track power is not switched from phones on this layout.")));
        return;
    }
    report(layout_.setPower(on == 1));
}

void PhoneSession::report(const QString& refusal)
{
    if (!refusal.isEmpty())
        hooks_.send(alertLine(refusal));
}

void PhoneSession::heartbeatMissed()
{
    if (ended_ || stoppedForSilence_)
        return;
    stoppedForSilence_ = true;
    for (const auto& [letter, throttle] : throttles_)
        for (const Held& loco : throttle)
            layout_.emergencyStop(id_, loco.address);
    hooks_.send(alertLine(QStringLiteral("Nothing heard from this phone for %1 s: its locos were stopped.")
                              .arg(HeartbeatSeconds)));
}

void PhoneSession::end(const QString& why)
{
    if (ended_)
        return;
    ended_ = true;
    heartbeat_->stop();
    // Sent away rather than quitting: its locos are left to nobody.
    if (!why.isEmpty())
        stopUnheld();
    throttles_.clear();
    if (!why.isEmpty())
        hooks_.send(alertLine(why));
    if (hooks_.close)
        hooks_.close(why);
}

void PhoneSession::locoChanged(const LocoEvent& event)
{
    if (ended_)
        return;
    const PhoneLayout::Loco state = layout_.loco(event.address);
    for (const auto& [letter, throttle] : throttles_)
        for (const Held& loco : throttle) {
            if (loco.address != event.address)
                continue;
            const QString key = keyText(loco.key);
            switch (event.change) {
            case LocoEvent::Change::Speed:
                // A phone's own speed is not echoed: its slider already shows it.
                if (event.origin != id_)
                    hooks_.send(speedLine(letter, key, speedOfStep(state.step)));
                break;
            case LocoEvent::Change::Direction:
                hooks_.send(directionLine(letter, key, state.forward));
                break;
            case LocoEvent::Change::Function:
                hooks_.send(functionLine(letter, key, event.function, (state.functions >> event.function) & 1));
                break;
            }
        }
}

void PhoneSession::powerChanged(int state)
{
    if (!ended_)
        hooks_.send(powerLine(state));
}

void PhoneSession::accessoryChanged(int number, int state)
{
    if (!ended_ && settings_.allowAccessories)
        hooks_.send(turnoutStateLine({number, state}));
}

} // namespace withrottle
