#include "StopSignals.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <windows.h>

namespace {

// The console handler runs on a thread of its own and has no context
// argument, so what it reaches lives at file scope.
QPointer<QObject> stopOwner;
std::function<void()> stopAction;

BOOL WINAPI onConsoleEvent(DWORD)
{
    if (!stopOwner)
        return FALSE;
    QMetaObject::invokeMethod(stopOwner, [] { stopAction(); }, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

void onStopSignals(QObject* owner, std::function<void()> onStop)
{
    stopOwner = owner;
    stopAction = std::move(onStop);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}
