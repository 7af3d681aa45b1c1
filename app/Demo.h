#pragma once

#include "dccbox/SimulatedBox.h"

#include <QString>
#include <QTemporaryDir>

// The demo's stand-ins for a layout: a fresh data folder with the demo
// settings (removed at the end), the simulated DCC box on a pseudo-terminal
// as port 5, and the simulated K8055 board. Every frame the box receives and
// every change of the board's outputs is printed on standard output.
class Demo {
public:
    Demo();
    ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    // Fills the data folder from the demo settings, then from the shipped
    // data, and starts the box. False with the reason in *error.
    bool start(const QString& demoSettings, const QString& shippedData, QString* error);
    QString dataFolder() const;
    QString boxDevice() const;

private:
    QTemporaryDir dir_;
    dccbox::SimulatedBox box_;
};
