#pragma once
// A storm of producers on a queued worker that sleeps while its queue is empty, as its producers
// would treat it at their worst. First several threads post bursts at random moments, so that
// some posts meet the worker between its emptiness test and its wait. Then one producer posts
// each item only once the one before it was handled, so that a lost wake-up leaves an item
// waiting for ever (no later post comes to rescue it) and the run fails on that item.
//
// The worker's handler notes each item it handles in a StormLog; the test then asks the log
// whether every item came through once, in its producer's order.

#include "wait_until.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace storm {

class StormLog
{
public:
    // Called by the worker for each item it handles.
    void note(int producer, int index)
    {
        std::lock_guard lock(m_mutex);
        m_byProducer[producer].push_back(index);
        ++m_count;
    }

    [[nodiscard]] std::size_t count() const
    {
        std::lock_guard lock(m_mutex);
        return m_count;
    }

    // Producer p's items 0..n-1 each handled once and in that order, for every p in `expected`
    // (producer -> n), and nothing else.
    [[nodiscard]] testing::AssertionResult complete(const std::map<int, int> &expected) const
    {
        std::lock_guard lock(m_mutex);
        if (m_byProducer.size() != expected.size())
            return testing::AssertionFailure() << m_byProducer.size() << " producers seen, "
                                               << expected.size() << " expected";
        for (const auto &[producer, n] : expected) {
            const auto found = m_byProducer.find(producer);
            if (found == m_byProducer.end())
                return testing::AssertionFailure() << "nothing of producer " << producer;
            const std::vector<int> &seen = found->second;
            for (int i = 0; i < n; ++i) {
                if (i >= static_cast<int>(seen.size()) || seen[static_cast<std::size_t>(i)] != i)
                    return testing::AssertionFailure()
                           << "producer " << producer << ": item " << i << " missing or out of order";
            }
            if (static_cast<int>(seen.size()) != n)
                return testing::AssertionFailure() << "producer " << producer << ": " << seen.size()
                                                   << " items handled, " << n << " posted";
        }
        return testing::AssertionSuccess();
    }

private:
    mutable std::mutex m_mutex;
    std::map<int, std::vector<int>> m_byProducer;
    std::size_t m_count = 0;
};

using Post = std::function<void(int producer, int index)>;

struct StormSize
{
    int producers = 8;
    int burstItemsEach = 400;
    int pingPongItems = 800;
};

// Runs both phases through `post`; the ping-pong producer is number `size.producers`. Returns
// the items expected of each producer, for StormLog::complete.
inline std::map<int, int> RunProducerStorm(const StormLog &log, const Post &post, StormSize size = {})
{
    std::map<int, int> expected;
    std::vector<std::thread> producers;
    for (int p = 0; p < size.producers; ++p) {
        expected[p] = size.burstItemsEach;
        producers.emplace_back([&post, p, size] {
            std::mt19937 random(static_cast<unsigned>(p) + 1);
            std::uniform_int_distribution<int> burst(1, 16), pause(0, 300);
            for (int i = 0; i < size.burstItemsEach;) {
                for (int b = burst(random); b > 0 && i < size.burstItemsEach; --b)
                    post(p, i++);
                std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
            }
        });
    }
    for (auto &producer : producers)
        producer.join();
    const std::size_t afterBursts = static_cast<std::size_t>(size.producers * size.burstItemsEach);
    EXPECT_TRUE(waitUntil([&] { return log.count() == afterBursts; }))
        << log.count() << " of " << afterBursts << " burst items handled";

    const int last = size.producers;
    expected[last] = size.pingPongItems;
    std::mt19937 random(97);
    std::uniform_int_distribution<int> spin(0, 3000);
    for (int i = 0; i < size.pingPongItems; ++i) {
        // Post at varying moments after the previous item was handled, around the worker's idle
        // moment.
        volatile int spun = 0;
        for (int s = spin(random); s > 0; --s)
            spun = spun + 1;
        post(last, i);
        const std::size_t want = afterBursts + static_cast<std::size_t>(i) + 1;
        if (!waitUntil([&] { return log.count() >= want; }, std::chrono::seconds(5))) {
            ADD_FAILURE() << "ping-pong item " << i << " waits for a later post";
            break;
        }
    }
    return expected;
}

} // namespace storm
