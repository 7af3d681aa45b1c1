#pragma once

#include "DccLink.h"

#include <QCoreApplication>

#include <functional>

// Lets a real link hear whatever the box sends until `done`, for at most
// about 5 s; true when it came to that.
inline bool hearUntil(DccLink& link, const std::function<bool()>& done)
{
    for (int i = 0; i < 100 && !done(); ++i) {
        link.waitForReceived(50);
        QCoreApplication::processEvents();
    }
    return done();
}
