// From a handler's call of SendFrame to the bytes readable on the far side of
// a pseudo-terminal, or of a local TCP connection, side by side. The wire
// itself is not in it: a pty has no baud rate.
#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "ProgramFolder.h"
#include "QtDccLink.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
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

    int master = -1;
    QString device;
};

bool readExactly(int fd, int count)
{
    char buffer[64];
    int got = 0;
    while (got < count) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0)
            return false;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        got += static_cast<int>(n);
    }
    return true;
}

// The far side of a network interface: a listening socket on 127.0.0.1.
struct TcpFarSide {
    TcpFarSide()
    {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener, 1);
        socklen_t size = sizeof address;
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~TcpFarSide()
    {
        if (connection >= 0)
            close(connection);
        close(listener);
    }
    bool accept() { return (connection = ::accept(listener, nullptr, nullptr)) >= 0; }

    int listener = -1;
    int connection = -1;
    int port = 0;
};

// Argument: 0 serial (pty, bare frames), 1 XnTcp (bare), 2 LAN (FF FE + frame).
void SendFrameToFarSide(benchmark::State& state)
{
    constexpr InterfaceSettings::Kind kinds[] = {InterfaceSettings::Kind::Serial, InterfaceSettings::Kind::XnTcp,
                                                 InterfaceSettings::Kind::Lan};
    const auto kind = kinds[state.range(0)];
    FarSide pty;
    TcpFarSide tcp;
    QTemporaryDir dir;
    const ProgramFolder folder(dir.path());
    Shared shared;
    FakeClock clock;
    FakeDialogs dialogs;
    QtDccLink link(PortMap({{5, pty.device}}));
    InterfaceSettings settings = defaultsFor(kind);
    settings.host = QStringLiteral("127.0.0.1");
    settings.tcpPort = tcp.port;
    link.setInterface(settings);
    DCC dcc(shared, link, clock, dialogs, folder);
    if (!link.open(5) || (settings.network() && !tcp.accept())) {
        state.SkipWithError("could not open the link");
        return;
    }
    const int farSide = settings.network() ? tcp.connection : pty.master;
    const int bytes = settings.prefixed() ? 8 : 6;
    shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C, 0};
    for (auto _ : state) {
        dcc.SendFrame();
        if (!readExactly(farSide, bytes)) {
            state.SkipWithError("the frame did not arrive");
            break;
        }
    }
    state.SetLabel(kindName(kind).toStdString());
}

BENCHMARK(SendFrameToFarSide)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
