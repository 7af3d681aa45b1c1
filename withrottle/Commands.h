#pragma once

#include <QString>

// One line from a phone, taken apart. Pure: no sockets, no state; the
// session decides what each command does.
namespace withrottle {

// What a multi-throttle action line (`M<t>A<key><;><action>`) asks.
struct Action {
    enum class Kind {
        Unknown,
        Speed,          // value 0..126
        Direction,      // value 0 reverse, 1 forward
        FunctionPress,  // value = function number (F1n)
        FunctionRelease,// F0n
        ForceOn,        // f1n
        ForceOff,       // f0n
        EmergencyStop,  // X
        Idle,           // I: speed 0
        QuerySpeed,     // qV
        QueryDirection, // qR
        QueryStepMode,  // qs
        QueryMomentary, // qm
        StepMode,       // s<mode>
    };
    Kind kind = Kind::Unknown;
    int value = 0;
    friend bool operator==(const Action&, const Action&) = default;
};

struct Command {
    enum class Kind {
        Ignored,        // empty, unknown or malformed: nothing is done
        Name,           // N<name>: text
        DeviceId,       // HU<id>: text
        HeartbeatStart, // *+
        HeartbeatStop,  // *-
        Heartbeat,      // *
        Quit,           // Q
        Power,          // PPA0 / PPA1: value
        Turnout,        // PTA<C|T|2><name>: turnoutAction, text = the system name, value = its number
        Acquire,        // M<t>+<key><;><key or E name>: key, text = what follows <;>
        Steal,          // M<t>S<key><;><key>
        Release,        // M<t>-<key|*><;>r or d
        ThrottleAction, // M<t>A<key|*><;><action>
    };
    Kind kind = Kind::Ignored;
    QChar throttle;     // M commands: the throttle letter
    QString key;        // M commands: "S3", "L1012" or "*"
    QString text;
    int value = 0;
    QChar turnoutAction; // 'C' closed, 'T' thrown, '2' toggle
    Action action;
};

// Longest line a phone may send, in bytes, line end excluded.
constexpr int MaxLineBytes = 1024;

Command parseLine(const QString& line);
Action parseAction(QStringView text);

} // namespace withrottle
