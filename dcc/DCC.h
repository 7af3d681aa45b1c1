#pragma once

#include "Shared.h"

#include <QString>

class Clock;
class Dialogs;
class ProgramFolder;
class SerialLink;

// The DCC command-station link: the port, finding the box, writing frames
// and pacing them.
class DCC {
public:
    // How long to wait for the box's answer to the version query. A USB
    // serial adapter holds received bytes up to its 16 ms latency timer, so
    // the answer can come well after the query; waiting ends at the first byte.
    static constexpr int AnswerWaitMs = 250;

    DCC(Shared& shared, SerialLink& link, Clock& clock, Dialogs& dialogs, const ProgramFolder& folder);
    ~DCC();
    DCC(const DCC&) = delete;
    DCC& operator=(const DCC&) = delete;

    // Writes the frame at FrameBuf[0] if, and only if, the port is open.
    void SendFrame();
    // Waits `seconds` while the user interface keeps handling events.
    void Pause(float seconds);
    // Opens PortNumber and queries the box; asks for another port until one
    // answers or the user chooses 0 (offline).
    void ConnectDccBox();
    // Asks for a port number and stores it; an answer that is not a number
    // 0..255 ends the program.
    void AskForPort();
    void ReadPortFile();
    void WritePortFile();

    QString PortFilePath() const;
    bool linkOpen() const;
    double PauseStart = 0;

private:
    bool QueryBox();
    void LinkLost(const QString& device, const QString& reason);

    Shared& shared_;
    SerialLink& link_;
    Clock& clock_;
    Dialogs& dialogs_;
    const ProgramFolder& folder_;
};
