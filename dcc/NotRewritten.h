#pragma once

#include <QString>

class Dialogs;

// A file not read whole at start is never rewritten; this says so, and what
// the user loses by it.
void reportNotRewritten(Dialogs& dialogs, const QString& path, const QString& consequence, const QString& title);
