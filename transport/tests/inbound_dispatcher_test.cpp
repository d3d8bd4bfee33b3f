#include "support/tests/producer_storm.h"
#include "support/tests/wait_until.h"

#include "transport/inbound_dispatcher.h"
#include "transport/queued_message.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <vector>

using namespace transport;

TEST(AnInboundDispatcher, ContainsAFailedDispatchAndGoesOnWithTheNextMessages)
{
    std::mutex mutex;
    std::vector<std::uint8_t> handled;
    InboundDispatcher dispatcher([&](std::uint8_t type, std::span<const std::uint8_t>) {
        {
            std::lock_guard lock(mutex);
            handled.push_back(type);
        }
        if (type == 'X')
            throw std::runtime_error("bad message");
        if (type == 'Y')
            throw 42;
    });
    const std::uint8_t byte = 0;
    for (const std::uint8_t type : {'X', 'A', 'Y', 'B'})
        dispatcher.Post(std::make_unique<QueuedMessage>(type, &byte, 1));
    ASSERT_TRUE(waitUntil([&] {
        std::lock_guard lock(mutex);
        return handled.size() == 4;
    }));
    std::lock_guard lock(mutex);
    EXPECT_EQ(handled, (std::vector<std::uint8_t>{'X', 'A', 'Y', 'B'}));
}

TEST(AnInboundDispatcher, WakesForEveryPostOfAProducerStormInEachProducersOrderAndSleepsWhenDone)
{
    storm::StormLog log;
    InboundDispatcher dispatcher([&](std::uint8_t, std::span<const std::uint8_t> payload) {
        log.note(payload[0], payload[1] * 256 + payload[2]);
    });
    const auto expected = storm::RunProducerStorm(log, [&](int producer, int index) {
        const std::uint8_t payload[] = {static_cast<std::uint8_t>(producer), static_cast<std::uint8_t>(index >> 8),
                                        static_cast<std::uint8_t>(index & 0xFF)};
        EXPECT_TRUE(dispatcher.Post(std::make_unique<QueuedMessage>('W', payload, 3)));
    });
    EXPECT_TRUE(log.complete(expected));
    // With nothing queued it waits for the next post (an idle wait counts as one suspension)
    // instead of waking every millisecond to look.
    EXPECT_TRUE(waitUntil([&] { return dispatcher.SuspendCount() == 1; }, std::chrono::seconds(2)));
}
