#pragma once
// Polls `predicate` until it holds or `timeout` has passed; returns the last result.

#include <chrono>
#include <thread>

template <typename Predicate>
bool waitUntil(Predicate predicate, std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return predicate();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}
