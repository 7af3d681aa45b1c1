#include "StopSignals.h"

#include <cstdlib>
#include <utility>

namespace {

// std::atexit takes no context, so the hook it runs lives at file scope.
std::function<void()>* exitAction = nullptr;

void runExitAction()
{
    if (std::function<void()>* action = std::exchange(exitAction, nullptr))
        (*action)();
}

} // namespace

ExitHook::ExitHook(std::function<void()> action)
    : action_(std::move(action))
{
    [[maybe_unused]] static const bool registered = std::atexit(runExitAction) == 0;
    exitAction = &action_;
}

ExitHook::~ExitHook()
{
    if (exitAction == &action_)
        exitAction = nullptr;
}
