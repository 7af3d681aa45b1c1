#include "GuardProtocol.h"

#include "K8055.h"

#include <QList>

namespace k8055_guard {

QByteArray command(const char* call, std::initializer_list<int> numbers)
{
    QByteArray line(call);
    for (const int number : numbers)
        line += ' ' + QByteArray::number(number);
    return line + '\n';
}

QByteArray replyLine(const Reply& reply)
{
    QByteArray line("=");
    for (const int number : reply.numbers)
        line += ' ' + QByteArray::number(number);
    // A fault is one line of text: no tab or line break may split the reply.
    QString fault = reply.fault;
    fault.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line + '\t' + fault.toUtf8() + '\n';
}

std::optional<Reply> parseReply(QByteArrayView line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    const qsizetype tab = line.indexOf('\t');
    if (!line.startsWith('=') || tab < 0)
        return std::nullopt;
    Reply reply;
    for (const QByteArray& word : line.sliced(1, tab - 1).toByteArray().split(' ')) {
        if (word.isEmpty())
            continue;
        bool ok = false;
        reply.numbers.push_back(word.toInt(&ok));
        if (!ok)
            return std::nullopt;
    }
    reply.fault = QString::fromUtf8(line.sliced(tab + 1));
    return reply;
}

Server::Server(K8055Board& board)
    : board_(board)
{
}

QByteArray Server::handle(QByteArrayView line)
{
    const QList<QByteArray> words = line.toByteArray().simplified().split(' ');
    const QByteArray& call = words.front();
    std::vector<int> args;
    for (qsizetype i = 1; i < words.size(); ++i)
        args.push_back(words[i].toInt());
    const auto arg = [&args](std::size_t i) { return i < args.size() ? args[i] : 0; };
    const auto answer = [this](std::vector<int> numbers) {
        return replyLine({std::move(numbers), silenced_.isEmpty() ? board_.fault() : silenced_});
    };

    if (call == "OpenDevice") {
        silenced_.clear();
        return answer({board_.OpenDevice(arg(0))});
    }
    if (!silenced_.isEmpty()) {
        // A lost board: calls do nothing, reads give 0.
        const bool answers = call == "ReadAllDigital" || call == "ReadAllAnalog" || call == "ReadCounter";
        return answers ? answer({0, 0}) : QByteArray();
    }
    if (call == "ReadAllDigital")
        return answer({board_.ReadAllDigital()});
    if (call == "ReadAllAnalog") {
        int a1 = 0;
        int a2 = 0;
        board_.ReadAllAnalog(&a1, &a2);
        return answer({a1, a2});
    }
    if (call == "ReadCounter")
        return answer({board_.ReadCounter(arg(0))});
    // The calls that answer nothing, with their two numbers at most.
    struct Order {
        const char* name;
        void (*run)(K8055& board, int a, int b);
    };
    static constexpr Order orders[] = {
        {"CloseDevice", [](K8055& b, int, int) { b.CloseDevice(); }},
        {"WriteAllDigital", [](K8055& b, int a, int) { b.WriteAllDigital(a); }},
        {"ClearAllDigital", [](K8055& b, int, int) { b.ClearAllDigital(); }},
        {"SetAllDigital", [](K8055& b, int, int) { b.SetAllDigital(); }},
        {"SetDigitalChannel", [](K8055& b, int a, int) { b.SetDigitalChannel(a); }},
        {"ClearDigitalChannel", [](K8055& b, int a, int) { b.ClearDigitalChannel(a); }},
        {"OutputAnalogChannel", [](K8055& b, int a, int level) { b.OutputAnalogChannel(a, level); }},
        {"SetAllAnalog", [](K8055& b, int, int) { b.SetAllAnalog(); }},
        {"ClearAllAnalog", [](K8055& b, int, int) { b.ClearAllAnalog(); }},
        {"ResetCounter", [](K8055& b, int a, int) { b.ResetCounter(a); }},
        {"SetCounterDebounceTime", [](K8055& b, int a, int ms) { b.SetCounterDebounceTime(a, ms); }},
    };
    for (const Order& order : orders)
        if (call == order.name)
            order.run(board_, arg(0), arg(1));
    return {};
}

void Server::allOff()
{
    board_.ClearAllDigital();
    board_.ClearAllAnalog();
}

void Server::silence(const QString& why)
{
    allOff();
    silenced_ = why;
}

} // namespace k8055_guard
