#pragma once

#include <string>

namespace dccbox {

// The master side of a pseudo-terminal in raw mode. It also keeps a slave
// descriptor of its own, so the pty never hangs up while the program under
// test closes and reopens the port.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // False with a reason in *error (when given) if the system refused.
    bool open(std::string* error = nullptr);
    void close();

    // Non-blocking; -1 when closed.
    int masterFd() const { return master_; }
    // "/dev/pts/N"; empty when closed.
    const std::string& slavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

} // namespace dccbox
