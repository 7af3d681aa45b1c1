// The program's own start-up cost: a fresh process that builds the whole
// program over the demo data in "DC" (no serial settle pause) under the
// offscreen platform, answers the layout prompt at once through a scripted
// dialog, and ends as soon as all its windows are shown. The parent times
// each process from spawn to exit and reads its peak memory.
#include "HidK8055.h"
#include "SimulatedBoard.h"
#include "App.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "Form2b.h"
#include "ProgramFolder.h"
#include "QtClock.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

int runChild(int argc, char** argv, const QString& folderPath)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const ProgramFolder folder(folderPath);
    QtClock clock;
    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("Millbrook Junction"));
    FakeDccLink link; // "DC" never opens the serial port
    SimulatedBoard boardDevice(clock);
    HidK8055 board(boardDevice);
    App app(folder, dialogs, clock, link, board);
    if (!app.start())
        return 2;
    // Until every window the user sees is shown.
    while (!app.form1().isVisible() || !app.form2b() || !app.form2b()->isVisible())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return 0;
}

QString makeDemoFolder(const QTemporaryDir& dir)
{
    const QString data = dir.path() + QStringLiteral("/data");
    const QString source = QStringLiteral(VARNOLIX_SOURCE_DIR "/data");
    for (const QString& sub : {QStringLiteral("Layouts"), QStringLiteral("VM110"), QStringLiteral("text")}) {
        QDir(data).mkpath(sub);
        const QDir from(source + QLatin1Char('/') + sub);
        for (const QString& name : from.entryList(QDir::Files))
            QFile::copy(from.filePath(name), data + QLatin1Char('/') + sub + QLatin1Char('/') + name);
    }
    QFile version(data + QStringLiteral("/text/version.txt"));
    if (version.open(QIODevice::WriteOnly))
        version.write("\"DC\"\r\n");
    return dir.path();
}

std::string self;

void StartUpToAllWindowsShown(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string folder = makeDemoFolder(dir).toStdString();
    long peakKb = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::string childFlag = "--child";
        char* args[] = {self.data(), childFlag.data(), const_cast<char*>(folder.c_str()), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, args, environ) != 0) {
            state.SkipWithError("could not start the program");
            break;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not start up");
            break;
        }
        state.SetIterationTime(elapsed.count());
        peakKb = std::max(peakKb, usage.ru_maxrss);
    }
    state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
}

BENCHMARK(StartUpToAllWindowsShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--child")
        return runChild(argc, argv, QString::fromLocal8Bit(argv[2]));
    self = argv[0];
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
