// One 40 ms scroll tick with a 6000 x 4000 mimic: the bar, the percentage
// box and the picture move; the bitmap must not be reloaded.
#include "HidK8055.h"
#include "SimulatedBoard.h"
#include "App.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "ProgramFolder.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>

namespace {

void ScrollTick(benchmark::State& state)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("data/text"));
    QDir(dir.path()).mkpath(QStringLiteral("data/Layouts"));
    QImage mimic(6000, 4000, QImage::Format_RGB32);
    mimic.fill(QColor(30, 60, 40));
    mimic.save(dir.path() + QStringLiteral("/data/Layouts/Big.bmp"), "BMP");
    QFile version(dir.path() + QStringLiteral("/data/text/version.txt"));
    if (version.open(QIODevice::WriteOnly))
        version.write("\"DC\"\r\n");
    version.close();

    const ProgramFolder folder(dir.path());
    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("Big"));
    FakeClock clock;
    FakeDccLink link;
    SimulatedBoard boardDevice(clock);
    HidK8055 board(boardDevice);
    App app(folder, dialogs, clock, link, board);
    if (!app.start()) {
        state.SkipWithError("start-up failed");
        return;
    }
    Form1& form = app.form1();
    const qint64 pictureKey = form.picScreen->pixmap().cacheKey();
    form.ScrollDirection = 3;
    for (auto _ : state) {
        form.timPollKeys_Timer();
        if (form.hsbScreen->value() > 30000) {
            state.PauseTiming();
            form.hsbScreen->setValue(0);
            form.ScrollStep = 0;
            state.ResumeTiming();
        }
    }
    state.counters["bitmap_reloads"] = form.picScreen->pixmap().cacheKey() == pictureKey ? 0 : 1;
}

BENCHMARK(ScrollTick)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
