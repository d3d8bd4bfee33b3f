// The output stage on its own thread, fed as the parser and the recognizer feed it.

#include "recorder_bridge/fuelling.h"
#include "recorder_bridge/message_item.h"
#include "recorder_bridge/output_stage.h"
#include "support/tests/producer_storm.h"

#include <gtest/gtest.h>

using namespace recorder_bridge;

namespace {

// Notes each pump event by its pump (the producer) and sequence number (the producer's count).
class StormSink final : public IFuellingEvents
{
public:
    explicit StormSink(storm::StormLog &log) : m_log(log) {}

    HRESULT OnFuellingEvent(const std::string &, std::int16_t sequence, std::int16_t pump, std::int16_t,
                            const std::string &, std::int16_t) override
    {
        m_log.note(pump, sequence);
        return S_OK;
    }
    HRESULT OnStartFuelDelivery(const std::string &, std::int16_t, std::int16_t, std::int16_t, const std::string &,
                                std::int16_t) override
    {
        return S_OK;
    }
    HRESULT OnFinishFuelDelivery(const std::string &, std::int16_t, std::int16_t, std::int16_t, const std::string &,
                                 std::int16_t, Currency, Currency, double, const std::string &, std::int16_t,
                                 std::int16_t) override
    {
        return S_OK;
    }

private:
    storm::StormLog &m_log;
};

TEST(AnOutputStage, WakesForEveryPostOfAProducerStormInEachProducersOrderAndSleepsWhenDone)
{
    storm::StormLog log;
    auto fuelling = std::make_shared<Fuelling>();
    std::uint32_t cookie = 0;
    ASSERT_EQ(fuelling->Advise(std::make_shared<StormSink>(log), &cookie), S_OK);
    OutputStage stage;
    OutputTargets targets;
    targets.fuelling = fuelling;
    stage.SetTargets(std::move(targets));
    const auto expected = storm::RunProducerStorm(log, [&](int producer, int index) {
        auto item = std::make_unique<MessageItem>(ItemType::PumpEvent);
        item->FuellingPositionID = static_cast<std::int16_t>(producer);
        item->EventSequenceNumber = static_cast<std::int16_t>(index);
        EXPECT_TRUE(stage.Post(std::move(item)));
    });
    EXPECT_TRUE(log.complete(expected));
    // With nothing queued it waits for the next post (an idle wait counts as one suspension)
    // instead of waking every millisecond to look.
    EXPECT_TRUE(waitUntil([&] { return stage.SuspendCount() == 1; }, std::chrono::seconds(2)));
}

} // namespace
