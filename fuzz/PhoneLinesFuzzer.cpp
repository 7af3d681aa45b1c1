// Feeds arbitrary bytes from a "phone" through the server's session: the
// line splitter, the parser and every command against a layout in memory,
// in uneven pieces with time passing. Whatever a phone sends, nothing
// crashes, nothing it is sent breaks the framing, no loco outside 1..9999
// is driven and no speed is out of range.
#include "PhoneSession.h"

#include "FakeClock.h"
#include "FakePhoneLayout.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool wellFormed(const QByteArray& line)
{
    return line.endsWith('\n') && line.count('\n') == 1 && !line.contains('\r');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "phone_lines_fuzzer";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    if (size < 1)
        return 0;
    const std::size_t chunk = data[0] % 64 + 1;
    FakeClock clock;
    FakePhoneLayout layout;
    layout.rosterEntries = {{QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(std::min<std::size_t>(size, 12))), 3}};
    withrottle::ServerSettings settings;
    bool closed = false;
    withrottle::PhoneSession session(1, layout, clock, settings,
                                     {[](const QByteArray& line) {
                                          if (!wellFormed(line))
                                              std::abort();
                                      },
                                      [&](const QString&) { closed = true; }, [](int) { return false; }, {}});
    session.greet();
    for (std::size_t at = 1; at < size && !closed; at += chunk) {
        session.received(QByteArray(reinterpret_cast<const char*>(data + at), static_cast<int>(std::min(chunk, size - at))));
        clock.advance(data[at] / 100.0);
    }
    session.connectionLost();
    for (const auto& [address, loco] : layout.locos)
        if (address < 1 || address > 9999 || loco.step < 0 || loco.step > 28)
            std::abort();
    return 0;
}
