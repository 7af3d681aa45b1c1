#pragma once

#include <QString>

#include <optional>

// Which kind of DCC interface the program talks to, and how.
//
// serial: an RS-232 interface (LI101F and the like) on a serial port, bare
//         frames, 9600..115200 baud, no handshake or RTS/CTS.
// usb:    an LI-USB on its virtual serial port, 57600 baud; every frame goes
//         out after FF FE, answers come after FF FE, broadcasts after FF FD.
// lan:    TCP to host:port with the LI-USB prefixes (LI-USB-Ethernet, 5550).
// xntcp:  TCP to host:port with bare frames (XnTcp, 61235).
struct InterfaceSettings {
    enum class Kind { Serial, Usb, Lan, XnTcp };

    static constexpr int DefaultSpeed = 19200;
    static constexpr int UsbSpeed = 57600;
    static constexpr int LanPort = 5550;
    static constexpr int XnTcpPort = 61235;
    static constexpr int Speeds[] = {9600, 19200, 38400, 57600, 115200};

    Kind kind = Kind::Serial;
    int speed = DefaultSpeed;
    bool rtsCts = false;
    QString host;
    int tcpPort = 0;

    bool network() const { return kind == Kind::Lan || kind == Kind::XnTcp; }
    // Frames travel after FF FE / FF FD.
    bool prefixed() const { return kind == Kind::Usb || kind == Kind::Lan; }
    static bool validSpeed(int speed);

    friend bool operator==(const InterfaceSettings&, const InterfaceSettings&) = default;
};

// "serial", "usb", "lan", "xntcp", as interface.txt spells them.
QString kindName(InterfaceSettings::Kind kind);
std::optional<InterfaceSettings::Kind> kindFromName(const QString& name);
// For people: "serial interface", "USB interface (LI-USB)", ...
QString kindTitle(InterfaceSettings::Kind kind);
// A whole setting for each kind: the usual speed and TCP port filled in.
InterfaceSettings defaultsFor(InterfaceSettings::Kind kind);
