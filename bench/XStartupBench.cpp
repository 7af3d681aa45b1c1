// Start-up on a real X display, the program against a bare Qt window in the
// same run. Each is started in turn and timed from exec to the moment the X
// server maps its main window; the program runs over the demo data in "DC"
// with the simulated board, and its layout prompt is answered by a Return
// key the moment it appears. Some time after the map (the first frame is
// drawn by then) its peak memory is read and it is stopped.
// The mimic is the demo's 3000 x 2000 one, and the same tiled to 6000 x 4000.
//
// Needs an X display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-bench/bench/x_startup_bench
// VARNOLIX_PROGRAM=<path> measures another build of the program.
#include "Rle8Bmp.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* PromptTitle = "Display your layout as a bitmap in 'Paint'";
constexpr const char* ProgramTitle = " in Varnolix DC"; // the main window's status line
constexpr const char* BareTitle = "bare Qt window";
constexpr auto Settle = 600ms; // after the map, for the first frame

struct Mapped {
    xcb_window_t window = 0;
    Clock::time_point at;
    std::string title;
};

// A connection to the X server that is told of every top-level window
// mapped on the screen (there is no window manager under Xvfb).
class XDisplay {
public:
    XDisplay()
        : connection_(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(connection_))
            return;
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        root_ = xcb_setup_roots_iterator(setup).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        netWmName_ = atom("_NET_WM_NAME");
        returnKey_ = keycodeOf(0xff0d, setup);
        xcb_flush(connection_);
    }
    ~XDisplay() { xcb_disconnect(connection_); }
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool ok() const { return !xcb_connection_has_error(connection_) && returnKey_ != 0; }

    // The next top-level window mapped, or nothing by the deadline.
    std::optional<Mapped> nextMap(Clock::time_point deadline)
    {
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const Clock::time_point at = Clock::now();
                const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
                if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                    continue;
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
                if (!map->override_redirect)
                    return Mapped{map->window, at, title(map->window)};
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0 || xcb_connection_has_error(connection_))
                return std::nullopt;
            pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&readable, 1, static_cast<int>(left.count()));
        }
    }

    // What a user answering the prompt at once would do.
    void pressReturn(xcb_window_t window)
    {
        for (const std::uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
            xcb_key_press_event_t key{};
            key.response_type = type;
            key.detail = returnKey_;
            key.time = XCB_CURRENT_TIME;
            key.root = root_;
            key.event = window;
            key.child = XCB_NONE;
            key.same_screen = 1;
            xcb_send_event(connection_, 0, window,
                           type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE,
                           reinterpret_cast<const char*>(&key));
        }
        xcb_flush(connection_);
    }

private:
    xcb_atom_t atom(const char* name)
    {
        const auto cookie = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection_, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    std::string title(xcb_window_t window)
    {
        for (const xcb_atom_t property : {netWmName_, xcb_atom_t{XCB_ATOM_WM_NAME}}) {
            const auto cookie = xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
            const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
                xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
            if (reply && xcb_get_property_value_length(reply.get()) > 0)
                return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                   static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
        }
        return {};
    }

    xcb_keycode_t keycodeOf(xcb_keysym_t keysym, const xcb_setup_t* setup)
    {
        const int count = setup->max_keycode - setup->min_keycode + 1;
        const auto cookie = xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<std::uint8_t>(count));
        const std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> reply(
            xcb_get_keyboard_mapping_reply(connection_, cookie, nullptr), &std::free);
        if (!reply)
            return 0;
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
        const int perCode = reply->keysyms_per_keycode;
        for (int code = 0; code < count; ++code)
            for (int i = 0; i < perCode; ++i)
                if (keysyms[code * perCode + i] == keysym)
                    return static_cast<xcb_keycode_t>(setup->min_keycode + code);
        return 0;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    xcb_atom_t netWmName_ = 0;
    xcb_keycode_t returnKey_ = 0;
};

struct Run {
    double ms = 0;
    double promptMs = 0; // to the layout question's window, the program's first
    double peakMb = 0;
    std::string error;
};

// The environment of the started programs: the X platform whatever the
// benchmarks run under, and the simulated board.
std::vector<std::string> childEnvironment()
{
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        if (variable.rfind("QT_QPA_PLATFORM=", 0) != 0 && variable.rfind("VARNOLIX_SIMULATED_BOARD=", 0) != 0)
            variables.push_back(variable);
    }
    variables.emplace_back("QT_QPA_PLATFORM=xcb");
    variables.emplace_back("VARNOLIX_SIMULATED_BOARD=1");
    return variables;
}

// The peak resident memory of a running process in MB. Not wait4's figure:
// a child started by posix_spawn shares its parent's memory until exec, and
// the kernel keeps that high-water mark as the child's.
double peakMegabytes(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    const Clock::time_point deadline = Clock::now() + 5s;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return;
        }
        std::this_thread::sleep_for(2ms);
    }
}

