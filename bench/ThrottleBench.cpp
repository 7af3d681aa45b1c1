// From a mouse press on speed button "9" of the loco window to the last byte
// of its frame received by the simulated DCC box on the far side of a real
// pseudo-terminal: the whole program path (the test library's press, the
// window, the DCC module, the Qt serial port) with no wire time, since a pty
// has no baud rate. The moment of arrival is taken on the box's own thread
// when it has the whole frame, so the repaint that the test library runs
// after the press is not in the figure.
//
// The clock's processEvents returns at once and only moves fake time on, so
// the 5 ms pause after each speed frame is not in the figure either: the
// pause is pacing for the box, not work of the program.
#include "HidK8055.h"
#include "SimulatedBoard.h"
#include "App.h"
#include "Clock.h"
#include "FakeDialogs.h"
#include "Form2a.h"
#include "PressButtons.h"
#include "ProgramFolder.h"
#include "QtDccLink.h"

#include "dccbox/SimulatedBox.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

namespace {

using namespace std::chrono_literals;

class InstantClock final : public Clock {
public:
    double seconds() const override { return now_; }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void processEvents(int maxMs) override { now_ += maxMs / 1000.0; }

private:
    double now_ = 0.0;
};

void write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

std::int64_t nanoseconds(std::chrono::steady_clock::time_point at)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
}

void PressToFarSide(benchmark::State& state)
{
    // Written by the box's thread as each frame is taken in; outlives the box.
    std::atomic<std::int64_t> receivedAt{0};
    dccbox::SimulatedBox box;
    box.setLineHandler([&receivedAt](const std::string& line) {
        if (line.rfind("<- ", 0) == 0)
            receivedAt.store(nanoseconds(std::chrono::steady_clock::now()));
    });
    std::string error;
    if (!box.start(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("data/text"));
    QDir(dir.path()).mkpath(QStringLiteral("data/Layouts"));
    QImage layout(64, 48, QImage::Format_RGB32);
    layout.fill(Qt::darkGreen);
    layout.save(dir.path() + QStringLiteral("/data/Layouts/Home.bmp"), "BMP");
    write(dir.path() + QStringLiteral("/data/text/version.txt"), "\"DCC\"\r\n");
    write(dir.path() + QStringLiteral("/data/text/port.txt"), "5\r\n");
    write(dir.path() + QStringLiteral("/data/text/loco.txt"), "\"0003\",\"E27\"\r\n");
    const ProgramFolder folder(dir.path());
    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("Home"));
    InstantClock clock;
    QtDccLink link(PortMap({{5, QString::fromStdString(box.devicePath())}}));
    SimulatedBoard boardDevice(clock);
    HidK8055 board(boardDevice);
    App app(folder, dialogs, clock, link, board);
    if (!app.start() || !link.isOpen()) {
        state.SkipWithError("the program did not connect to the simulated box");
        return;
    }
    // Argument 1: with the frame monitor open, as it may be while driving.
    if (state.range(0) == 1)
        app.showMonitor();
    Form2a& form = *app.form2a();
    form.mnuUnitA[0]->trigger();
    ThrottleButton* nine = form.cmdLoco[9];

    std::size_t frames = box.frames().size();
    std::vector<double> latencies;
    for (auto _ : state) {
        const std::int64_t start = nanoseconds(std::chrono::steady_clock::now());
        QTest::mousePress(nine, Qt::LeftButton);
        // The box records its line for a frame before it counts the frame.
        if (!box.waitForFrames(++frames, 1s)) {
            state.SkipWithError("the frame did not arrive");
            break;
        }
        const double seconds = static_cast<double>(receivedAt.load() - start) / 1e9;
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1e6);
        QTest::mouseRelease(nine, Qt::LeftButton);
        // Drains the box's acknowledgements, outside the timed part.
        QCoreApplication::processEvents();
    }
    if (latencies.empty())
        return;
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_us"] = latencies[latencies.size() / 2];
    state.counters["p99_us"] = latencies[latencies.size() * 99 / 100];
    state.counters["frames_bad"] = static_cast<double>(box.badFrames());
}

BENCHMARK(PressToFarSide)->Arg(0)->Arg(1)->ArgName("monitor")->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
