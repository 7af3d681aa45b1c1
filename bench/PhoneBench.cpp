// Phones on the railway, through the whole program: a phone's line over TCP
// on this machine, the phone server, the DCC module and the Qt serial port,
// to the frame the simulated DCC box reads on the far side of a real
// pseudo-terminal. The moment of arrival is taken on the box's own thread.
//
// PhoneToFarSide: one phone, one speed change at a time (median and p99).
// SixteenPhones: sixteen phones, each sending 20 speed changes a second to a
// loco of its own for the seconds given: frames a second on the link,
// latency p99 of the frames that arrived, and the program's processor time
// and memory in the first and the last ten seconds (flat means no growth).
#include "App.h"
#include "FakeDialogs.h"
#include "HidK8055.h"
#include "LocoFrames.h"
#include "NetworkPhoneService.h"
#include "ProgramFolder.h"
#include "QtClock.h"
#include "QtDccLink.h"
#include "SimulatedBoard.h"

#include "dccbox/SimulatedBox.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace {

using Clock_ = std::chrono::steady_clock;

void write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

// The program in "DCC" on the box's pseudo-terminal, with the phone server
// listening on 127.0.0.1 and the frames the box takes in, timed.
class PhoneRig {
public:
    bool start(int locos, std::string* error)
    {
        box.setLineHandler([this](const std::string& line) {
            if (line.rfind("<- E4 12 ", 0) != 0)
                return;
            const std::lock_guard<std::mutex> lock(mutex);
            arrivals.emplace_back(line.substr(3, 17), Clock_::now());
        });
        if (!box.start(error))
            return false;
        QDir(dir.path()).mkpath(QStringLiteral("data/text"));
        QDir(dir.path()).mkpath(QStringLiteral("data/Layouts"));
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save(dir.path() + QStringLiteral("/data/Layouts/Home.bmp"), "BMP");
        write(dir.path() + QStringLiteral("/data/text/version.txt"), "\"DCC\"\r\n");
        write(dir.path() + QStringLiteral("/data/text/port.txt"), "5\r\n");
        QByteArray roster;
        for (int loco = 1; loco <= locos; ++loco)
            roster += QStringLiteral("\"%1\",\"E%2\"\r\n").arg(loco, 4, 10, QLatin1Char('0')).arg(loco).toUtf8();
        write(dir.path() + QStringLiteral("/data/text/loco.txt"), roster);
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
        probe.close();
        write(dir.path() + QStringLiteral("/data/text/withrottle.txt"),
              QStringLiteral("#TRUE#,%1,\"127.0.0.1\",#TRUE#,#TRUE#\r\n").arg(port).toUtf8());
        folder = std::make_unique<ProgramFolder>(dir.path());
        dialogs.answer(QStringLiteral("Home"));
        link = std::make_unique<QtDccLink>(PortMap({{5, QString::fromStdString(box.devicePath())}}));
        board = std::make_unique<HidK8055>(boardDevice);
        DesktopServices desktop;
        desktop.phoneService = [](withrottle::PhoneLayout& layout, Clock& timing) {
            return std::make_unique<withrottle::NetworkPhoneService>(
                layout, timing,
                QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"), QStringLiteral("none")));
        };
        app = std::make_unique<App>(*folder, dialogs, clock, *link, *board, desktop);
        if (!app->start() || !link->isOpen()) {
            *error = "the program did not connect to the simulated box";
            return false;
        }
        app->startPhones(std::nullopt);
        return true;
    }

    // A phone holding loco `loco` on throttle 0, greeted and answered.
    std::unique_ptr<QTcpSocket> phone(int loco)
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QStringLiteral("127.0.0.1"), port);
        socket->waitForConnected(2000);
        socket->write(QStringLiteral("NBench %1\nM0+S%1<;>S%1\n").arg(loco).toUtf8());
        socket->flush();
        QByteArray heard;
        QElapsedTimer waited;
        waited.start();
        while (!heard.contains("s2") && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            heard += socket->readAll();
        }
        return socket;
    }

    // The frame a speed line makes, as the box prints it.
    static std::string frameText(int loco, int speed)
    {
        const auto frame = loco_frames::speedFrame({0, static_cast<std::uint8_t>(loco)},
                                                   loco_frames::speedByteOfStep((speed * 28 + 63) / 126, true));
        char text[24];
        std::snprintf(text, sizeof text, "%02X %02X %02X %02X %02X %02X", frame[0], frame[1], frame[2], frame[3],
                      frame[4], frame[5]);
        return text;
    }

    dccbox::SimulatedBox box;
    QTemporaryDir dir;
    std::unique_ptr<ProgramFolder> folder;
    FakeDialogs dialogs;
    QtClock clock;
    std::unique_ptr<QtDccLink> link;
    SimulatedBoard boardDevice{clock};
    std::unique_ptr<HidK8055> board;
    std::unique_ptr<App> app;
    quint16 port = 0;
    std::mutex mutex;
    std::vector<std::pair<std::string, Clock_::time_point>> arrivals;
};

