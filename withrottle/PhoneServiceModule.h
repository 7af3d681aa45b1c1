#pragma once

#include "PhoneService.h"

class Clock;

namespace withrottle {
class PhoneLayout;
class PhoneService;
}

// The phone module: a plugin library holding the server's sockets (Qt
// Network) and its publication through Avahi (Qt D-Bus). Its one export,
// named CreatePhoneServiceSymbol, makes a service on the layout given; the
// caller owns it, deletes it through PhoneService's virtual destructor and
// keeps the module loaded while it lives.
using CreatePhoneService = withrottle::PhoneService* (*)(withrottle::PhoneLayout& layout, Clock& clock);
inline constexpr char CreatePhoneServiceSymbol[] = "varnolix_create_phone_service";
