// From a handler's call of SendFrame to the bytes readable on the far side of
// a pseudo-terminal. The wire itself is not in it: a pty has no baud rate.
#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "ProgramFolder.h"
#include "QtDccLink.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The far side: a raw pty master read directly.
struct FarSide {
    FarSide()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master);
        unlockpt(master);
        device = QString::fromLocal8Bit(ptsname(master));
        termios raw{};
        tcgetattr(master, &raw);
        cfmakeraw(&raw);
        tcsetattr(master, TCSANOW, &raw);
    }
    ~FarSide() { close(master); }

    bool readExactly(int count)
    {
        char buffer[64];
        int got = 0;
        while (got < count) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 1000) <= 0)
                return false;
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            got += static_cast<int>(n);
        }
        return true;
    }

    int master = -1;
    QString device;
};

void SendFrameToFarSide(benchmark::State& state)
{
    FarSide far;
    QTemporaryDir dir;
    const ProgramFolder folder(dir.path());
    Shared shared;
    FakeClock clock;
    FakeDialogs dialogs;
    QtDccLink link(PortMap({{5, far.device}}));
    DCC dcc(shared, link, clock, dialogs, folder);
    if (!link.open(5)) {
        state.SkipWithError("could not open the pseudo-terminal");
        return;
    }
    shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C, 0};
    for (auto _ : state) {
        dcc.SendFrame();
        if (!far.readExactly(6)) {
            state.SkipWithError("the frame did not arrive");
            break;
        }
    }
}

BENCHMARK(SendFrameToFarSide)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
