#include "Commands.h"

namespace withrottle {

namespace {

const QString Separator = QStringLiteral("<;>");

// A whole decimal number of at most `digits` digits; -1 when it is not one.
int numberOf(QStringView text, int digits = 5)
{
    if (text.isEmpty() || text.size() > digits)
        return -1;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

Action functionAction(QStringView text, Action::Kind on, Action::Kind off)
{
    // "F112": state digit, then the function number.
    if (text.size() < 3 || (text[1] != u'0' && text[1] != u'1'))
        return {};
    const int function = numberOf(text.mid(2), 2);
    if (function < 0 || function > 28)
        return {};
    return {text[1] == u'1' ? on : off, function};
}

Command turnoutCommand(QStringView rest)
{
    // rest follows "PTA": the action letter, then the turnout's system name "LT<n>".
    if (rest.size() < 4 || (rest[0] != u'C' && rest[0] != u'T' && rest[0] != u'2') || !rest.mid(1).startsWith(u"LT"))
        return {};
    const int number = numberOf(rest.mid(3), 4);
    if (number < 0)
        return {};
    Command command;
    command.kind = Command::Kind::Turnout;
    command.turnoutAction = rest[0];
    command.text = rest.mid(1).toString();
    command.value = number;
    return command;
}

Command multiThrottleCommand(QStringView line)
{
    // M<t><op><key><;><rest>
    const qsizetype separator = line.indexOf(Separator);
    if (line.size() < 4 || separator < 3)
        return {};
    Command command;
    command.throttle = line[1];
    command.key = line.mid(3, separator - 3).toString();
    const QStringView rest = line.mid(separator + Separator.size());
    command.text = rest.toString();
    if (command.key.isEmpty())
        return {};
    switch (line[2].unicode()) {
    case u'+':
        command.kind = Command::Kind::Acquire;
        break;
    case u'S':
        command.kind = Command::Kind::Steal;
        break;
    case u'-':
        command.kind = Command::Kind::Release;
        break;
    case u'A':
        command.kind = Command::Kind::ThrottleAction;
        command.action = parseAction(rest);
        if (command.action.kind == Action::Kind::Unknown)
            return {};
        break;
    default:
        return {};
    }
    return command;
}

} // namespace

Action parseAction(QStringView text)
{
    if (text.isEmpty())
        return {};
    switch (text[0].unicode()) {
    case u'V': {
        const int speed = numberOf(text.mid(1), 3);
        if (speed >= 0 && speed <= 126)
            return {Action::Kind::Speed, speed};
        // Some throttles send -1 for an emergency stop.
        if (text.mid(1) == u"-1")
            return {Action::Kind::EmergencyStop, 0};
        return {};
    }
    case u'R': {
        const int direction = numberOf(text.mid(1), 1);
        if (direction < 0)
            return {};
        return {Action::Kind::Direction, direction == 0 ? 0 : 1};
    }
    case u'F':
        return functionAction(text, Action::Kind::FunctionPress, Action::Kind::FunctionRelease);
    case u'f':
        return functionAction(text, Action::Kind::ForceOn, Action::Kind::ForceOff);
    case u'X':
        return text.size() == 1 ? Action{Action::Kind::EmergencyStop, 0} : Action{};
    case u'I':
        return text.size() == 1 ? Action{Action::Kind::Idle, 0} : Action{};
    case u'q':
        if (text == u"qV")
            return {Action::Kind::QuerySpeed, 0};
        if (text == u"qR")
            return {Action::Kind::QueryDirection, 0};
        if (text == u"qs")
            return {Action::Kind::QueryStepMode, 0};
        if (text == u"qm")
            return {Action::Kind::QueryMomentary, 0};
        return {};
    case u's': {
        const int mode = numberOf(text.mid(1), 2);
        return mode < 0 ? Action{} : Action{Action::Kind::StepMode, mode};
    }
    default:
        return {};
    }
}

Command parseLine(const QString& line)
{
    Command command;
    if (line.isEmpty())
        return command;
    const QStringView view(line);
    switch (view[0].unicode()) {
    case u'N':
        command.kind = Command::Kind::Name;
        command.text = line.mid(1);
        return command;
    case u'H':
        if (view.startsWith(u"HU") && view.size() > 2) {
            command.kind = Command::Kind::DeviceId;
            command.text = line.mid(2);
        }
        return command;
    case u'*':
        command.kind = view == u"*+" ? Command::Kind::HeartbeatStart
            : view == u"*-"          ? Command::Kind::HeartbeatStop
                                     : Command::Kind::Heartbeat;
        return command;
    case u'Q':
        if (view.size() == 1)
            command.kind = Command::Kind::Quit;
        return command;
    case u'P':
        if (view == u"PPA0" || view == u"PPA1") {
            command.kind = Command::Kind::Power;
            command.value = view[3] == u'1' ? 1 : 0;
            return command;
        }
        if (view.startsWith(u"PTA"))
            return turnoutCommand(view.mid(3));
        return command;
    case u'M':
        return multiThrottleCommand(view);
    default:
        return command;
    }
}

} // namespace withrottle
