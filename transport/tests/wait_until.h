#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Polls `done` until it holds or `timeout` passes; true when it held.
inline bool waitUntil(const std::function<bool()> &done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
