#pragma once

#include "App.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "HidK8055.h"
#include "SimulatedBoard.h"
#include "Form2.h"
#include "Form2a.h"
#include "Form2b.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QApplication>

// The whole program, windows included, over faked platform services: the
// layout "Home" of the given size, port 3 answering.
class AppFixture : public ::testing::Test {
protected:
    explicit AppFixture(int layoutWidth = 3000, int layoutHeight = 2000)
    {
        dir.addLayout(QStringLiteral("Home"), layoutWidth, layoutHeight);
        dir.write(QStringLiteral("data/text/layout.txt"), "\"Home\"\r\n");
        dir.write(QStringLiteral("data/text/port.txt"), "3\r\n");
        link.present = {3};
        link.answering = {3};
    }

    bool startWith(const char* controlSystem)
    {
        writeControlSystem(controlSystem);
        dialogs.answer(QStringLiteral("Home"));
        app = std::make_unique<App>(dir.folder(), dialogs, clock, link, board);
        return app->start();
    }

    void writeControlSystem(const char* controlSystem)
    {
        dir.write(QStringLiteral("data/text/version.txt"), QByteArray("\"") + controlSystem + "\"\r\n");
    }

    template <typename T>
    T* find(QWidget* window, const QString& name) const
    {
        return window->findChild<T*>(name);
    }

    TestFolder dir;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDccLink link;
    SimulatedBoard boardDevice{clock};
    HidK8055 board{boardDevice};
    // Last: the program goes before the board it drives.
    std::unique_ptr<App> app;
};
