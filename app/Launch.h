#pragma once

#include "AnsweringDialogs.h"
#include "DataLocation.h"
#include "ProgramFolder.h"

#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

class Demo;
class Dialogs;
class QLockFile;

// What is settled before the program proper starts: the command line, where
// the data lives (filled from the shipped data when new), the demo's
// stand-ins, and whether questions are answered by themselves.
class Launch {
public:
    // `shown` are the dialogs the user sees.
    explicit Launch(Dialogs& shown);
    ~Launch();
    Launch(const Launch&) = delete;
    Launch& operator=(const Launch&) = delete;

    // Answers --help and --version before the application object exists, so
    // they need no display. Nothing when the program should start.
    static std::optional<int> answerWithoutDisplay(int argc, char* argv[], const QString& version);

    // Nothing when the program should start; otherwise its exit code (help,
    // version, a bad option, a data folder or demo that cannot be made, a
    // data folder another Varnolix is running on).
    std::optional<int> prepare(const QStringList& arguments);

    // Valid after prepare() returned nothing.
    const ProgramFolder& folder() const { return *folder_; }
    const DataPlaces& places() const { return places_; }
    Dialogs& dialogs();
    // --interface: the "DCC interface" dialog before the start.
    bool interfaceFirst() const { return interfaceFirst_; }
    // --withrottle[=PORT]: the phone server on, on PORT (0: the stored port).
    std::optional<std::uint16_t> phonesOn() const { return phonesOn_; }
    // One line on standard output once the windows are up, naming the data folder.
    void announceRunning() const;

private:
    // Each: nothing when the start goes on, else the exit code.
    std::optional<int> startDemo();
    std::optional<int> fillDataFolder(const QString& installedShare);
    // One Varnolix per data folder: a second one on it would overwrite the
    // first one's files. The lock is held until the end of the run.
    std::optional<int> lockDataFolder(const QString& dataPath);
    void report(const QString& text);

    Dialogs& shown_;
    std::optional<AnsweringDialogs> answering_;
    std::unique_ptr<Demo> demo_;
    std::unique_ptr<QLockFile> lock_;
    DataPlaces places_;
    std::optional<ProgramFolder> folder_;
    bool interfaceFirst_ = false;
    std::optional<std::uint16_t> phonesOn_;
};
