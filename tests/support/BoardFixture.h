#pragma once

#include "FakeClock.h"
#include "HidK8055.h"
#include "SimulatedBoard.h"

#include <utility>
#include <vector>

// The driver over the simulated board, on a fake clock.
struct SimulatedK8055 {
    SimulatedK8055()
        : device(clock)
        , board(device)
    {
    }

    // The digital output values the board took, in order, each with its
    // time; from the all-off state it starts in, analog changes left out.
    std::vector<std::pair<double, int>> digitalChanges() const
    {
        std::vector<std::pair<double, int>> out;
        int last = 0;
        for (const SimulatedBoard::OutputChange& change : device.outputChanges()) {
            if (change.outputs.digital != last)
                out.emplace_back(change.seconds, change.outputs.digital);
            last = change.outputs.digital;
        }
        return out;
    }

    std::vector<int> digitalValues() const
    {
        std::vector<int> out;
        for (const auto& change : digitalChanges())
            out.push_back(change.second);
        return out;
    }

    FakeClock clock;
    SimulatedBoard device;
    HidK8055 board;
};
