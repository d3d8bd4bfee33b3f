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
    // Feeds a receiver until it reports something other than None. Silence between frames is
    // waited through for up to `patience`, since a stalled unit thread answers late; silence
    // inside a frame, or after `patience`, is reported as the receiver's silence event.
    transport::ReceiveEvent next(transport::FrameReceiver &receiver,
                                 std::chrono::milliseconds patience = scaled(std::chrono::seconds(10)))
    {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        for (;;) {
            std::uint8_t byte = 0;
            if (port.Read(&byte, 1) == 0) {
                if (!receiver.insideFrame() && std::chrono::steady_clock::now() < deadline)
                    continue;
                return receiver.silence();
            }
            if (auto event = receiver.feed(byte); event != transport::ReceiveEvent::None)
                return event;
        }
    }
};

// A unit that writes a frame again only on NAK: these tests answer by hand, and a stalled test
// thread must not make it write again or give up.
UnitTiming noTimedRewrite()
{
    UnitTiming timing;
    timing.retransmitAfter = std::chrono::seconds(60);
    return timing;
}

} // namespace

TEST(AUnitLink, AcknowledgesAFrameOnceAndHandsItToTheHandlerOnce)
{
    UnitLink unit(noTimedRewrite());
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
    timing.retransmitAfter = scaled(20ms);
    UnitLink unit(timing);
    unit.Start();
    RawPort pc(unit.slavePath());
    transport::FrameReceiver receiver;
    receiver.reset();
    unit.Send({'B', {1, 2}});
    // Every write is on the line before the unit gives up: the writes are read once it has.
    ASSERT_TRUE(waitUntil([&] { return unit.stats().framesGivenUp == 1u; }));
    int frames = 0;
    for (;;) {
        const auto event = pc.next(receiver, std::chrono::milliseconds(0));
        if (event == transport::ReceiveEvent::FrameAccepted || event == transport::ReceiveEvent::FrameDuplicate)
            ++frames;
        else
            break;
    }
    EXPECT_EQ(frames, 4);
}

TEST(AFaultName, ReadsBackEveryFault)
{
    for (Fault fault : kAllFaults)
        EXPECT_EQ(faultFromName(faultName(fault)), fault);
    EXPECT_FALSE(faultFromName("gremlins"));
}

TEST(AUnitLink, RoutesEachTypeToItsOwnHandlerAndTheRestToTheGeneralOne)
{
    UnitLink unit(noTimedRewrite());
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

// A PC stalled while the unit wrote its frame again answers every copy once it runs, one after
// the other; an answer that came after the unit's next frame had gone would pass for that
// frame's. With owedAnswerWait the next frame waits for the answers of all the whole writes.
TEST(AUnitLink, StartsItsNextFrameOnceEveryWholeWriteOfTheLastIsAnswered)
{
    UnitTiming timing;
    timing.retransmitAfter = scaled(20ms);
    timing.maxWrites = 1000;
    timing.owedAnswerWait = scaled(std::chrono::seconds(10));
    UnitLink unit(timing);
    unit.Start();
    RawPort pc(unit.slavePath());
    transport::FrameReceiver receiver;
    receiver.reset();
    unit.Send({'B', {1}});
    unit.Send({'B', {2}});
    ASSERT_TRUE(waitUntil([&] { return unit.stats().rewrites >= 2; })); // three writes, none answered
    pc.write({transport::control::ACK});
    ASSERT_TRUE(waitUntil([&] { return unit.stats().framesAcked == 1u; }));
    const auto writes = 1 + unit.stats().rewrites;
    for (std::uint64_t answered = 1; answered < writes; ++answered) {
        std::this_thread::sleep_for(5ms); // further apart than the unit's quiet after an ACK (none)
        EXPECT_EQ(unit.stats().framesSent, 1u) << "a new frame before the answer to write " << answered + 1;
        pc.write({transport::control::ACK});
    }
    int copies = 0;
    transport::ReceiveEvent event{};
    while ((event = pc.next(receiver)) == transport::ReceiveEvent::FrameAccepted
           || event == transport::ReceiveEvent::FrameDuplicate) {
        if (receiver.payload()[0] == 2)
            break;
        ++copies;
    }
    EXPECT_EQ(static_cast<std::uint64_t>(copies), writes);
    EXPECT_EQ(receiver.payload()[0], 2) << "the next frame comes once every write is answered";
}
