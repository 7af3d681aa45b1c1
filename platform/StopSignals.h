#pragma once

#include <functional>

class QObject;

// Ctrl+C and the system's request to stop (SIGINT/SIGTERM, or the console's
// close events on Windows) end the run the ordinary way: `onStop` runs in
// the event loop, so the program can clear its outputs on the way out.
// One implementation file per operating system.
void onStopSignals(QObject* owner, std::function<void()> onStop);
