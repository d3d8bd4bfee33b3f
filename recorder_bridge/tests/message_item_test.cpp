#include "recorder_bridge/message_item.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <thread>
#include <vector>

using namespace recorder_bridge;

TEST(AMessageItem, NumbersFromOnePastTheWrapTwiceZeroThenOnwards)
{
    SetNextEventSequenceNumberForTesting(1);
    EXPECT_EQ(MessageItem().EventSequenceNumber, 1);
    EXPECT_EQ(MessageItem().EventSequenceNumber, 2);

    SetNextEventSequenceNumberForTesting(32766);
    std::vector<std::int16_t> numbers;
    for (int i = 0; i < 6; ++i)
        numbers.push_back(MessageItem().EventSequenceNumber);
    EXPECT_EQ(numbers, (std::vector<std::int16_t>{32766, 32767, 0, 0, 1, 2}));
}

TEST(AMessageItem, StampsLocalTimeInTheIsoFormAndStartsEmpty)
{
    MessageItem item(ItemType::PumpDeliveryEnd);
    EXPECT_TRUE(std::regex_match(item.Timestamp, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)"))) << item.Timestamp;
    EXPECT_EQ(item.typeCode(), 46);
    EXPECT_TRUE(item.GradeName.empty());
    EXPECT_EQ(item.PaymentMode, 0);
    EXPECT_EQ(item.TotalPrice, Currency{});
    EXPECT_EQ(item.Volume, 0.0);
}

TEST(AThreadedSequenceCounter, NeverHandsOutOneNumberTwiceUnderEightThreads)
{
    SetNextEventSequenceNumberForTesting(1);
    constexpr int kThreads = 8;
    constexpr int kPerThread = 4000; // 32,000 numbers: below the wrap, so all must differ
    std::vector<std::vector<std::int16_t>> taken(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&taken, t] {
            for (int i = 0; i < kPerThread; ++i)
                taken[t].push_back(TakeEventSequenceNumber());
        });
    }
    for (auto &thread : threads)
        thread.join();
    std::set<std::int16_t> all;
    for (const auto &numbers : taken) {
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end())) << "one thread's numbers must rise";
        all.insert(numbers.begin(), numbers.end());
    }
    EXPECT_EQ(all.size(), static_cast<std::size_t>(kThreads * kPerThread));
    EXPECT_EQ(*all.begin(), 1);
    EXPECT_EQ(*all.rbegin(), kThreads * kPerThread);
}
