#pragma once

#include "DccEvents.h"
#include "DccLink.h"
#include "DccReceiver.h"
#include "FrameLog.h"
#include "InterfaceSettings.h"
#include "LocoFrames.h"
#include "Roster.h"
#include "Shared.h"

#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class ClockTimer;
class Dialogs;
class ProgramFolder;

// The DCC command-station link: the port, finding the box, writing frames
// and pacing them, listening to the answers and reconnecting (DCC_Listen.cpp);
// the loco commands, the train-engine and pilot choice from the roster and
// the function state (DCC_Loco.cpp, DCC_Roster.cpp, DCC_Functions.cpp).
class DCC {
public:
    // How long to wait for the box's answer to the version query. A USB
    // serial adapter holds received bytes up to its 16 ms latency timer, so
    // the answer can come well after the query; waiting ends at the first byte.
    static constexpr int AnswerWaitMs = 250;

    // While the link is lost, how often to look for the device again.
    static constexpr int ReconnectIntervalMs = 1000;

    DCC(Shared& shared, DccLink& link, Clock& clock, Dialogs& dialogs, const ProgramFolder& folder);
    ~DCC();
    DCC(const DCC&) = delete;
    DCC& operator=(const DCC&) = delete;

    // Writes the frame at FrameBuf[0] if, and only if, the port is open.
    // The box owes an answer to it.
    void SendFrame();
    // Waits `seconds` while the user interface keeps handling events.
    void Pause(float seconds);
    // Opens PortNumber (or the network interface) and queries the box, then
    // the command station; asks for another port until one answers or the
    // user chooses 0 (offline).
    void ConnectDccBox();
    // Asks for a port number and stores it; an answer that is not a number
    // 0..255 ends the program. The question's "DCC interface..." button runs
    // ChooseInterface and, when a kind was chosen, tries that.
    void AskForPort();
    void ReadPortFile();
    void WritePortFile();
    // interface.txt: no file leaves the serial interface at 19200 baud, a
    // garbled one is named in a message first.
    void ReadInterfaceFile();
    // False when the file could not be written (the user has been told).
    bool WriteInterfaceFile();

    QString PortFilePath() const;
    QString InterfaceFilePath() const;

    // Listening to the box (DCC_Listen.cpp).
    // True while the box can be talked to: a port chosen (PortNumber not 0)
    // for the serial kinds, a connection made for the network kinds.
    bool Online() const;
    const LinkState& linkState() const { return receiver_->state(); }
    // 80 80: every loco stops; 21 80: track power off; 21 81: back to normal.
    // The status line follows the command station's broadcasts, not these.
    void EmergencyStop();
    void TrackPowerOff();
    void ResumeOperation();
    // While the link is lost: look for it now rather than at the next tick.
    void ReconnectNow();
    bool Reconnecting() const { return reconnecting_; }
    // The serial port in use or being looked for.
    std::uint8_t ChosenPort() const { return reconnecting_ && !Interface.network() ? lostPort_ : shared_.PortNumber; }
    // The interface dialog's "Test": the detection on these settings, without
    // the port question; says what answered, or what failed. The link then
    // goes back to what it was.
    QString TestInterface(const InterfaceSettings& settings, std::uint8_t port);
    // Keeps a chosen setting: interface.txt, and port.txt for the serial kinds.
    void StoreInterface(const InterfaceSettings& settings, std::uint8_t port);
    // Connects on the stored setting during the run, saying what came of it;
    // when nothing answers the program goes on offline and keeps looking.
    void ConnectAgain();

    // The interface kind in use (interface.txt) and the link to it.
    InterfaceSettings Interface;
    DccLink& link() { return link_; }
    // Opens the "DCC interface" dialog; true when the user chose a setting
    // (Interface then holds it). Set by the composition root.
    std::function<bool()> ChooseInterface;

    DccEvents Events;
    FrameLog Log;

    // Loco commands. The caller sets LocoNumber and AddressForEngine, then
    // calls SetAddressBytes; numbers outside 1..9999 change nothing.
    void SetAddressBytes();
    void SendSpeedFrame(std::uint8_t high, std::uint8_t low);
    // The speed frame, then 5 ms for the box.
    void SendSpeed(std::uint8_t high, std::uint8_t low);
    // DirectionBit + ActiveIndex to the train engine.
    void SendSpeedStep();
    // Couples the pilot to the train engine, or with pilot bytes 00 00
    // dissolves the pair. No pause follows.
    void SendDoubleHeader();

