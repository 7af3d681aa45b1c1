#pragma once

#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "FakeWindowHost.h"
#include "SR.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

// The SR module with every platform service and the windows faked.
class StartupFixture : public ::testing::Test {
protected:
    StartupFixture()
        : dcc(shared, link, clock, dialogs, dir.folder())
        , sr(shared, dialogs, clock, dir.folder(), dcc, windows)
    {
        link.present = {3};
        link.answering = {3};
    }

    TestFolder dir;
    Shared shared;
    FakeDccLink link;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeWindowHost windows;
    DCC dcc;
    SR sr;
};
