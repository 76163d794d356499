#pragma once

#include <chrono>
#include <thread>

namespace doubles {

// Asks condition again and again, a pause apart, until it holds or timeout has passed; whether
// it held. Nothing else runs meanwhile on this thread: Qt handles no events.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout,
             std::chrono::milliseconds pause = std::chrono::milliseconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(pause);
    }
    return true;
}

} // namespace doubles
