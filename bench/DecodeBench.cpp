// Bytes to decoded frame: what the receive side costs per frame, from the
// raw bytes through the assembler to the reply kind (the status logic) and
// on to words (the frame monitor). Both framings; reported per frame.
#include "xpressnet/Describe.h"
#include "xpressnet/FrameAssembler.h"
#include "xpressnet/Reply.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using xpressnet::Frame;

// A plausible mix of what a box sends: mostly acknowledgements, some
// broadcasts, version answers, a refusal, a take-over and feedback.
const Frame mix[] = {
    {0x01, 0x04, 0x05}, {0x01, 0x04, 0x05}, {0x01, 0x04, 0x05},       {0x61, 0x00, 0x61},
    {0x81, 0x00, 0x81}, {0x61, 0x01, 0x60}, {0x02, 0x01, 0x36, 0x35}, {0x63, 0x21, 0x36, 0x00, 0x74},
    {0xE1, 0x84, 0x65}, {0xE3, 0x40, 0xC4, 0xD2, 0xB5}, {0x42, 0x01, 0x52, 0x11}, {0x01, 0x05, 0x04},
};
constexpr std::size_t framesPerStream = 1200;

Frame stream(xpressnet::Framing framing)
{
    Frame bytes;
    for (std::size_t i = 0; i < framesPerStream; ++i) {
        const Frame& frame = mix[i % std::size(mix)];
        const bool broadcast = frame[0] == 0x61 || frame[0] == 0x81;
        const auto prefix = framing == xpressnet::Framing::Bare ? xpressnet::UsbPrefix::None
            : broadcast                                          ? xpressnet::UsbPrefix::Broadcast
                                                                 : xpressnet::UsbPrefix::Answer;
        const Frame wire = xpressnet::withUsbPrefix(frame, prefix);
        bytes.insert(bytes.end(), wire.begin(), wire.end());
    }
    return bytes;
}

// range(0): 0 bare, 1 LI-USB; range(1): 0 kind only, 1 kind and words.
void BytesToDecodedFrame(benchmark::State& state)
{
    const auto framing = state.range(0) == 0 ? xpressnet::Framing::Bare : xpressnet::Framing::Usb;
    const bool words = state.range(1) != 0;
    const Frame bytes = stream(framing);
    xpressnet::FrameAssembler assembler(framing);
    constexpr std::size_t readSize = 32; // what one read of the port typically brings
    for (auto _ : state) {
        for (std::size_t pos = 0; pos < bytes.size(); pos += readSize) {
            const auto chunk = std::span(bytes).subspan(pos, std::min(readSize, bytes.size() - pos));
            for (const auto& event : assembler.feed(chunk)) {
                benchmark::DoNotOptimize(xpressnet::classifyReply(event.bytes));
                if (words)
                    benchmark::DoNotOptimize(xpressnet::describeReply(event.bytes));
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(framesPerStream));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.SetLabel(std::string(framing == xpressnet::Framing::Bare ? "bare" : "LI-USB")
                   + (words ? ", kind and words" : ", kind"));
}
BENCHMARK(BytesToDecodedFrame)->ArgsProduct({{0, 1}, {0, 1}});

} // namespace

BENCHMARK_MAIN();
