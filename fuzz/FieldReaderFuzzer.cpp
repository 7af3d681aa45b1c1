// Feeds arbitrary bytes to the field reader the way the data files are read:
// every kind of field in turn, skipping lines that do not parse.
#include "FieldFormat.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FieldReader reader(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    int guard = 0;
    while (!reader.atEnd() && ++guard < 100000) {
        const int before = reader.line();
        switch (guard % 3) {
        case 0:
            if (!reader.readText())
                reader.skipLine();
            break;
        case 1:
            if (!reader.readNumber())
                reader.skipLine();
            break;
        default:
            if (!reader.readTruth())
                reader.skipLine();
            break;
        }
        if (reader.line() < before)
            __builtin_trap(); // the reader must never move backwards
    }
    // The reader must always make progress: a stuck loop is a hang.
    if (guard >= 100000 && size < 50000)
        __builtin_trap();
    return 0;
}
