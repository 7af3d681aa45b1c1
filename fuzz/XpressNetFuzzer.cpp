// Feeds arbitrary bytes through the receive path: the assembler in both
// framings, in uneven chunks with time passing, then the decoder and the
// reply classifier on every frame, and the decoder on the raw bytes too.
#include "xpressnet/Describe.h"
#include "xpressnet/FrameAssembler.h"
#include "xpressnet/Reply.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace {

void decode(xpressnet::Bytes bytes)
{
    xpressnet::describeCommand(bytes);
    xpressnet::describeReply(bytes);
    xpressnet::classifyReply(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose the chunk size and how far time moves between chunks.
    const std::size_t chunk = data[0] % 32 + 1;
    const auto step = std::chrono::milliseconds(data[1]);
    const std::span<const std::uint8_t> stream(data + 2, size - 2);
    decode(stream);

    for (const auto framing : {xpressnet::Framing::Bare, xpressnet::Framing::Usb}) {
        xpressnet::TimePoint now{};
        xpressnet::FrameAssembler assembler(framing, [&now] { return now; });
        for (std::size_t pos = 0; pos < stream.size(); pos += chunk) {
            for (const auto& event : assembler.feed(stream.subspan(pos, std::min(chunk, stream.size() - pos)))) {
                if (event.kind == xpressnet::Assembled::Kind::Good && xpressnet::xorOf(event.bytes) != 0)
                    __builtin_trap(); // a good frame's check byte must be right
                decode(event.bytes);
            }
            if (assembler.buffered() > xpressnet::maxFrameLength + xpressnet::usbPrefixLength)
                __builtin_trap(); // never more than one frame held
            now += step;
        }
    }
    return 0;
}
