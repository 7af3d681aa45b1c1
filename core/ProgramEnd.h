#pragma once

#include <exception>

// Thrown where the program must end at once during start-up: an empty answer
// to the control-system, layout or port question. Caught by the composition
// root, which then returns from main without running the event loop.
// Never thrown from an event handler.
class ProgramEnd final : public std::exception {
public:
    const char* what() const noexcept override { return "program end requested"; }
};
