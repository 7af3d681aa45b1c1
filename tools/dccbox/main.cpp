// varnolix-dccbox: a simulated XpressNet interface and command station on a
// pseudo-terminal or a local TCP port, for trying the program without a
// layout. Prints every frame it gets, in words, and takes commands on stdin.
#include "dccbox/BoxCommands.h"
#include "dccbox/SimulatedBox.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void printLine(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int usage(const char* program, int code)
{
    std::fprintf(code == 0 ? stdout : stderr,
                 "Usage: %s [--link PATH] [--delay MS] [--silent] [--usb] [--tcp PORT [--framing usb|bare]]\n"
                 "          [--station TYPE[:VERSION]]\n"
                 "  --link PATH      also reach the pty through a symlink at PATH\n"
                 "  --delay MS       answer after MS milliseconds (a USB adapter takes about 16)\n"
                 "  --silent         start without answering, as if no box were connected\n"
                 "  --usb            LI-USB framing on the pty: FF FE before every frame, FF FD before broadcasts\n"
                 "  --tcp PORT       listen on 127.0.0.1:PORT instead of a pty, one client at a time\n"
                 "  --framing KIND   on TCP: usb (FF FE / FF FD, the default) or bare frames\n"
                 "  --station TYPE   what 21 21 00 reports: LZV100 (default), LH200, compact, multiMAUS,\n"
                 "                   z21 or a number such as 0x20; a version may follow, e.g. z21:1.2 (default 3.6)\n"
                 "Type help on its input for the commands that make it talk back.\n",
                 program);
    return code;
}

bool parseNumber(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

// What the options leave unsaid about framing: LI-USB is the usual kind on TCP.
struct Parsed {
    dccbox::Options options;
    std::string framing;
};

int parse(int argc, char* argv[], Parsed& parsed)
{
    dccbox::Options& options = parsed.options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long number = 0;
        if (arg == "--link" && hasValue) {
            options.linkPath = argv[++i];
        } else if (arg == "--delay" && hasValue) {
            if (!parseNumber(argv[++i], 0, 10000, number)) {
                std::fprintf(stderr, "%s: --delay wants 0..10000 milliseconds\n", argv[0]);
                return 2;
            }
            options.answerDelayMs = static_cast<int>(number);
        } else if (arg == "--silent") {
            options.silent = true;
        } else if (arg == "--usb") {
            parsed.framing = "usb";
        } else if (arg == "--tcp" && hasValue) {
            if (!parseNumber(argv[++i], 1, 65535, number)) {
                std::fprintf(stderr, "%s: --tcp wants a port number 1..65535\n", argv[0]);
                return 2;
            }
            options.tcpPort = static_cast<std::uint16_t>(number);
        } else if (arg == "--framing" && hasValue) {
            parsed.framing = argv[++i];
            if (parsed.framing != "usb" && parsed.framing != "bare") {
                std::fprintf(stderr, "%s: --framing is usb or bare\n", argv[0]);
                return 2;
            }
        } else if (arg == "--station" && hasValue) {
            if (!dccbox::parseStation(argv[++i], options.stationType, options.stationVersion)) {
                std::fprintf(stderr, "%s: --station wants a type such as LZV100, LH200, compact, multiMAUS, z21 or "
                                     "0x20, optionally with :VERSION such as :3.6\n", argv[0]);
                return 2;
            }
        } else if (arg == "--help" || arg == "-h") {
            return usage(argv[0], 0);
        } else {
            return usage(argv[0], 2);
        }
    }
    if (!options.tcpPort && parsed.framing == "bare") {
        std::fprintf(stderr, "%s: --framing is for --tcp; a pty is bare unless --usb is given\n", argv[0]);
        return 2;
    }
    if (options.tcpPort && !options.linkPath.empty()) {
        std::fprintf(stderr, "%s: --link is for the pty, not for --tcp\n", argv[0]);
        return 2;
    }
    const bool usb = parsed.framing == "usb" || (options.tcpPort && parsed.framing.empty());
    options.framing = usb ? xpressnet::Framing::Usb : xpressnet::Framing::Bare;
    return -1;
}

std::string banner(const dccbox::SimulatedBox& box)
{
    const dccbox::Options& options = box.options();
    std::string text = "DCC box simulator on " + box.address();
    if (!options.linkPath.empty())
        text += " (linked at " + options.linkPath + ")";
    text += options.framing == xpressnet::Framing::Usb ? ", LI-USB framing" : ", bare frames";
    if (options.silent)
        text += ", silent: never answers";
    else
        text += ", answering after " + std::to_string(options.answerDelayMs) + " ms";
    return text;
}

// Waits for a stop signal, carrying out the lines typed meanwhile. Input that
// ends (a background start has none) only stops the reading.
void serve(dccbox::SimulatedBox& box, int signals)
{
    std::array<pollfd, 2> fds = {{{signals, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}}};
    std::string line;
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0)
            continue;
        if (fds[0].revents != 0)
            return;
        if (fds[1].revents == 0)
            continue;
        std::array<char, 256> buffer{};
        const ssize_t n = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (n <= 0) {
            fds[1].fd = -1;
            continue;
        }
        line.append(buffer.data(), static_cast<std::size_t>(n));
        for (auto end = line.find('\n'); end != std::string::npos; end = line.find('\n')) {
            const std::string said = dccbox::runBoxCommand(box, std::string_view(line).substr(0, end));
            if (!said.empty())
                printLine(said);
            line.erase(0, end + 1);
        }
        if (line.size() > 4096)
            line.clear(); // no one types that much on one line
    }
}

} // namespace

int main(int argc, char* argv[])
{
    Parsed parsed;
    if (const int code = parse(argc, argv, parsed); code >= 0)
        return code;

    // Blocked before the box's thread starts, so only the signalfd below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, signal);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signals = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (signals < 0) {
        std::perror("signalfd");
        return 1;
    }

    dccbox::SimulatedBox box(parsed.options);
    box.setLineHandler(printLine);
    std::string error;
    if (!box.start(&error)) {
        std::fprintf(stderr, "%s: cannot start: %s\n", argv[0], error.c_str());
        return 1;
    }
    printLine(banner(box));
    printLine("Type help for the commands that make it talk back; Ctrl+C ends it.");
    serve(box, signals);
    box.stop();
    ::close(signals);
    printLine("DCC box simulator stopped.");
    return 0;
}
