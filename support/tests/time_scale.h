#pragma once
// Tests shorten the line's timings to stay quick. A sanitizer build runs every thread several
// times slower, and a busy CI machine can stall a thread for a good part of a second, so the
// shortened timings are stretched by `testTimeScale()`: far enough that a peer answers well
// before the other side gives up, while the retry logic still runs in every test that asks
// for it. ORVEX_TEST_TIME_SCALE (a whole number from 1) sets another factor for a slow machine.

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
