#pragma once

#include "LocoFile.h"
#include "LocoFrames.h"
#include "Shared.h"

#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

class Clock;
class Dialogs;
class ProgramFolder;
class SerialLink;

// The DCC command-station link: the port, finding the box, writing frames
// and pacing them; the loco commands, the roster and the function state
// (DCC_Loco.cpp, DCC_Roster.cpp, DCC_Functions.cpp).
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

    // The roster. Entry i of the arrays is row i of lstLoco (name followed
    // by chip, sorted ignoring case) and item i of both roster menus.
    static constexpr int MaxLocos = 100;
    static constexpr int NoPilot = -1;
    enum class LocoWrite { Stored, BadChip, RosterFull };
    enum class PilotChoice { Ignored, NoEngine, BadChip, Coupled, Released };

    // Reads loco.txt; reports unreadable lines itself. False when blanks
    // follow the last line, which is message 18 of the message routine.
    bool ReadLocoFile();
    // Adds a loco typed into the entry panel and rewrites loco.txt. A chip
    // of fewer than four digits is completed with leading zeros; an empty
    // chip, a chip outside 0001..9999 and a 101st loco are refused with a
    // message.
    LocoWrite WriteLoco(const QString& chip, const QString& name);
    // True when the chip box is full and the focus moves on to the name.
    static bool CheckChipEntry(const QString& chip);
    // The train-engine and pilot menus' rules; the window shows the result.
    // A loco whose chip is outside 1..9999 has no address: choosing it is
    // refused with a message naming it, so no frame goes to another loco.
    bool SelectTrainEngine(int index);
    PilotChoice SelectPilot(int index);

    std::array<QString, MaxLocos> LocoChip;
    std::array<QString, MaxLocos> LocoName;
    // The line of loco.txt entry i was read from, written back as it stands;
    // empty for a loco added in this run.
    std::array<QByteArray, MaxLocos> LocoLine;
    std::uint8_t LocoCount = 0;
    QStringList lstLoco;
    // The function byte of each roster entry; never saved.
    std::array<std::uint8_t, MaxLocos> FuncState{};
    // Train engine and pilot follow their loco when one is inserted before.
    std::uint8_t EngineIndex = 0;
    bool EngineChosen = false;
    int PilotIndex = NoPilot;

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
    void LinkLost(const QString& device, const QString& reason);
    void SwitchFunction(int index, bool on);
    void InsertLoco(const loco_file::Entry& entry, const QByteArray& line = {});
    void WriteLocoFile();
    void ReportLocoFile(const loco_file::Content& content, int unused);
    // The address of roster entry i; without one, a message naming the loco.
    std::optional<loco_frames::Address> DrivableAddress(int index);
    void ReportFunctionFile(const QList<int>& garbledLines);
    // A file not read whole at start is never rewritten; this says so.
    void ReportNotRewritten(const QString& path, const QString& consequence, const QString& title);

    // Lines of loco.txt that are not in the roster (unreadable, or beyond
    // the 100 it holds); a rewrite keeps them.
    QByteArrayList LocoFileKept;
    // loco.txt could not be read at start; rewriting it would lose it.
    bool LocoFileUnread = false;
    // The same for function.txt, and what followed its thirteen lines.
    bool FunctionFileUnread = false;
    QByteArray FunctionFileRest;

    Shared& shared_;
    SerialLink& link_;
    Clock& clock_;
    Dialogs& dialogs_;
    const ProgramFolder& folder_;
};
