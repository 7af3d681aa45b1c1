#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// The lines the server sends, each ended with LF, UTF-8. Pure functions, so
// every byte a phone sees is checked in a table test.
namespace withrottle {

struct RosterEntry {
    QString name;
    int address = 0; // 1..9999
};

struct TurnoutEntry {
    int number = 0;  // DCC accessory button 1..99
    int state = 1;   // 1 unknown, 2 closed, 4 thrown
};

// A name with the protocol's separators and line ends taken out, so it
// cannot break the framing of the line it is sent in.
QString sanitized(const QString& name);

QByteArray versionLine();                           // VN2.0
QByteArray rosterLine(const QList<RosterEntry>& roster); // RL<n>]\[name}|{addr}|{S|L...
QByteArray powerLine(int state);                    // PPA0 / PPA1 / PPA2
QByteArray turnoutTitlesLine();                     // PTT]\[Turnouts}|{Turnout]\[Closed}|{2]\[Thrown}|{4
QByteArray turnoutListLine(const QList<TurnoutEntry>& turnouts); // PTL]\[LT1}|{1}|{1...
QByteArray turnoutStateLine(const TurnoutEntry& turnout);        // PTA2LT5 / PTA4LT5
QByteArray heartbeatLine(int seconds);              // *10
QByteArray alertLine(const QString& text);          // HM<text>

// Multi-throttle replies for throttle letter t and loco key ("S3", "L1012").
QByteArray acquiredLine(QChar throttle, const QString& key);   // M<t>+<key><;>
QByteArray releasedLine(QChar throttle, const QString& key);   // M<t>-<key><;>
QByteArray labelsLine(QChar throttle, const QString& key, const QList<QString>& captions); // M<t>L<key><;>]\[..
QByteArray functionLine(QChar throttle, const QString& key, int function, bool on); // M<t>A<key><;>F<s><n>
QByteArray speedLine(QChar throttle, const QString& key, int speed);      // ...V<speed>
QByteArray directionLine(QChar throttle, const QString& key, bool forward); // ...R1 / R0
QByteArray stepModeLine(QChar throttle, const QString& key);              // ...s2 (28 steps)
QByteArray momentaryLine(QChar throttle, const QString& key, int function, bool momentary); // ...m<1|0><n>

} // namespace withrottle
