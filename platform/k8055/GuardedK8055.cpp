#include "GuardedK8055.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using namespace k8055_guard;

GuardedK8055::GuardedK8055(const QString& program, const QStringList& arguments)
    : program_(program)
    , arguments_(arguments)
{
    heartbeat_.setInterval(HeartbeatMs);
    QObject::connect(&heartbeat_, &QTimer::timeout, [this] { send(QByteArray(Heartbeat) + '\n'); });
    start();
}

void GuardedK8055::start()
{
    const QString& program = program_;
    endGuardian();
    received_.clear();
    if (!QFileInfo(program).isExecutable()) {
        lose(QStringLiteral("the K8055 guardian program %1 is missing or not executable; build or install it beside "
                            "Varnolix")
                 .arg(program));
        return;
    }
    // Everything the child needs is made before the fork: after it, the
    // child only rewires its standard input and output and runs the guardian.
    std::vector<std::string> words{program.toStdString()};
    for (const QString& argument : arguments_)
        words.push_back(argument.toStdString());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int ends[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        lose(QStringLiteral("no connection to the K8055 guardian could be made (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // A session of its own: the terminal's job control (Ctrl+Z, fg)
        // and its Ctrl+C reach Varnolix's process group, never the guardian.
        ::setsid();
        ::dup2(ends[1], STDIN_FILENO);
        ::dup2(ends[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        lose(QStringLiteral("the K8055 guardian %1 could not be started (%2)").arg(program, QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    guardian_ = child;
    socket_ = ends[0];
    fault_.clear();
    heartbeat_.start();
}

void GuardedK8055::endGuardian()
{
    if (guardian_ <= 0)
        return;
    // One that ended is reaped at once; one that still runs has stopped
    // answering (or was stopped): it may still hold the board, so it goes.
    if (::waitpid(guardian_, nullptr, WNOHANG) == 0) {
        ::kill(guardian_, SIGKILL);
        while (::waitpid(guardian_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    guardian_ = -1;
}

GuardedK8055::~GuardedK8055()
{
    heartbeat_.stop();
    if (socket_ >= 0)
        ::close(socket_);
    if (guardian_ <= 0)
        return;
    // The guardian turns everything off and ends at once; it is given up to
    // two seconds before it is left to end on its own.
    for (int i = 0; i < 200; ++i) {
        if (::waitpid(guardian_, nullptr, WNOHANG) != 0)
            return;
        const timespec tenMs{0, 10'000'000};
        ::nanosleep(&tenMs, nullptr);
    }
}

void GuardedK8055::send(const QByteArray& line)
{
    const char* data = line.constData();
    qsizetype left = line.size();
    while (socket_ >= 0 && left > 0) {
        const ssize_t sent = ::send(socket_, data, static_cast<std::size_t>(left), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0) {
            lose(guardianEnded());
            return;
        }
        data += sent;
        left -= sent;
    }
}

std::vector<int> GuardedK8055::ask(const QByteArray& line, std::size_t count)
{
    send(line);
    std::vector<int> numbers;
    while (socket_ >= 0) {
        const qsizetype end = received_.indexOf('\n');
        if (end >= 0) {
            const std::optional<Reply> reply = parseReply(QByteArrayView(received_).first(end));
            received_.remove(0, end + 1);
            if (reply) {
                numbers = reply->numbers;
                fault_ = reply->fault;
            }
            break;
        }
        pollfd watch{socket_, POLLIN, 0};
        const int ready = ::poll(&watch, 1, answerTimeoutMs_);
        if (ready < 0 && errno == EINTR)
            continue;
        char buffer[512];
        const ssize_t got = ready > 0 ? ::recv(socket_, buffer, sizeof buffer, 0) : -1;
        if (got <= 0) {
            lose(ready == 0 ? QStringLiteral("the K8055 guardian %1 stopped answering").arg(program_) : guardianEnded());
            break;
        }
        received_.append(buffer, got);
    }
    numbers.resize(std::max(numbers.size(), count), 0);
    return numbers;
}

QString GuardedK8055::guardianEnded() const
{
    return QStringLiteral("the K8055 guardian %1 has ended; the board is opened again through a new one").arg(program_);
}

void GuardedK8055::lose(const QString& why)
{
    fault_ = why;
    if (socket_ >= 0)
        ::close(socket_);
    socket_ = -1;
    heartbeat_.stop();
}

int GuardedK8055::OpenDevice(int cardAddress)
{
    if (!connected())
        start();
    if (!connected())
        return -1;
    const int result = ask(command("OpenDevice", {cardAddress}), 1)[0];
    return connected() ? result : -1;
}

void GuardedK8055::CloseDevice()
{
    send(command("CloseDevice"));
}

void GuardedK8055::WriteAllDigital(int value)
{
    send(command("WriteAllDigital", {value}));
}

void GuardedK8055::ClearAllDigital()
{
    send(command("ClearAllDigital"));
}

void GuardedK8055::SetAllDigital()
{
    send(command("SetAllDigital"));
}

void GuardedK8055::SetDigitalChannel(int channel)
{
    send(command("SetDigitalChannel", {channel}));
}

void GuardedK8055::ClearDigitalChannel(int channel)
{
    send(command("ClearDigitalChannel", {channel}));
}

int GuardedK8055::ReadAllDigital()
{
    return ask(command("ReadAllDigital"), 1)[0];
}

void GuardedK8055::OutputAnalogChannel(int channel, int level)
{
    send(command("OutputAnalogChannel", {channel, level}));
}

void GuardedK8055::SetAllAnalog()
{
    send(command("SetAllAnalog"));
}

void GuardedK8055::ClearAllAnalog()
{
    send(command("ClearAllAnalog"));
}

void GuardedK8055::ReadAllAnalog(int* data1, int* data2)
{
    const std::vector<int> values = ask(command("ReadAllAnalog"), 2);
    if (data1)
        *data1 = values[0];
    if (data2)
        *data2 = values[1];
}

int GuardedK8055::ReadCounter(int counter)
{
    return ask(command("ReadCounter", {counter}), 1)[0];
}

void GuardedK8055::ResetCounter(int counter)
{
    send(command("ResetCounter", {counter}));
}

void GuardedK8055::SetCounterDebounceTime(int counter, int milliseconds)
{
    send(command("SetCounterDebounceTime", {counter, milliseconds}));
}
