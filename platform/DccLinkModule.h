#pragma once

#include "DccLink.h"

// The DCC link module: a plugin library holding the link through Qt Serial
// Port and Qt Network (QtDccLink), so that the program itself links neither
// and a run without a DCC box ("DC") never loads them (see LoadedDccLink).
// Its one export, named CreateDccLinkSymbol, makes a new link mapping port
// numbers as the environment says (PortMap::fromEnvironment). The caller owns
// the link, deletes it through DccLink's virtual destructor, and keeps the
// module loaded while the link lives.
using CreateDccLink = DccLink* (*)();
inline constexpr char CreateDccLinkSymbol[] = "varnolix_create_dcc_link";
