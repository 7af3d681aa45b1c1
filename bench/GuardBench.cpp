// What the hop through the K8055 guardian costs: the same board calls made
// in process (the driver over the simulated board) and through the guardian
// program over its socket (the driver over the simulated board there).
#include "GuardedK8055.h"
#include "HidK8055.h"
#include "QtClock.h"
#include "SimulatedBoard.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

namespace {

std::unique_ptr<GuardedK8055> guardian()
{
    // Its heartbeat timer wants an application object; no event loop runs,
    // so no heartbeat is sent and the guardian is told to wait long.
    static int argc = 1;
    static char name[] = "guard_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    auto board = std::make_unique<GuardedK8055>(
        QStringLiteral(VARNOLIX_GUARD_PROGRAM),
        QStringList{QStringLiteral("--simulated"), QStringLiteral("--watch-ms"), QStringLiteral("600000"),
                    QStringLiteral("--log"), QStringLiteral("/dev/null")});
    board->OpenDevice(0);
    return board;
}

// A call that answers: the full way there and back.
void BM_ReadInProcess(benchmark::State& state)
{
    QtClock clock;
    SimulatedBoard device(clock);
    HidK8055 board(device);
    board.OpenDevice(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(board.ReadAllDigital());
}
BENCHMARK(BM_ReadInProcess);

void BM_ReadThroughTheGuardian(benchmark::State& state)
{
    const auto board = guardian();
    for (auto _ : state)
        benchmark::DoNotOptimize(board->ReadAllDigital());
}
BENCHMARK(BM_ReadThroughTheGuardian);

// A coil phase as the pulse writes it, made sure to have reached the board:
// the write, then an answering call that the guardian takes after it.
void BM_CoilPhaseThroughTheGuardian(benchmark::State& state)
{
    const auto board = guardian();
    int code = 6;
    for (auto _ : state) {
        board->WriteAllDigital(code);
        benchmark::DoNotOptimize(board->ReadAllDigital());
        code ^= 1;
    }
}
BENCHMARK(BM_CoilPhaseThroughTheGuardian);

void BM_CoilPhaseInProcess(benchmark::State& state)
{
    QtClock clock;
    SimulatedBoard device(clock);
    HidK8055 board(device);
    board.OpenDevice(0);
    int code = 6;
    for (auto _ : state) {
        board.WriteAllDigital(code);
        benchmark::DoNotOptimize(board.ReadAllDigital());
        code ^= 1;
    }
}
BENCHMARK(BM_CoilPhaseInProcess);

} // namespace

BENCHMARK_MAIN();
