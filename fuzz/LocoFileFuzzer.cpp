// Feeds arbitrary bytes to the loco file reader and checks what the roster
// promises: every line that is not blank comes back byte for byte when the
// file is written out and read again, and reads back the same.
#include "LocoFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const loco_file::Content first = loco_file::parse(bytes);
    if (first.entryLines.size() != static_cast<qsizetype>(first.entries.size())
        || first.unreadable.size() != first.unreadableLines.size())
        __builtin_trap();

    // As a rewrite lays it out: the entries, then the lines kept unread.
    QByteArrayList lines = first.entryLines;
    lines << first.unreadable;
    const loco_file::Content second = loco_file::parse(loco_file::format(lines));
    if (second.entries != first.entries || second.entryLines != first.entryLines || second.unreadable != first.unreadable)
        __builtin_trap();
    if (!second.blankLines.isEmpty() || second.blanksAfterLastLine)
        __builtin_trap();
    return 0;
}
