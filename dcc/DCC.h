#pragma once

#include "BoxDetection.h"
#include "DccEvents.h"
#include "DccLink.h"
#include "DccReceiver.h"
#include "FrameLog.h"
#include "InterfaceSettings.h"
#include "LinkSession.h"
#include "LocoFrames.h"
#include "LocoStates.h"
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
class InterfaceTest;
class ProgramFolder;

// The DCC command-station link: the port, finding the box, writing frames
// and pacing them, listening to the answers and reconnecting (DCC_Listen.cpp);
// the loco commands, the train-engine and pilot choice from the roster and
// the function state (DCC_Loco.cpp, DCC_Roster.cpp, DCC_Functions.cpp).
class DCC {
public:
    // While start-up waits for the box, the longest the user interface goes
    // without handling its events.
    static constexpr int WaitSliceMs = 20;

    // While the link is lost, how often to look for the device again.
    static constexpr int ReconnectIntervalMs = 1000;

    DCC(Shared& shared, DccLink& link, Clock& clock, Dialogs& dialogs, const ProgramFolder& folder);
    ~DCC();
    DCC(const DCC&) = delete;
    DCC& operator=(const DCC&) = delete;

    // The frame at FrameBuf[0], as the link's state allows (LinkSession):
    // written when online (the box then owes an answer to it), kept when it
    // is a stop and the link is down, dropped when offline by choice or the
    // port is not open. False only when refused because the link is down:
    // the status line then says so and the caller shows nothing as done.
    bool SendFrame();
    // Waits `seconds` while the user interface keeps handling events.
    void Pause(float seconds);
    // Opens PortNumber (or the network interface) and queries the box, then
    // the command station; asks for another port until one answers or the
    // user chooses 0 (offline). Returns when that is settled, the event loop
    // running meanwhile (Connecting() is true while the box is looked for).
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
    // What the box said, with what the link keeps or refused while down.
    LinkState linkState() const;
    const LinkSession& session() const { return session_; }
    // The link is wanted but cannot carry commands now (connecting, the box
    // not answering, the device lost): stops wait, other commands are refused.
    bool LinkDown() const { return session_.down(); }
    // Frames sent whose answer has neither come nor timed out.
    bool AwaitingAnswers() const;
    // 80 80: every loco stops, then speed 0 in its direction to the train
    // engine and the pilot, so a command station that keeps each loco's last
    // speed does not start them again on resume; 21 80: track power off;
    // 21 81: back to normal. The status line follows the command station's
    // broadcasts, not these.
    void EmergencyStop();
    void TrackPowerOff();
    void ResumeOperation();
    // While the link is lost: look for it now rather than at the next tick.
    void ReconnectNow();
    bool Reconnecting() const { return session_.state() == LinkSession::State::Lost; }
    // The serial port in use or being looked for.
    std::uint8_t ChosenPort() const { return Reconnecting() && !Interface.network() ? lostPort_ : shared_.PortNumber; }
    // The interface dialog's "Test": the detection on these settings, on a
    // link of its own (MakeTestLink), without the port question; `done` gets
    // what answered, or what failed. The link in use carries on meanwhile; the
    // setting it is online with is answered from it. Returns at once.
    void TestInterface(const InterfaceSettings& settings, std::uint8_t port, std::function<void(const QString&)> done);
    // Gives the test up; its `done` is not called.
    void CancelTest();
    bool Testing() const;
    // A second link for Test, of the same kind as the one in use. Set by the
    // composition root; without it Test says it cannot run.
    std::function<std::unique_ptr<DccLink>()> MakeTestLink;
    // Keeps a chosen setting: interface.txt, and port.txt for the serial kinds.
    void StoreInterface(const InterfaceSettings& settings, std::uint8_t port);
    // Connects on the stored setting during the run and returns at once;
    // says what came of it when the box answered or did not. When nothing
    // answers the program goes on offline and keeps looking.
    void ConnectAgain();
    // The box is being looked for (ConnectDccBox, ConnectAgain): the link
    // is then "connecting", stops wait and other commands are refused.
    bool Connecting() const { return detection_->running(); }
    // Stops looking: the link is closed and the program goes on offline
    // until the user connects again ("DCC interface" on the toolbar). At
    // start-up a serial port is then asked for.
    void CancelConnect();
    // Where the box is looked for: "/dev/ttyUSB0", "192.168.0.200:5550".
    QString ConnectingTo() const { return link_.where(); }

