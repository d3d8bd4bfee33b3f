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
