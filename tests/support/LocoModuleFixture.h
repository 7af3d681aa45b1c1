#pragma once

#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QStringList>

// The DCC module over faked services, with the roster files in a throw-away
// data folder and an open link that records every frame.
class LocoModuleFixture : public ::testing::Test {
protected:
    LocoModuleFixture()
        : dcc(shared, link, clock, dialogs, dir.folder())
    {
        shared.LocoFilePath = dir.path() + QStringLiteral("/data/text/loco.txt");
        shared.FunctionFilePath = dir.path() + QStringLiteral("/data/text/function.txt");
        link.present = {3};
        link.open(3);
    }

    void writeLocoFile(const QByteArray& content) { dir.write(QStringLiteral("data/text/loco.txt"), content); }
    QByteArray locoFile() const { return dir.read(QStringLiteral("data/text/loco.txt")); }

    // Every frame sent since the last call, as hex.
    QStringList sent() { return link.takeWritten(); }

    QStringList messageTitles() const { return dialogs.messageTitles(); }

    TestFolder dir;
    Shared shared;
    FakeDccLink link;
    FakeClock clock;
    FakeDialogs dialogs;
    DCC dcc;
};

// Thirteen functions, F0 and F1 latching, the rest momentary.
inline const QByteArray FunctionFile = "\"F0   OFF lights\",#TRUE#\r\n"
                                       "\"F1   OFF bell\",#TRUE#\r\n"
                                       "\"F2   OFF horn\",#FALSE#\r\n"
                                       "\"F3   OFF coupler\",#FALSE#\r\n"
                                       "\"F4   OFF engine\",#FALSE#\r\n"
                                       "\"F5   OFF shunt\",#FALSE#\r\n"
                                       "\"F6   OFF cab\",#FALSE#\r\n"
                                       "\"F7   OFF mute\",#FALSE#\r\n"
                                       "\"F8   OFF brake\",#FALSE#\r\n"
                                       "\"F9   OFF squeal\",#FALSE#\r\n"
                                       "\"F10   OFF fan\",#FALSE#\r\n"
                                       "\"F11   OFF doors\",#FALSE#\r\n"
                                       "\"F12   OFF smoke\",#FALSE#\r\n";
