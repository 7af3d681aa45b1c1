#include "StopSignals.h"

#include <QObject>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The stop-signal pipe. A signal handler has no other way to reach the
// program, so this one value lives at file scope.
int stopSignalPipe[2] = {-1, -1};

void onStopSignal(int)
{
    // Only async-signal-safe work here: one byte wakes the event loop. The
    // interrupted code may be about to read errno, which a full pipe's
    // failed write would change.
    const int interruptedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopSignalPipe[1], &byte, 1);
    errno = interruptedErrno;
}

} // namespace

void onStopSignals(QObject* owner, std::function<void()> onStop)
{
    if (stopSignalPipe[0] < 0 && ::pipe2(stopSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(stopSignalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [onStop = std::move(onStop)] {
        char byte = 0;
        while (::read(stopSignalPipe[0], &byte, 1) > 0) {
        }
        onStop();
    });
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaction(signal, &action, nullptr);
}
