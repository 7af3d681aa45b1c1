#pragma once

#include "App.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "HidK8055.h"
#include "LocoModuleFixture.h"
#include "QtDccLink.h"
#include "SimulatedBoard.h"
#include "TestFolder.h"

#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

// The program in "DCC" on port 5, which is the simulated box's pseudo-terminal.
class ThrottlePath : public ::testing::Test {
protected:
    void start(const QByteArray& roster)
    {
        std::string error;
        ASSERT_TRUE(box.start(&error)) << error;
        dir.addLayout(QStringLiteral("Home"));
        dir.write(QStringLiteral("data/text/version.txt"), "\"DCC\"\r\n");
        dir.write(QStringLiteral("data/text/layout.txt"), "\"Home\"\r\n");
        dir.write(QStringLiteral("data/text/port.txt"), "5\r\n");
        dir.write(QStringLiteral("data/text/loco.txt"), roster);
        dir.write(QStringLiteral("data/text/function.txt"), FunctionFile);
        dialogs.answer(QStringLiteral("Home"));
        link = std::make_unique<QtDccLink>(PortMap({{5, QString::fromStdString(box.devicePath())}}));
        app = std::make_unique<App>(dir.folder(), dialogs, clock, *link, board, desktop);
        ASSERT_TRUE(app->start());
        ASSERT_TRUE(link->isOpen());
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
    std::unique_ptr<App> app;
};
