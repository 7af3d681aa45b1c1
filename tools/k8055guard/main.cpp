// varnolix-k8055-guard: owns the K8055 board for Varnolix and turns every
// output off the moment Varnolix is gone. Varnolix starts it with a socket on
// its standard input and output and sends one line per board call (see
// GuardProtocol.h); end of input - Varnolix ended, was killed or crashed -
// or a second without a word turns every output, digital and analog, off.
// After a silence the board counts as lost until Varnolix opens it again.
//
//   varnolix-k8055-guard [--simulated] [--watch-ms N] [--log FILE]
//
// --simulated  a simulated board (card 0) in place of the USB board; it says
//              every change of its outputs in words
// --watch-ms   how long Varnolix may stay silent (default 1000 ms)
// --log FILE   those words and the guardian's own notes go to FILE instead
//              of standard error
#include "GuardProtocol.h"
#include "HidK8055.h"
#include "HidapiBackend.h"
#include "QtClock.h"
#include "SimulatedBoard.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include <poll.h>
#include <unistd.h>

namespace {

// Set by SIGTERM, read by the loop; a signal handler reaches nothing else.
volatile std::sig_atomic_t terminated = 0;

void onTerminate(int)
{
    terminated = 1;
}

struct Options {
    bool simulated = false;
    int watchMs = 1000;
    const char* log = nullptr;
};

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray word(argv[i]);
        if (word == "--simulated")
            options.simulated = true;
        else if (word == "--watch-ms" && i + 1 < argc)
            options.watchMs = std::max(50, QByteArray(argv[++i]).toInt());
        else if (word == "--log" && i + 1 < argc)
            options.log = argv[++i];
        else
            return false;
    }
    return true;
}

void handleSignals()
{
    // Ctrl+C, Ctrl+\ and a closing terminal reach the whole process group:
    // Varnolix handles them and closes the connection, which is what ends
    // this program, so they are not for it.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGQUIT, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    // Job control is not for it either: a guardian stopped with Varnolix
    // would leave a coil on. It runs in a session of its own, and these
    // stay ignored should it ever be started inside a terminal's job.
    std::signal(SIGTSTP, SIG_IGN);
    std::signal(SIGTTIN, SIG_IGN);
    std::signal(SIGTTOU, SIG_IGN);
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr); // no SA_RESTART: the wait wakes up
}

class Guard {
public:
    Guard(const Options& options, std::FILE* out)
        : options_(options)
        , out_(out)
    {
        if (options.simulated) {
            auto simulated = std::make_unique<SimulatedBoard>(clock_);
            simulated->setLineHandler([this](double seconds, const QString& words) { say(seconds, words); });
            usb_ = std::move(simulated);
        } else {
            usb_ = std::make_unique<HidapiBackend>();
        }
        board_ = std::make_unique<HidK8055>(*usb_);
        server_ = std::make_unique<k8055_guard::Server>(*board_);
    }

    int run()
    {
        QByteArray pending;
        bool quietNoted = false;
        double lastWord = clock_.seconds();
        for (;;) {
            const int left = options_.watchMs - static_cast<int>((clock_.seconds() - lastWord) * 1000.0);
            pollfd input{STDIN_FILENO, POLLIN, 0};
            const int ready = ::poll(&input, 1, std::max(0, left));
            if (terminated)
                return end("stopped: every output off");
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready == 0) {
                if (!quietNoted) {
                    const QString why = QStringLiteral("no word from Varnolix for %1 ms: every output off").arg(options_.watchMs);
                    server_->silence(QStringLiteral("the guardian heard ") + why);
                    say(clock_.seconds(), why);
                }
                quietNoted = true;
                lastWord = clock_.seconds();
                continue;
            }
            char buffer[4096];
            const ssize_t got = ready > 0 ? ::read(STDIN_FILENO, buffer, sizeof buffer) : -1;
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return end("Varnolix has gone: every output off");
            lastWord = clock_.seconds();
            quietNoted = false;
            pending.append(buffer, got);
            for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
                const QByteArray line = pending.left(end);
                pending.remove(0, end + 1);
                if (line != k8055_guard::Heartbeat)
                    answer(server_->handle(line));
            }
        }
    }

private:
    void answer(const QByteArray& reply)
    {
        const char* data = reply.constData();
        qsizetype left = reply.size();
        while (left > 0) {
            const ssize_t written = ::write(STDOUT_FILENO, data, static_cast<std::size_t>(left));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return; // Varnolix has gone; the next read says so
            data += written;
            left -= written;
        }
    }

    void turnOff(const QString& why)
    {
        server_->allOff();
        say(clock_.seconds(), why);
    }

    int end(const char* why)
    {
        turnOff(QString::fromLatin1(why));
        board_->CloseDevice();
        return 0;
    }

    void say(double seconds, const QString& words)
    {
        std::fprintf(out_, "k8055 %9.3f s  %s\n", seconds, words.toLocal8Bit().constData());
        std::fflush(out_);
    }

    Options options_;
    std::FILE* out_;
    QtClock clock_;
    std::unique_ptr<HidBackend> usb_;
    std::unique_ptr<HidK8055> board_;
    std::unique_ptr<k8055_guard::Server> server_;
};

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--simulated] [--watch-ms N] [--log FILE]\n"
                             "Varnolix starts this program itself; it owns the K8055 board and turns every output "
                             "off when Varnolix is gone.\n",
                     argv[0]);
        return 2;
    }
    std::FILE* out = stderr;
    if (options.log && !(out = std::fopen(options.log, "a"))) {
        std::fprintf(stderr, "varnolix-k8055-guard: cannot write %s: %s\n", options.log, std::strerror(errno));
        return 1;
    }
    handleSignals();
    Guard guard(options, out);
    return guard.run();
}
