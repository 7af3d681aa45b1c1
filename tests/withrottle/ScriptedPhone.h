#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTcpSocket>

#include <functional>

// Lets the program and the other end talk until `done`, for at most about
// 5 s; true when it came to that.
inline bool talkUntil(const std::function<bool()>& done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A phone as a script over TCP on this machine: writes lines, collects the
// lines it is sent.
class ScriptedPhone {
public:
    explicit ScriptedPhone(quint16 port)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
            buffer += socket.readAll();
            while (buffer.contains('\n')) {
                const qsizetype end = buffer.indexOf('\n');
                heard << QString::fromUtf8(buffer.left(end));
                buffer.remove(0, end + 1);
            }
        });
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    }
    void say(const QByteArray& lines)
    {
        socket.write(lines);
        socket.flush();
    }
    // Waits for a line that starts with `start`; true when it came.
    bool hears(const QString& start)
    {
        return talkUntil([&] { return heardLine(start); });
    }
    bool heardLine(const QString& start) const
    {
        for (const QString& line : heard)
            if (line.startsWith(start))
                return true;
        return false;
    }
    bool gone()
    {
        return talkUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; });
    }

    QTcpSocket socket;
    QByteArray buffer;
    QStringList heard;
};
