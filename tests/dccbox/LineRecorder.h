#pragma once

#include "dccbox/SimulatedBox.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

// Keeps the box's lines, which arrive on the box's thread, and lets a test
// wait for a particular one instead of sleeping.
class LineRecorder {
public:
    dccbox::LineHandler handler()
    {
        return [this](const std::string& line) {
            {
                std::lock_guard lock(mutex_);
                lines_.push_back(line);
            }
            changed_.notify_all();
        };
    }

    std::vector<std::string> lines() const
    {
        std::lock_guard lock(mutex_);
        return lines_;
    }

    bool waitFor(const std::string& line, std::chrono::milliseconds timeout = std::chrono::seconds(3))
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout,
                                 [&] { return std::find(lines_.begin(), lines_.end(), line) != lines_.end(); });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
};
