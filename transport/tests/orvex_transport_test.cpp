#include "recording_notifier.h"
#include "recording_sink.h"

#include "interfaces/transport/orvex_transport_factory.h"
#include "transport/orvex_transport.h"
#include "transport/queued_message.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace transport;
using testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;

namespace {

class AnOrvexTransport : public testing::Test
{
protected:
    void receive(std::uint8_t type, const Bytes &payload)
    {
        transport.inboundDispatcher().Post(
            std::make_unique<QueuedMessage>(type, payload.data(), static_cast<std::int32_t>(payload.size())));
    }

    std::shared_ptr<RecordingSink> subscribe()
    {
        auto sink = std::make_shared<RecordingSink>();
        std::uint32_t cookie = 0;
        EXPECT_EQ(transport.Advise(sink, &cookie), S_OK);
        return sink;
    }

    RecordingNotifier notices;
    OrvexTransport transport;
};

// Throws from every event after recording it.
class ThrowingSink : public RecordingSink
{
protected:
    HRESULT add(std::string line) override
    {
        RecordingSink::add(std::move(line));
        throw std::runtime_error("subscriber failed");
    }
};

} // namespace

TEST_F(AnOrvexTransport, WarnsOnceAboutAMissingPortUntilThePortIsSetAgain)
{
    std::shared_ptr<IDefault> msg;
    ASSERT_EQ(transport.getDefault(&msg), S_OK);
    msg->RequestHeartbeat();
    EXPECT_EQ(transport.setDefault(msg), S_OK);
    EXPECT_EQ(transport.setDefault(msg), S_OK);
    EXPECT_THAT(notices.texts(), ElementsAre("No Serial Port Selected"));
}

TEST_F(AnOrvexTransport, HandsOutNewEmptyMessagesAndChecksPointers)
{
    std::shared_ptr<IConfigData> config;
    std::shared_ptr<IEvents> events;
    std::shared_ptr<ICameraPresets> presets;
    std::shared_ptr<IDefault> first, second;
    ASSERT_EQ(transport.getConfigData(&config), S_OK);
    ASSERT_EQ(transport.getEvents(&events), S_OK);
    ASSERT_EQ(transport.getCameraPresets(&presets), S_OK);
    ASSERT_EQ(transport.getDefault(&first), S_OK);
    ASSERT_EQ(transport.getDefault(&second), S_OK);
    EXPECT_NE(first, second);
    std::int16_t length = -1;
    config->getLength(&length);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(transport.getDefault(nullptr), E_POINTER);
    EXPECT_EQ(transport.setEvents(nullptr), E_POINTER);
}

TEST_F(AnOrvexTransport, FiresEachReceivedReportToEverySubscriberInOrder)
{
    auto first = subscribe();
    auto second = subscribe();
    receive('W', {4, 1, 2, 3});
    receive('K', {1});
    receive('R', {7});
    ASSERT_TRUE(second->waitForCount(2));
    EXPECT_THAT(first->lines(), ElementsAre("OnPumpEvent(4,1,2,3)", "ResetCount(7)"));
    EXPECT_THAT(second->lines(), ElementsAre("OnPumpEvent(4,1,2,3)", "ResetCount(7)"));
}

TEST_F(AnOrvexTransport, KeepsDeliveringAfterASubscriberThrows)
{
    auto thrower = std::make_shared<ThrowingSink>();
    std::uint32_t cookie = 0;
    transport.Advise(thrower, &cookie);
    auto steady = subscribe();
    for (std::uint8_t n = 1; n <= 3; ++n)
        receive('R', {n});
    ASSERT_TRUE(steady->waitForCount(3));
    EXPECT_THAT(steady->lines(), ElementsAre("ResetCount(1)", "ResetCount(2)", "ResetCount(3)"));
    EXPECT_EQ(thrower->count(), 3u);
}

TEST_F(AnOrvexTransport, LetsASubscriberUnadviseWhileItIsBeingCalled)
{
    struct Leaving : RecordingSink
    {
        HRESULT ResetCount(std::int16_t n) override
        {
            RecordingSink::ResetCount(n);
            owner->Unadvise(cookie);
            return S_OK;
        }
        OrvexTransport *owner = nullptr;
        std::uint32_t cookie = 0;
    };
    auto leaving = std::make_shared<Leaving>();
    leaving->owner = &transport;
    ASSERT_EQ(transport.Advise(leaving, &leaving->cookie), S_OK);
    auto staying = subscribe();
    receive('R', {1});
    receive('R', {2});
    ASSERT_TRUE(staying->waitForCount(2));
    EXPECT_THAT(leaving->lines(), ElementsAre("ResetCount(1)"));
    EXPECT_EQ(transport.Unadvise(leaving->cookie), CONNECT_E_NOCONNECTION);
}

TEST_F(AnOrvexTransport, ReportsALinkErrorTextAsOnError)
{
    auto sink = subscribe();
    transport.inboundDispatcher().Post(QueuedMessage::LinkError("No such file or directory"));
    ASSERT_TRUE(sink->waitForCount(1));
    EXPECT_THAT(sink->lines(), ElementsAre("OnError(No such file or directory)"));
}

TEST_F(AnOrvexTransport, ReportsAPortThatCannotBeOpenedAsOnError)
{
    auto sink = subscribe();
    EXPECT_EQ(transport.setSerialPort(250), S_OK);
    ASSERT_TRUE(sink->waitForCount(1));
    EXPECT_THAT(sink->lines().at(0), testing::StartsWith("OnError("));
    EXPECT_TRUE(notices.texts().empty());
}

TEST(TheDeviceCourierFactory, MakesATransportThatAlsoSteersCameras)
{
    std::shared_ptr<IOrvexTransport> transport;
    ASSERT_EQ(CreateOrvexTransport(&transport), S_OK);
    ASSERT_TRUE(transport);
    EXPECT_TRUE(std::dynamic_pointer_cast<ICameraControl>(transport));
    EXPECT_EQ(CreateOrvexTransport(nullptr), E_POINTER);
}
