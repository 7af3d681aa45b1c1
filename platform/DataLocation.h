#pragma once

#include "ProgramFolder.h"

#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <functional>

// Where this run keeps its data. A writable data folder beside the
// executable is used as it is (portable use, the build folder). Otherwise the
// data lives in the user's own folder, filled from the data the program
// ships; a folder named on the command line overrides both.
struct DataPlaces {
    enum class Kind { BesideProgram, UserFolder, Named };

    Kind kind = Kind::BesideProgram;
    QString programFolder; // the About sound and the word processor
    QString dataFolder;
    QString shippedData;   // what a new data folder (or the demo's) is filled from; empty: none found

    // Paths as the modules form them. Beside the program, the literals are
    // resolved exactly as they always were.
    ProgramFolder folder() const;
};

struct DataSearch {
    QString executableFolder;
    QString installedShare; // <prefix>/share/varnolix of an installed program
    QString userDataFolder; // the user's application data folder + "/data"
    QString namedFolder;    // --data DIR; empty when not given
    // Whether the user may write in a folder (the file system's answer by
    // default; tests decide for themselves, as root may write anywhere).
    std::function<bool(const QString&)> writable = [](const QString& folder) { return QFileInfo(folder).isWritable(); };
};

DataPlaces chooseDataPlaces(const DataSearch& search);

// The platform's per-user data folder of this program, e.g.
// ~/.local/share/varnolix/data on Linux.
QString userDataFolder();

// Copies every file below `shipped` that `target` lacks (names matched
// ignoring case), creating the folders on the way; a file already there is
// never replaced. Returns one line per file or folder that could not be made.
QStringList fillMissingFiles(const QString& shipped, const QString& target);
