// The track and link controls of the toolbar.
#include "Form1.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

QGroupBox* Form1::buildTrackFrame()
{
    fraTrack = new QGroupBox(QStringLiteral("track"));
    fraTrack->setObjectName(QStringLiteral("fraTrack"));
    auto* grid = new QGridLayout(fraTrack);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setSpacing(3);
    const auto button = [this](const char* name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, fraTrack);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        // The keyboard stays with the windows: Escape must reach the stop.
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    cmdStop = button("cmdStop", QStringLiteral("STOP"),
                     QStringLiteral("emergency stop: every DCC loco and both DC motors stop, every coil output off (Esc)"));
    cmdStop->setStyleSheet(QStringLiteral("QPushButton { background-color: #c81e1e; color: white; font-weight: bold; padding: 4px 10px; }"));
    cmdPowerOff = button("cmdPowerOff", QStringLiteral("power off"), QStringLiteral("track power off at the command station"));
    cmdResume = button("cmdResume", QStringLiteral("resume"),
                       QStringLiteral("track power on: normal operation after an emergency stop or power off"));
    cmdMonitor = button("cmdMonitor", QStringLiteral("monitor"), QStringLiteral("every frame to and from the DCC box (F12)"));
    cmdInterface = button("cmdInterface", QStringLiteral("interface"), QStringLiteral("choose the DCC interface and test it"));
    cmdPhones = button("cmdPhones", QStringLiteral("phones"), QStringLiteral("phone throttles: let phones drive (WiThrottle)"));
    grid->addWidget(cmdStop, 0, 0, 2, 1);
    grid->addWidget(cmdPowerOff, 0, 1);
    grid->addWidget(cmdResume, 1, 1);
    grid->addWidget(cmdMonitor, 0, 2);
    grid->addWidget(cmdInterface, 1, 2);
    grid->addWidget(cmdPhones, 0, 3);
    connect(cmdStop, &QPushButton::clicked, this, &Form1::emergencyStopRequested);
    connect(cmdPowerOff, &QPushButton::clicked, this, &Form1::trackPowerOffRequested);
    connect(cmdResume, &QPushButton::clicked, this, &Form1::resumeRequested);
    connect(cmdMonitor, &QPushButton::clicked, this, &Form1::monitorRequested);
    connect(cmdInterface, &QPushButton::clicked, this, &Form1::interfaceRequested);
    connect(cmdPhones, &QPushButton::clicked, this, &Form1::phonesRequested);
    return fraTrack;
}

void Form1::setDccControlsVisible(bool visible)
{
    for (QPushButton* b : {cmdPowerOff, cmdResume, cmdMonitor, cmdInterface, cmdPhones})
        b->setVisible(visible);
}
