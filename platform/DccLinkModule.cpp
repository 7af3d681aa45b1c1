// The export of the DCC link module (see DccLinkModule.h).
#include "DccLinkModule.h"
#include "QtDccLink.h"

#include <QtGlobal>

#include <type_traits>

extern "C" Q_DECL_EXPORT DccLink* varnolix_create_dcc_link()
{
    return new QtDccLink(PortMap::fromEnvironment());
}

static_assert(std::is_same_v<decltype(&varnolix_create_dcc_link), CreateDccLink>);
