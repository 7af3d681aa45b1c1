#pragma once

#include "App.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "HidK8055.h"
#include "QtDccLink.h"
#include "SimulatedBoard.h"
#include "TestFolder.h"

#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <memory>

// The whole program on port 5, which is a real pseudo-terminal to the
// simulated DCC box, with the simulated K8055 board; the start-up's dialogs
// cleared away.
class BoxPathFixture : public ::testing::Test {
protected:
    // function.txt is written only when given.
    void startProgram(const char* controlSystem, const QByteArray& roster, const QByteArray& functions = {})
    {
        std::string error;
        ASSERT_TRUE(box.start(&error)) << error;
        link = std::make_unique<QtDccLink>(PortMap({{5, QString::fromStdString(box.devicePath())}}));
        dir.addLayout(QStringLiteral("Home"));
        dir.write(QStringLiteral("data/text/version.txt"), QByteArray("\"") + controlSystem + "\"\r\n");
        dir.write(QStringLiteral("data/text/layout.txt"), "\"Home\"\r\n");
        dir.write(QStringLiteral("data/text/port.txt"), "5\r\n");
        dir.write(QStringLiteral("data/text/loco.txt"), roster);
        if (!functions.isEmpty())
            dir.write(QStringLiteral("data/text/function.txt"), functions);
        dialogs.answer(QStringLiteral("Home"));
        app = std::make_unique<App>(dir.folder(), dialogs, clock, *link, board, desktop);
        ASSERT_TRUE(app->start());
        dialogs.shown.clear();
    }

    dccbox::SimulatedBox box;
    TestFolder dir;
    FakeDialogs dialogs;
    FakeClock clock;
    std::unique_ptr<QtDccLink> link;
    // What the program gets of the desktop; a test may give it a phone server.
    DesktopServices desktop;
    SimulatedBoard boardDevice{clock};
    HidK8055 board{boardDevice};
    // Last: the program goes before the link and the board it drives.
    std::unique_ptr<App> app;
};
