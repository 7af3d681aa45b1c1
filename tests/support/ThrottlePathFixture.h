#pragma once

#include "BoxPathFixture.h"
#include "LocoModuleFixture.h"

// The program in "DCC" on port 5, which is the simulated box's
// pseudo-terminal, its function boxes named.
class ThrottlePath : public BoxPathFixture {
protected:
    void start(const QByteArray& roster)
    {
        startProgram("DCC", roster, FunctionFile);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(link->isOpen());
    }
};
