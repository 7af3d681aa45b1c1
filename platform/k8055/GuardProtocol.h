#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <initializer_list>
#include <optional>
#include <vector>

class K8055Board;

// The K8055 guardian's protocol: Varnolix sends one line per board call, the
// call's own name and its numbers ("WriteAllDigital 6"); calls that return
// something are answered with one line, "=", the numbers, a tab and the
// board's fault text ("= 6\t"). "ping" is the heartbeat and has no answer.
namespace k8055_guard {

inline constexpr char Heartbeat[] = "ping";

QByteArray command(const char* call, std::initializer_list<int> numbers = {});

struct Reply {
    std::vector<int> numbers;
    QString fault;
    bool operator==(const Reply&) const = default;
};
QByteArray replyLine(const Reply& reply);
std::optional<Reply> parseReply(QByteArrayView line);

// The guardian's side: turns command lines into calls of the board it owns.
class Server {
public:
    explicit Server(K8055Board& board);
    // One command line without its newline; the answer line, or empty when
    // the call has none (or the line is no call this protocol knows).
    QByteArray handle(QByteArrayView line);
    // Every output off, digital and analog: Varnolix has gone.
    void allOff();
    // Every output off, and the board counts as lost, saying `why`, until
    // Varnolix opens it again: Varnolix fell silent, so what it asked for
    // before may no longer be what it shows.
    void silence(const QString& why);

private:
    K8055Board& board_;
    QString silenced_;
};

} // namespace k8055_guard
