#pragma once
// Polls `predicate` until it holds or `timeout` has passed; returns the last result. The default
// time-out is generous and stretched for slow builds: a wait that succeeds costs only its own time.

#include "time_scale.h"

#include <chrono>
#include <thread>

template <typename Predicate>
bool waitUntil(Predicate predicate, std::chrono::milliseconds timeout = scaled(std::chrono::seconds(10)))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return predicate();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}