    std::int16_t LocoNumber = 0;
    bool AddressForEngine = false;
    std::uint8_t EngineAddrHigh = 0;
    std::uint8_t EngineAddrLow = 0;
    std::uint8_t PilotAddrHigh = 0;
    std::uint8_t PilotAddrLow = 0;
    // 128 while the direction picture shows "L", 0 while it shows "R".
    std::uint8_t DirectionBit = 0;
    std::uint8_t SpeedByte = 0;

    // The roster, loco.txt, and new locos from the entry panel (Roster.h).
    Roster roster;

    static constexpr int NoPilot = -1;
    enum class PilotChoice { Ignored, NoEngine, BadChip, Coupled, Released };

    // The train-engine and pilot menus' rules; the window shows the result.
    // A loco whose chip is outside 1..9999 has no address: choosing it is
    // refused with a message naming it, so no frame goes to another loco.
    bool SelectTrainEngine(int index);
    PilotChoice SelectPilot(int index);

    // Train engine and pilot follow their loco when one is inserted before.
    std::uint8_t EngineIndex = 0;
    bool EngineChosen = false;
    int PilotIndex = NoPilot;
    // The double-header frame for PilotIndex is out and not yet acknowledged:
    // the pilot menu is ticked only when the box accepts it.
    bool PilotPending = false;

    // Function state and the function boxes. The boxes' ticks and captions
    // are kept here; the loco window shows them.
    void SelectFunctionGroup();
    void SendFunctionGroup(std::uint8_t high, std::uint8_t low);
    void FunctionPress(int index);
    void FunctionRelease(int index);
    // A click on a box in status mode: the function latches or no longer does.
    void FlipLatching(int index);
    void SetStatusMode();
    void SetOperateMode();
    // The panel frame's mode switch; false when refused (no engine yet, or
    // a function is on).
    bool ToggleFunctionMode();
    // The "FT" menu: the engine's function byte back to 0, and sent; the
    // boxes show it. False (nothing sent) before a train engine is chosen.
    bool ResetFunctionByte();
    // The boxes redrawn from a newly chosen engine's function byte.
    void ResetFunctionPanel();
    // False when function.txt is short or garbled: the panel then starts
    // in status mode. A garbled line is reported with its number; the lines
    // after it are still read.
    bool ReadFunctionFile();
    // Never writes less than the file held: a file that could not be read
    // is not rewritten, and what follows the thirteen lines is kept.
    void WriteFunctionFile();

    static constexpr int FunctionCount = 13;
    static constexpr int FunctionBoxCount = 15;
    std::uint8_t FuncNumber = 0;
    std::uint8_t FuncGroup = 0;
    std::array<bool, FunctionCount> FuncLatched{};
    std::array<bool, FunctionCount> FuncLatching{};
    bool OperateMode = false;
    std::array<QString, FunctionBoxCount> FuncCaption;
    std::array<bool, FunctionBoxCount> FuncBoxTicked{};
    std::array<QString, FunctionBoxCount> FuncBoxCaption;
    bool FuncBoxesEnabled = false;
    QString FuncTotCaption = QStringLiteral("FT     ");

private:
    bool QueryBox();
    void AskStationVersion();
    QString ConnectedText() const;
    void LinkLost(const QString& device, const QString& reason);
    // Writes one frame; the receiver then waits for its answer.
    bool WriteOwed(const QByteArray& frame);
    void Received(const DccLink::Received& in);
    void Answered(const DccReceiver::Answer& answer);
    void Probe();
    void StartReconnecting();
    void ReconnectTick();
    void LinkOpened();
    void Reconnected();
    void ShowLater(const QString& text, const QString& title, int style);
    // Both locos to speed 0, then the double header; the pilot is ticked
    // when the box acknowledges it (at once when offline).
    PilotChoice CoupleDoubleHeader();
    // The link went or was opened anew: a double header still waiting for
    // its answer will not get one, and is not formed.
    void DropPendingDoubleHeader();
    void SwitchFunction(int index, bool on);
    // A loco was inserted into the roster at `index`.
    void FollowInserted(int index);
    void ReportFunctionFile(const QList<int>& garbledLines);

    // function.txt could not be read at start; rewriting it would lose it.
    // What followed its thirteen lines.
    bool FunctionFileUnread = false;
    QByteArray FunctionFileRest;

    Shared& shared_;
    DccLink& link_;
    Clock& clock_;
    Dialogs& dialogs_;
    const ProgramFolder& folder_;
    std::unique_ptr<DccReceiver> receiver_;
    std::unique_ptr<ClockTimer> reconnectTimer_;
    // Set by the receive handler: something came since the last query.
    bool answered_ = false;
    // The link went and is being looked for again; lostPort_ is its port.
    bool reconnecting_ = false;
    std::uint8_t lostPort_ = 0;
    bool networkUp_ = false;
    QByteArray pendingDoubleHeader_;
};
