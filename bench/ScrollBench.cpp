// One 40 ms scroll tick with a 6000 x 4000 mimic: the bar, the percentage
// box and the picture move. Measured alone, and with the paint it causes (the
// strip that comes into view), for a full-colour, an 8-bit and a run-length
// coded 8-bit mimic (decoded as it is painted).
#include "HidK8055.h"
#include "MimicPicture.h"
#include "SimulatedBoard.h"
#include "App.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "ProgramFolder.h"
#include "Rle8Bmp.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>

namespace {

void ScrollTick(benchmark::State& state, bool paint, QImage::Format format, bool coded = false)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("data/text"));
    QDir(dir.path()).mkpath(QStringLiteral("data/Layouts"));
    QImage mimic(6000, 4000, QImage::Format_RGB32);
    // Stripes, so that a paint has real pixels to convert.
    for (int y = 0; y < mimic.height(); ++y)
        for (int x = 0; x < mimic.width(); ++x)
            mimic.setPixel(x, y, qRgb((x / 7) % 256, (y / 5) % 256, 60));
    if (format == QImage::Format_Indexed8)
        mimic = mimic.convertToFormat(format, Qt::ThresholdDither);
    const QString path = dir.path() + QStringLiteral("/data/Layouts/Big.bmp");
    if (coded ? !artwork::saveRle8Bmp(mimic, path) : !mimic.save(path, "BMP")) {
        state.SkipWithError("could not write the mimic");
        return;
    }
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
    QCoreApplication::processEvents(); // the first frame
    form.ScrollDirection = 3;
    for (auto _ : state) {
        form.timPollKeys_Timer();
        if (paint)
            QCoreApplication::processEvents();
        if (form.hsbScreen->value() > 30000) {
            state.PauseTiming();
            form.hsbScreen->setValue(0);
            form.ScrollStep = 0;
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    state.counters["picture_MB"] = static_cast<double>(form.picScreen->heldBytes()) / (1024.0 * 1024.0);
}

BENCHMARK_CAPTURE(ScrollTick, full_colour, false, QImage::Format_RGB32)
    ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ScrollTick, full_colour_painted, true, QImage::Format_RGB32)
    ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ScrollTick, eight_bit_painted, true, QImage::Format_Indexed8)
    ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ScrollTick, run_length_coded_painted, true, QImage::Format_Indexed8, true)
    ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
