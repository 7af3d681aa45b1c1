#include "InterfaceSettings.h"

#include <algorithm>
#include <iterator>

namespace {

struct KindNames {
    InterfaceSettings::Kind kind;
    const char* name;
    const char* title;
};

constexpr KindNames Names[] = {
    {InterfaceSettings::Kind::Serial, "serial", "serial interface"},
    {InterfaceSettings::Kind::Usb, "usb", "USB interface (LI-USB)"},
    {InterfaceSettings::Kind::Lan, "lan", "network interface (LI-USB-Ethernet, FF FE framing)"},
    {InterfaceSettings::Kind::XnTcp, "xntcp", "network interface (XnTcp, bare frames)"},
};

const KindNames& namesOf(InterfaceSettings::Kind kind)
{
    return *std::find_if(std::begin(Names), std::end(Names), [kind](const KindNames& n) { return n.kind == kind; });
}

} // namespace

bool InterfaceSettings::validSpeed(int speed)
{
    return std::find(std::begin(Speeds), std::end(Speeds), speed) != std::end(Speeds);
}

QString kindName(InterfaceSettings::Kind kind)
{
    return QString::fromLatin1(namesOf(kind).name);
}

QString kindTitle(InterfaceSettings::Kind kind)
{
    return QString::fromLatin1(namesOf(kind).title);
}

std::optional<InterfaceSettings::Kind> kindFromName(const QString& name)
{
    for (const KindNames& n : Names) {
        if (name == QLatin1String(n.name))
            return n.kind;
    }
    return std::nullopt;
}

InterfaceSettings defaultsFor(InterfaceSettings::Kind kind)
{
    InterfaceSettings settings;
    settings.kind = kind;
    switch (kind) {
    case InterfaceSettings::Kind::Serial:
        break;
    case InterfaceSettings::Kind::Usb:
        settings.speed = InterfaceSettings::UsbSpeed;
        break;
    case InterfaceSettings::Kind::Lan:
        settings.speed = 0;
        settings.tcpPort = InterfaceSettings::LanPort;
        break;
    case InterfaceSettings::Kind::XnTcp:
        settings.speed = 0;
        settings.tcpPort = InterfaceSettings::XnTcpPort;
        break;
    }
    return settings;
}
