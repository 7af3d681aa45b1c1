#include "PrivateBus.h"

#include <QFile>

PrivateBus::PrivateBus()
{
    const QString config = dir_.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("cannot write %1").arg(config);
        return;
    }
    // Nothing is activated on demand: a name is there only when a test owns it.
    file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                              "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                              "<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                              "<policy context=\"default\"><allow send_destination=\"*\"/><allow own=\"*\"/><allow receive_sender=\"*\"/>"
                              "</policy></busconfig>\n")
                   .arg(dir_.path())
                   .toUtf8());
    file.close();
    daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                                                 QStringLiteral("--nopidfile"), QStringLiteral("--print-address")});
    // The daemon prints its address once it listens; that line is all we wait for.
    if (!daemon_.waitForStarted() || !daemon_.waitForReadyRead()) {
        error_ = QStringLiteral("dbus-daemon did not start: %1").arg(daemon_.errorString());
        return;
    }
    while (!daemon_.canReadLine() && daemon_.waitForReadyRead()) {
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    daemon_.terminate();
    daemon_.waitForFinished();
}
