#pragma once

#include <string>
#include <string_view>

namespace dccbox {

class SimulatedBox;

// One line typed at the box's terminal ("stop", "takeover 1234", "help" ...),
// carried out on the box. Returns what to print: what was done, the help, or
// why the line was not understood.
std::string runBoxCommand(SimulatedBox& box, std::string_view line);

} // namespace dccbox