Run startOnce(XDisplay& display, const std::string& program, const char* mainTitle)
{
    Run run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> variables = childEnvironment();
    std::vector<char*> env;
    for (std::string& variable : variables)
        env.push_back(variable.data());
    env.push_back(nullptr);
    std::string path = program;
    char* args[] = {path.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, args, env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        run.error = "could not start " + program;
        return run;
    }
    const Clock::time_point deadline = start + 20s;
    while (const std::optional<Mapped> mapped = display.nextMap(deadline)) {
        if (mapped->title == PromptTitle) {
            run.promptMs = std::chrono::duration<double, std::milli>(mapped->at - start).count();
            display.pressReturn(mapped->window);
        } else if (mapped->title.find(mainTitle) != std::string::npos) {
            run.ms = std::chrono::duration<double, std::milli>(mapped->at - start).count();
            break;
        }
    }
    if (run.ms == 0)
        run.error = program + " showed no main window within 20 s";
    // Whatever else it maps meanwhile is of no interest.
    const Clock::time_point settled = Clock::now() + Settle;
    while (display.nextMap(settled)) {
    }
    run.peakMb = peakMegabytes(pid);
    stop(pid);
    return run;
}

std::filesystem::path benchFolder()
{
    return std::filesystem::canonical("/proc/self/exe").parent_path();
}

bool copyTree(const QString& from, const QString& to)
{
    bool ok = true;
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        ok = QFile::copy(source, target) && ok;
    }
    return ok;
}

// The demo data beside a copy of the program (it finds its data beside
// itself), in "DC"; the mimic tiled `tiles` times each way.
QString makeDemo(const QTemporaryDir& dir, const std::string& program, int tiles)
{
    const QString root = dir.path();
    const QString executable = root + QStringLiteral("/varnolix");
    if (!QFile::copy(QString::fromStdString(program), executable))
        return {};
    QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!copyTree(QStringLiteral(VARNOLIX_SOURCE_DIR "/data"), root + QStringLiteral("/data"))
        || !copyTree(QStringLiteral(VARNOLIX_SOURCE_DIR "/demo/text"), root + QStringLiteral("/data/text")))
        return {};
    QFile version(root + QStringLiteral("/data/text/version.txt"));
    if (!version.open(QIODevice::WriteOnly) || version.write("\"DC\"\r\n") < 0)
        return {};
    if (tiles > 1) {
        const QString layout = root + QStringLiteral("/data/Layouts/Millbrook Junction.bmp");
        const QImage small(layout);
        if (small.format() != QImage::Format_Indexed8)
            return {};
        QImage big(small.width() * tiles, small.height() * tiles, QImage::Format_Indexed8);
        big.setColorTable(small.colorTable());
        for (int y = 0; y < big.height(); ++y)
            for (int x = 0; x < tiles; ++x)
                std::memcpy(big.scanLine(y) + x * small.width(), small.constScanLine(y % small.height()),
                            static_cast<std::size_t>(small.width()));
        if (!artwork::saveRle8Bmp(big, layout))
            return {};
    }
    return executable;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void StartUpOnX(benchmark::State& state, XDisplay* x, int tiles)
{
    if (!x || !x->ok()) {
        state.SkipWithError("needs an X display: run under xvfb-run -a -s \"-screen 0 1280x1024x24\"");
        return;
    }
    XDisplay& display = *x;
    const char* chosen = std::getenv("VARNOLIX_PROGRAM");
    const std::string program = chosen ? chosen : (benchFolder().parent_path() / "varnolix").string();
    const std::string bare = (benchFolder() / "bare_qt_window").string();
    QTemporaryDir dir;
    const std::string demo = makeDemo(dir, program, tiles).toStdString();
    if (demo.empty()) {
        state.SkipWithError("could not prepare the demo folder");
        return;
    }
    std::vector<double> programMs, promptMs, bareMs, programMb, bareMb;
    bool bareFirst = true;
    for (auto _ : state) {
        // In turns, so that neither always runs with the other's after-effects.
        Run runs[2];
        for (int i = 0; i < 2; ++i) {
            const bool isBare = (i == 0) == bareFirst;
            runs[isBare ? 1 : 0] = startOnce(display, isBare ? bare : demo, isBare ? BareTitle : ProgramTitle);
        }
        bareFirst = !bareFirst;
        for (const Run& run : runs) {
            if (!run.error.empty()) {
                state.SkipWithError(run.error.c_str());
                return;
            }
        }
        state.SetIterationTime(runs[0].ms / 1000.0);
        programMs.push_back(runs[0].ms);
        promptMs.push_back(runs[0].promptMs);
        bareMs.push_back(runs[1].ms);
        programMb.push_back(runs[0].peakMb);
        bareMb.push_back(runs[1].peakMb);
    }
    state.counters["program_ms"] = median(programMs);
    state.counters["prompt_ms"] = median(promptMs);
    state.counters["bare_ms"] = median(bareMs);
    state.counters["ratio"] = median(programMs) / std::max(median(bareMs), 1e-9);
    state.counters["program_peak_MB"] = median(programMb);
    state.counters["bare_peak_MB"] = median(bareMb);
}

} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<XDisplay> display(qEnvironmentVariableIsEmpty("DISPLAY") ? nullptr : new XDisplay);
    benchmark::RegisterBenchmark("StartUpOnX/mimic_3000x2000", StartUpOnX, display.get(), 1)
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);
    benchmark::RegisterBenchmark("StartUpOnX/mimic_6000x4000", StartUpOnX, display.get(), 2)
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