    // The interface kind in use (interface.txt) and the link to it.
    InterfaceSettings Interface;
    DccLink& link() { return link_; }
    // Opens the "DCC interface" dialog; true when the user chose a setting
    // (Interface then holds it). Set by the composition root.
    std::function<bool()> ChooseInterface;

    DccEvents Events;
    FrameLog Log;
    // What each loco was last told, by any throttle.
    LocoStates Locos;

    // Who gives the commands now: the program's own windows, or a phone
    // (its session id and name), for the loco states and the frame monitor.
    struct CommandOrigin {
        int id = LocoStates::Panel;
        QString name;
    };
    CommandOrigin Origin;

    // Loco commands. The caller sets LocoNumber and AddressForEngine, then
    // calls SetAddressBytes; numbers outside 1..9999 change nothing.
    void SetAddressBytes();
    void SendSpeedFrame(std::uint8_t high, std::uint8_t low);
    // The speed frame, then 5 ms for the box.
    void SendSpeed(std::uint8_t high, std::uint8_t low);
    // DirectionBit + ActiveIndex to the train engine; false when refused
    // because the link is down.
    bool SendSpeedStep();
    // Couples the pilot to the train engine, or with pilot bytes 00 00
    // dissolves the pair. No pause follows.
    void SendDoubleHeader();

    // The last known state of DCC accessory n: 0 unknown, 2 closed (its
    // left-click output switched last), 4 thrown (right-click).
    int AccessoryState(int n) const;
    // Accessory n's output was switched; every throttle is told.
    void NoteAccessory(int n, bool thrown);

    // The decoder number of the train engine; 0 before one is chosen.
    int EngineNumber() const;
    // The speed button (0 for STOP, else 2..14) nearest a 28-step speed.
    static std::uint8_t NearestSpeedButton(int step);

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
    // Refused: the link is down, nothing was sent and the pilot menu stays as it was.
    enum class PilotChoice { Ignored, NoEngine, BadChip, Coupled, Released, Refused };

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
    // False when refused because the link is down.
    bool SendFunctionGroup(std::uint8_t high, std::uint8_t low);
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
    // How a connect that ended is reported: start-up waits for it itself.
    enum class ConnectPurpose { None, StartUp, Again };
    void StartFinding(ConnectPurpose purpose);
    BoxDetection::Result FindBox();
    void FindingEnded(BoxDetection::Result result);
    void ConnectAgainEnded(BoxDetection::Result result);
    // Closed, nothing owed; offline by choice for a cancel, lost otherwise.
    void GiveUpConnecting(bool cancelled);
    QString ConnectedText() const;
    void LinkLost(const QString& device, const QString& reason);
    // Writes one frame; the receiver then waits for its answer.
    bool WriteOwed(const QByteArray& frame);
    // One command as the link's state allows; false when refused.
    bool Submit(const QByteArray& frame);
    // The link's state changes; online again sends what was kept, first.
    void SetLinkState(LinkSession::State state);
    void SendKept();
    // True, with the word for the status line, while the link is down.
    bool RefusedWhileDown();
    void ReceiverChanged();
    // Every throttle sees what another told a loco: the roster's function
    // bytes and, for the train engine, direction and speed button follow.
    void LocoChanged(int address, LocoStates::Change change, int function, int origin);
    // 21 24: the command station's state, so a power off or emergency stop
    // that lasted across a reconnect shows again.
    void AskStationStatus();
    void Received(const DccLink::Received& in);
    void Answered(const DccReceiver::Answer& answer);
    void Probe();
    void StartReconnecting();
    void ReconnectTick();
    void LinkOpened();
    void Reconnected();
    // Both locos to speed 0, then the double header; the pilot is ticked
    // when the box acknowledges it (at once when offline).
    PilotChoice CoupleDoubleHeader();
    // The link went or was opened anew: a double header still waiting for
    // its answer will not get one, and is not formed.
    void DropPendingDoubleHeader();
    // False, nothing changed, when refused because the link is down.
    bool SwitchFunction(int index, bool on);
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
    std::unique_ptr<BoxDetection> detection_;
    ConnectPurpose connectPurpose_ = ConnectPurpose::None;
    std::unique_ptr<InterfaceTest> test_;
    LinkSession session_;
    // While the link is lost, the serial port looked for.
    std::uint8_t lostPort_ = 0;
    QByteArray pendingDoubleHeader_;
    std::array<std::uint8_t, 256> accessoryStates_{};
};
