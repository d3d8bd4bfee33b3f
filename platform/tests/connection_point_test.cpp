#include "platform/connection_point.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class Sink
{
public:
    virtual ~Sink() = default;
    virtual void OnEvent(int value) = 0;
};

class RecordingSink : public Sink
{
public:
    void OnEvent(int value) override
    {
        received.push_back(value);
        if (onEvent)
            onEvent();
    }
    std::vector<int> received;
    std::function<void()> onEvent;
};

class ThrowingSink : public Sink
{
public:
    void OnEvent(int) override { throw std::runtime_error("sink failed"); }
};

std::uint32_t advise(ConnectionPoint<Sink> &point, std::shared_ptr<Sink> sink)
{
    std::uint32_t cookie = 0;
    EXPECT_EQ(point.Advise(std::move(sink), &cookie), S_OK);
    return cookie;
}

} // namespace

TEST(AConnectionPoint, GivesANewSubscriberTheFirstEmptySlot)
{
    ConnectionPoint<Sink> point;
    EXPECT_EQ(advise(point, std::make_shared<RecordingSink>()), 1u);
    EXPECT_EQ(advise(point, std::make_shared<RecordingSink>()), 2u);
    EXPECT_EQ(advise(point, std::make_shared<RecordingSink>()), 3u);
    EXPECT_EQ(point.Unadvise(2), S_OK);
    EXPECT_EQ(point.Unadvise(1), S_OK);
    EXPECT_EQ(advise(point, std::make_shared<RecordingSink>()), 1u);
    EXPECT_EQ(advise(point, std::make_shared<RecordingSink>()), 2u);
    EXPECT_EQ(advise(point, std::make_shared<RecordingSink>()), 4u);
    EXPECT_EQ(point.Count(), 4u);
}

TEST(AConnectionPoint, RefusesCookiesThatNameNoSink)
{
    ConnectionPoint<Sink> point;
    const auto cookie = advise(point, std::make_shared<RecordingSink>());
    EXPECT_EQ(point.Unadvise(0), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point.Unadvise(cookie + 1), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point.Unadvise(cookie), S_OK);
    EXPECT_EQ(point.Unadvise(cookie), CONNECT_E_NOCONNECTION);
}

TEST(AConnectionPoint, RefusesNullPointers)
{
    ConnectionPoint<Sink> point;
    std::uint32_t cookie = 7;
    EXPECT_EQ(point.Advise(std::make_shared<RecordingSink>(), nullptr), E_POINTER);
    EXPECT_EQ(point.Advise(nullptr, &cookie), E_POINTER);
    EXPECT_EQ(cookie, 0u);
}

TEST(AConnectionPoint, LetsASinkUnadviseWhileItIsCalled)
{
    ConnectionPoint<Sink> point;
    auto first = std::make_shared<RecordingSink>();
    auto second = std::make_shared<RecordingSink>();
    const auto firstCookie = advise(point, first);
    const auto secondCookie = advise(point, second);
    first->onEvent = [&] {
        EXPECT_EQ(point.Unadvise(firstCookie), S_OK);
        EXPECT_EQ(point.Unadvise(secondCookie), S_OK);
    };
    point.Fire([](Sink &sink) { sink.OnEvent(1); });
    point.Fire([](Sink &sink) { sink.OnEvent(2); });
    // The firing that was under way reaches every sink it began with; the next reaches none.
    EXPECT_EQ(first->received, std::vector<int>{1});
    EXPECT_EQ(second->received, std::vector<int>{1});
}

TEST(AConnectionPoint, KeepsFiringPastASinkThatThrows)
{
    ConnectionPoint<Sink> point;
    auto before = std::make_shared<RecordingSink>();
    auto after = std::make_shared<RecordingSink>();
    advise(point, before);
    advise(point, std::make_shared<ThrowingSink>());
    advise(point, after);
    std::vector<std::string> errors;
    point.Fire([](Sink &sink) { sink.OnEvent(5); },
               [&](const std::string &what) { errors.push_back(what); });
    EXPECT_EQ(before->received, std::vector<int>{5});
    EXPECT_EQ(after->received, std::vector<int>{5});
    EXPECT_EQ(errors, std::vector<std::string>{"sink failed"});
}
