#pragma once

#include <functional>

class QObject;

// Ctrl+C and the system's requests to stop (SIGINT, SIGTERM, SIGHUP when the
// terminal closes, SIGQUIT from Ctrl+\, or the console's close events on
// Windows) end the run the ordinary way: `onStop` runs in the event loop, so
// the program can save its places and clear its outputs on the way out.
// One implementation file per operating system.
void onStopSignals(QObject* owner, std::function<void()> onStop);

// Runs its action when the process ends through exit() while it lives - as
// Qt ends it when the display connection breaks - where no event loop and no
// destructor of main's objects runs any more. One hook at a time: a newer one
// takes over.
class ExitHook {
public:
    explicit ExitHook(std::function<void()> action);
    ~ExitHook();
    ExitHook(const ExitHook&) = delete;
    ExitHook& operator=(const ExitHook&) = delete;

private:
    std::function<void()> action_;
};
