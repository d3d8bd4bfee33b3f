#include "tools/unit-sim/unit_link.h"

#include "platform/serial_port.h"
#include "support/tests/time_scale.h"
#include "support/tests/wait_until.h"
#include "transport/frame_receiver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace unitsim;
using namespace std::chrono_literals;

namespace {

// The PC side of the line, driven by hand.
struct RawPort
{
    CSerialPort port;
    explicit RawPort(const std::string &path)
    {
        port.OpenDevice(path, 4800, CSerialPort::NoParity, CSerialPort::OneStopBit, CSerialPort::NoFlowControl);
        const auto wait = static_cast<std::uint32_t>(scaled(50ms).count());
        port.SetTimeouts({wait, wait, wait, wait, wait});
    }
    void write(const std::vector<std::uint8_t> &bytes) { port.Write(bytes.data(), bytes.size()); }
    // Feeds a receiver until it reports something other than None, or the line falls silent.
    transport::ReceiveEvent next(transport::FrameReceiver &receiver)
    {
        for (;;) {
            std::uint8_t byte = 0;
            if (port.Read(&byte, 1) == 0)
                return receiver.silence();
            if (auto event = receiver.feed(byte); event != transport::ReceiveEvent::None)
                return event;
        }
    }
};

} // namespace

TEST(AUnitLink, AcknowledgesAFrameOnceAndHandsItToTheHandlerOnce)
{
    UnitLink unit;
    std::vector<Message> seen;
    std::mutex mutex;
    unit.SetHandler([&](const Message &m) {
        std::lock_guard lock(mutex);
        seen.push_back(m);
        return std::vector<Message>{{'H', {0x01}}};
    });
    unit.Start();
    RawPort pc(unit.slavePath());
    transport::FrameReceiver receiver;
    receiver.reset();

    const auto frame = *transport::encodeFrame(1, 'h', {});
    pc.write(frame);
    EXPECT_EQ(pc.next(receiver), transport::ReceiveEvent::Acknowledged);
    EXPECT_EQ(pc.next(receiver), transport::ReceiveEvent::FrameAccepted);
    EXPECT_EQ(receiver.type(), 'H');
    pc.write({transport::control::ACK});
    pc.write(frame); // the same sequence again
    EXPECT_EQ(pc.next(receiver), transport::ReceiveEvent::Acknowledged);

    std::lock_guard lock(mutex);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].type, 'h');
    // The unit counts the duplicate after it has answered it.
    EXPECT_TRUE(waitUntil([&] { return unit.stats().duplicatesReceived == 1u; }));
}

TEST(AUnitLink, GivesUpAFrameAfterFourWrites)
{
    UnitTiming timing;
    // Well inside the silence after which the reads below give up.
    timing.retransmitAfter = scaled(20ms);
    UnitLink unit(timing);
    unit.Start();
    RawPort pc(unit.slavePath());
    transport::FrameReceiver receiver;
    receiver.reset();
    unit.Send({'B', {1, 2}});
    int frames = 0;
    for (int i = 0; i < 8 && frames < 5; ++i) {
        const auto event = pc.next(receiver);
        if (event == transport::ReceiveEvent::FrameAccepted || event == transport::ReceiveEvent::FrameDuplicate)
            ++frames;
        if (event == transport::ReceiveEvent::None)
            break;
    }
    EXPECT_EQ(frames, 4);
    EXPECT_TRUE(waitUntil([&] { return unit.stats().framesGivenUp == 1u; }));
}

TEST(AFaultName, ReadsBackEveryFault)
{
    for (Fault fault : kAllFaults)
        EXPECT_EQ(faultFromName(faultName(fault)), fault);
    EXPECT_FALSE(faultFromName("gremlins"));
}

TEST(AUnitLink, RoutesEachTypeToItsOwnHandlerAndTheRestToTheGeneralOne)
{
    UnitLink unit;
    std::atomic<int> general{0};
    unit.SetHandler([&](const Message &) {
        ++general;
        return std::vector<Message>{};
    });
    unit.SetTypeHandler('g', [](const Message &) { return std::vector<Message>{{'G', {0, 1, 2}}}; });
    unit.Start();
    RawPort pc(unit.slavePath());
    transport::FrameReceiver receiver;
    receiver.reset();

    pc.write(*transport::encodeFrame(1, 'h', {}));
    EXPECT_EQ(pc.next(receiver), transport::ReceiveEvent::Acknowledged);
    pc.write(*transport::encodeFrame(2, 'g', {}));
    EXPECT_EQ(pc.next(receiver), transport::ReceiveEvent::Acknowledged);
    EXPECT_EQ(pc.next(receiver), transport::ReceiveEvent::FrameAccepted);
    EXPECT_EQ(receiver.type(), 'G');
    EXPECT_EQ(general, 1);
}
