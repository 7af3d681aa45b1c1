#pragma once

#include <string>

namespace dccbox {

// A symlink at a fixed path to the pty's changing /dev/pts/N, so the program
// under test can be configured once. A stale link from an earlier run is
// replaced; anything else at the path is left alone and reported.
bool makeDeviceLink(const std::string& target, const std::string& linkPath, std::string* error = nullptr);

// Removes the link only while it still points at target, so a newer run's
// link survives an older run shutting down.
void removeDeviceLink(const std::string& target, const std::string& linkPath);

} // namespace dccbox
