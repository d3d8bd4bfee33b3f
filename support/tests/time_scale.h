#pragma once
// Tests shorten the line's timings to stay quick, and a sanitizer build runs every thread several
// times slower, so the shortened timings are stretched by `testTimeScale()`. No factor covers a
// busy CI machine, which can stall any thread for a second or more: there, a test does not rely
// on a peer answering within a timing. It turns off the timers it does not test, or runs both
// ends patient enough to outlast any stall, and asserts of the timers it tests only what holds
// however late a thread runs. Its bounds are waits on a condition with deadlines of many
// seconds, stretched here as well, which cost nothing when the condition comes early.
// ORVEX_TEST_TIME_SCALE (a whole number from 1) sets another factor for a slow machine.

#include <chrono>
#include <cstdlib>

#if defined(__SANITIZE_THREAD__)
#define ORVEX_TEST_TIME_SCALE_DEFAULT 5
#elif defined(__SANITIZE_ADDRESS__)
#define ORVEX_TEST_TIME_SCALE_DEFAULT 2
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ORVEX_TEST_TIME_SCALE_DEFAULT 5
#elif __has_feature(address_sanitizer)
#define ORVEX_TEST_TIME_SCALE_DEFAULT 2
#endif
#endif
#ifndef ORVEX_TEST_TIME_SCALE_DEFAULT
#define ORVEX_TEST_TIME_SCALE_DEFAULT 1
#endif

inline int testTimeScale()
{
    static const int scale = [] {
        if (const char *text = std::getenv("ORVEX_TEST_TIME_SCALE")) {
            const long value = std::strtol(text, nullptr, 10);
            if (value >= 1 && value <= 100)
                return static_cast<int>(value);
        }
        return ORVEX_TEST_TIME_SCALE_DEFAULT;
    }();
    return scale;
}

// `duration` stretched by the test time scale.
template <typename Rep, typename Period>
std::chrono::milliseconds scaled(std::chrono::duration<Rep, Period> duration)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(duration) * testTimeScale();
}