void PhoneToFarSide(benchmark::State& state)
{
    PhoneRig rig;
    std::string error;
    if (!rig.start(1, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    auto phone = rig.phone(1);
    std::vector<double> latencies;
    int speed = 10;
    for (auto _ : state) {
        // Another speed each time, and after the folding interval: every line is one frame.
        speed = speed == 10 ? 100 : 10;
        const auto deadline = Clock_::now() + std::chrono::milliseconds(55);
        while (Clock_::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        {
            const std::lock_guard<std::mutex> lock(rig.mutex);
            rig.arrivals.clear();
        }
        const std::string expected = PhoneRig::frameText(1, speed);
        const auto start = Clock_::now();
        phone->write(QStringLiteral("M0AS1<;>V%1\n").arg(speed).toUtf8());
        phone->flush();
        bool arrived = false;
        Clock_::time_point at;
        while (!arrived && Clock_::now() - start < std::chrono::seconds(2)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            const std::lock_guard<std::mutex> lock(rig.mutex);
            for (const auto& [text, when] : rig.arrivals)
                if (text == expected) {
                    arrived = true;
                    at = when;
                }
        }
        if (!arrived) {
            state.SkipWithError("the frame did not arrive");
            break;
        }
        const double seconds = std::chrono::duration<double>(at - start).count();
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1e6);
    }
    if (latencies.empty())
        return;
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_us"] = latencies[latencies.size() / 2];
    state.counters["p99_us"] = latencies[latencies.size() * 99 / 100];
}

void SixteenPhones(benchmark::State& state)
{
    constexpr int Phones = 16;
    const auto seconds = static_cast<int>(state.range(0));
    PhoneRig rig;
    std::string error;
    if (!rig.start(Phones, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::vector<std::unique_ptr<QTcpSocket>> phones;
    for (int loco = 1; loco <= Phones; ++loco)
        phones.push_back(rig.phone(loco));
    for (auto _ : state) {
        std::map<std::string, Clock_::time_point> sent;
        std::vector<double> latencies;
        std::size_t framesBefore = rig.box.frames().size();
        double cpuFirst = 0;
        double cpuLast = 0;
        double rssFirst = 0;
        double rssLast = 0;
        const auto begin = Clock_::now();
        int tick = 0;
        double cpuMark = processorSeconds();
        for (auto now = begin; now - begin < std::chrono::seconds(seconds); now = Clock_::now()) {
            // Every 50 ms each phone sends its next speed: 20 a second each.
            for (int loco = 1; loco <= Phones; ++loco) {
                const int speed = 1 + (tick * 7 + loco * 13) % 126;
                phones[static_cast<std::size_t>(loco - 1)]->write(QStringLiteral("M0AS%1<;>V%2\n").arg(loco).arg(speed).toUtf8());
                sent[PhoneRig::frameText(loco, speed)] = Clock_::now();
            }
            ++tick;
            // Waits in the event loop (no spinning, so the processor time is the program's).
            const auto next = begin + std::chrono::milliseconds(50 * tick);
            const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock_::now()).count();
            if (wait > 0) {
                QEventLoop loop;
                QTimer::singleShot(static_cast<int>(wait), Qt::PreciseTimer, &loop, &QEventLoop::quit);
                loop.exec();
            }
            {
                const std::lock_guard<std::mutex> lock(rig.mutex);
                for (const auto& [text, when] : rig.arrivals) {
                    const auto found = sent.find(text);
                    if (found != sent.end() && when >= found->second) {
                        latencies.push_back(std::chrono::duration<double, std::micro>(when - found->second).count());
                        sent.erase(found);
                    }
                }
                rig.arrivals.clear();
            }
            // Ten-second windows: the first and the last.
            if (tick % 200 == 0) {
                const double cpu = (processorSeconds() - cpuMark) / 10.0 * 100.0;
                cpuMark = processorSeconds();
                if (tick == 200) {
                    cpuFirst = cpu;
                    rssFirst = residentMegabytes();
                }
                cpuLast = cpu;
                rssLast = residentMegabytes();
            }
        }
        const double elapsed = std::chrono::duration<double>(Clock_::now() - begin).count();
        state.SetIterationTime(elapsed);
        std::sort(latencies.begin(), latencies.end());
        state.counters["frames_per_s"] = static_cast<double>(rig.box.frames().size() - framesBefore) / elapsed;
        state.counters["p99_us"] = latencies.empty() ? 0 : latencies[latencies.size() * 99 / 100];
        state.counters["median_us"] = latencies.empty() ? 0 : latencies[latencies.size() / 2];
        state.counters["cpu_first_pct"] = cpuFirst;
        state.counters["cpu_last_pct"] = cpuLast;
        state.counters["rss_first_mb"] = rssFirst;
        state.counters["rss_last_mb"] = rssLast;
        state.counters["bad_frames"] = static_cast<double>(rig.box.badFrames());
    }
}

} // namespace

BENCHMARK(PhoneToFarSide)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(400);
BENCHMARK(SixteenPhones)->Arg(60)->ArgName("seconds")->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
