// varnolix-dccbox: a simulated XpressNet interface on a pseudo-terminal, for
// trying the program without a layout. Prints every frame it gets, in words.
#include "dccbox/SimulatedBox.h"

#include <pthread.h>
#include <signal.h>
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
                 "Usage: %s [--link PATH] [--delay MS] [--silent]\n"
                 "  --link PATH  also reach the device through a symlink at PATH\n"
                 "  --delay MS   answer after MS milliseconds (a USB adapter takes about 16)\n"
                 "  --silent     never answer, as if no box were connected\n",
                 program);
    return code;
}

bool parseDelay(const char* text, int& delay)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 10000)
        return false;
    delay = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    dccbox::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--link" && hasValue) {
            options.linkPath = argv[++i];
        } else if (arg == "--delay" && hasValue) {
            if (!parseDelay(argv[++i], options.answerDelayMs)) {
                std::fprintf(stderr, "%s: --delay wants 0..10000 milliseconds\n", argv[0]);
                return 2;
            }
        } else if (arg == "--silent") {
            options.silent = true;
        } else if (arg == "--help" || arg == "-h") {
            return usage(argv[0], 0);
        } else {
            return usage(argv[0], 2);
        }
    }

    // Blocked before the box's thread starts, so only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, signal);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    dccbox::SimulatedBox box(options);
    box.setLineHandler(printLine);
    std::string error;
    if (!box.start(&error)) {
        std::fprintf(stderr, "%s: cannot start: %s\n", argv[0], error.c_str());
        return 1;
    }

    std::string banner = "DCC box simulator on " + box.devicePath();
    if (!options.linkPath.empty())
        banner += " (linked at " + options.linkPath + ")";
    if (options.silent)
        banner += ", silent: never answers";
    else
        banner += ", answering after " + std::to_string(options.answerDelayMs) + " ms";
    printLine(banner);
    printLine("Ctrl+C ends it.");

    int received = 0;
    sigwait(&stopSignals, &received);
    box.stop();
    printLine("DCC box simulator stopped.");
    return 0;
}
