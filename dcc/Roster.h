#pragma once

#include "LocoFile.h"
#include "LocoFrames.h"

#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class Dialogs;
struct Shared;

// The roster: loco.txt, the sorted roster list with its parallel arrays and
// new locos from the entry panel. Entry i of the arrays is row i of lstLoco
// (name followed by chip, sorted ignoring case) and item i of both roster
// menus. Lines of loco.txt are written back byte for byte as they were read.
class Roster {
public:
    static constexpr int MaxLocos = 100;
    enum class LocoWrite { Stored, BadChip, RosterFull };

    Roster(Shared& shared, Dialogs& dialogs);

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
    // The address of entry i; without one (a chip outside 1..9999), a
    // message naming the loco, so no frame goes to another loco.
    std::optional<loco_frames::Address> DrivableAddress(int index);
    // The loco number of entry i's chip, as the loco commands take it.
    std::int16_t LocoNumberOf(int index) const;
    // The first entry of that name or chip (compared as stored), or -1.
    int IndexOfName(const QString& name) const;
    int IndexOfChip(const QString& chip) const;

    // Told the index of each loco inserted during the run, so that whoever
    // keeps an index into the roster can follow its loco.
    std::function<void(int)> Inserted;

    std::array<QString, MaxLocos> LocoChip;
    std::array<QString, MaxLocos> LocoName;
    // The line of loco.txt entry i was read from, written back as it stands;
    // empty for a loco added in this run.
    std::array<QByteArray, MaxLocos> LocoLine;
    std::uint8_t LocoCount = 0;
    QStringList lstLoco;
    // The function byte of each entry; never saved.
    std::array<std::uint8_t, MaxLocos> FuncState{};

private:
    void InsertLoco(const loco_file::Entry& entry, const QByteArray& line = {});
    void WriteLocoFile();
    void ReportLocoFile(const loco_file::Content& content, int unused);
    int IndexOf(const std::array<QString, MaxLocos>& column, const QString& value) const;

    // Lines of loco.txt that are not in the roster (unreadable, or beyond
    // the 100 it holds); a rewrite keeps them.
    QByteArrayList LocoFileKept;
    // loco.txt could not be read at start; rewriting it would lose it.
    bool LocoFileUnread = false;

    Shared& shared_;
    Dialogs& dialogs_;
};
