#pragma once

#include <QByteArray>

// A frame written as the monitor shows it, "E4120003897C".
inline QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}
