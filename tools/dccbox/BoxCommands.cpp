#include "dccbox/BoxCommands.h"

#include "dccbox/SimulatedBox.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>

namespace dccbox {
namespace {

struct Command {
    std::string_view name;
    std::string_view argument; // empty: takes none
    std::string_view help;
    std::function<bool(SimulatedBox&, unsigned)> run;
};

const std::array<Command, 13>& commands()
{
    static const std::array<Command, 13> table = {{
        {"stop", "", "emergency stop, as from a hand throttle (81 00 81)",
         [](SimulatedBox& box, unsigned) { return box.send(emergencyStop); }},
        {"off", "", "track power off, as after a short circuit (61 00 61)",
         [](SimulatedBox& box, unsigned) { return box.send(trackPowerOff); }},
        {"service", "", "service mode (61 02 63)",
         [](SimulatedBox& box, unsigned) { return box.send(serviceMode); }},
        {"resume", "", "normal operation again, track power on (61 01 60)",
         [](SimulatedBox& box, unsigned) { return box.send(normalOperation); }},
        {"silent", "", "answer nothing from now on, as if the bus cable were pulled",
         [](SimulatedBox& box, unsigned) { box.setSilent(true); return true; }},
        {"talk", "", "answer again",
         [](SimulatedBox& box, unsigned) { box.setSilent(false); return true; }},
        {"slot-lost", "", "the command station stops polling the interface (01 05 04)",
         [](SimulatedBox& box, unsigned) { return box.loseTimeSlot(); }},
        {"slot-back", "", "the time slot is back (01 07 06)",
         [](SimulatedBox& box, unsigned) { return box.restoreTimeSlot(); }},
        {"takeover", "LOCO", "another throttle takes loco LOCO over (E3 40 ..)",
         [](SimulatedBox& box, unsigned loco) { return box.takeOver(loco); }},
        {"fail", "N", "answer the next N frames with 01 02 03 (not passed on)",
         [](SimulatedBox& box, unsigned count) { box.failNext(count); return true; }},
        {"ignore", "N", "answer nothing to the next N frames",
         [](SimulatedBox& box, unsigned count) { box.ignoreNext(count); return true; }},
        {"busy", "N", "answer the next N frames with 61 81 (command station busy)",
         [](SimulatedBox& box, unsigned count) { box.busyNext(count); return true; }},
        {"delay", "MS", "send every answer MS milliseconds late from now on (0: at once)",
         [](SimulatedBox& box, unsigned ms) { box.setAnswerDelay(static_cast<int>(std::min(ms, 60000u))); return true; }},
    }};
    return table;
}

std::string help()
{
    std::string text = "Commands:";
    for (const Command& command : commands()) {
        std::string name(command.name);
        if (!command.argument.empty())
            name += " " + std::string(command.argument);
        name.resize(std::max<std::size_t>(name.size(), 14), ' ');
        text += "\n  " + name;
        text += command.help;
    }
    return text + "\n  help          this list";
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

std::string runBoxCommand(SimulatedBox& box, std::string_view line)
{
    line = trimmed(line);
    const auto space = line.find(' ');
    const std::string_view name = line.substr(0, space);
    const std::string_view argument = space == std::string_view::npos ? std::string_view{} : trimmed(line.substr(space));
    if (name.empty())
        return {};
    if (name == "help")
        return help();
    for (const Command& command : commands()) {
        if (command.name != name)
            continue;
        unsigned value = 0;
        if (!command.argument.empty()) {
            const auto [end, error] = std::from_chars(argument.data(), argument.data() + argument.size(), value);
            const bool isLoco = command.argument == "LOCO";
            if (argument.empty() || error != std::errc() || end != argument.data() + argument.size()
                || (isLoco && (value < 1 || value > 9999)))
                return std::string(name) + " wants " + (isLoco ? "a loco number 1..9999" : "a number") + ", e.g. "
                    + std::string(name) + (isLoco ? " 1234" : " 2");
        } else if (!argument.empty()) {
            return std::string(name) + " takes nothing after it";
        }
        if (!command.run(box, value))
            return std::string(name) + ": not sent";
        return std::string(name) + ": done";
    }
    return "unknown command \"" + std::string(name) + "\"; help lists the commands";
}

} // namespace dccbox
