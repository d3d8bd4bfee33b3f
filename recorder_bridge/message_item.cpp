#include "message_item.h"

#include <atomic>
#include <ctime>

namespace recorder_bridge {

namespace {

std::atomic<std::int16_t> g_sequenceCounter{1};

} // namespace

MessageItem::MessageItem() : Timestamp(LocalTimestampText()), EventSequenceNumber(TakeEventSequenceNumber())
{
}

std::string LocalTimestampText()
{
    // Every item of one second carries the same text; formatting it once per second per thread
    // keeps the local-time conversion off the path of a busy receipt printer.
    thread_local std::time_t cachedSecond = -1;
    thread_local std::string cachedText;
    const std::time_t now = std::time(nullptr);
    if (now == cachedSecond)
        return cachedText;
    std::tm local{};
    localtime_r(&now, &local);
    char text[80];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    cachedSecond = now;
    cachedText.assign(text, length);
    return cachedText;
}

std::int16_t TakeEventSequenceNumber()
{
    // The counter is 16-bit: past 32767 it wraps negative, and a negative number is taken as 0
    // with the counter set to 0, so the two items after the wrap are both numbered 0.
    std::int16_t taken = g_sequenceCounter.load(std::memory_order_relaxed);
    std::int16_t next = 0;
    do {
        if (taken < 0)
            next = 0;
        else if (taken == INT16_MAX)
            next = INT16_MIN;
        else
            next = static_cast<std::int16_t>(taken + 1);
    } while (!g_sequenceCounter.compare_exchange_weak(taken, next, std::memory_order_relaxed));
    return taken < 0 ? 0 : taken;
}

void SetNextEventSequenceNumberForTesting(std::int16_t next)
{
    g_sequenceCounter.store(next, std::memory_order_relaxed);
}

} // namespace recorder_bridge
