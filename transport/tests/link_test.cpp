#include "link_fixture.h"

#include "tools/unit-sim/pseudo_terminal.h"
#include "transport/frame_codec.h"
#include "transport/link_protocol_thread.h"

#include <atomic>
#include <cstring>
#include <future>

#include <unistd.h>

using namespace linktest;
using unitsim::Fault;
using unitsim::LogKind;
namespace c = transport::control;

namespace {

// Retransmission after silence is pushed out of reach, so that only NAK, CAN and ACK move the
// pending frame.
transport::LinkTiming noTimedRetransmit()
{
    return {scaled(20ms), 60s};
}
// The same for the unit: a frame of its own is written again only on NAK or CAN. A timed rewrite
// that a stalled link thread has not answered yet is acknowledged late, and such an
// acknowledgement passes for that of the unit's next frame.
unitsim::UnitTiming noTimedRewrite()
{
    unitsim::UnitTiming timing = fastUnit();
    timing.retransmitAfter = 60s;
    return timing;
}

class ALinkReceiver : public LinkFixture
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        startUnit(noTimedRewrite());
        startLink();
    }
    // For the test of a rewrite after silence.
    void restartUnit(unitsim::UnitTiming timing)
    {
        m_link.reset();
        m_unit.reset();
        startUnit(timing);
        startLink();
    }
    bool delivered(std::size_t n) { return waitUntil([&] { return m_sink.frames().size() >= n; }); }
};

class ALinkControlByte : public LinkFixture
{
protected:
    // The link sends 'a', which the unit ignores, so that the link is left awaiting.
    void SetUp() override
    {
        LinkFixture::SetUp();
        startUnit();
        m_unit->InjectFault(Fault::Silence, 1);
        startLink(noTimedRetransmit());
        send('a', {1});
        ASSERT_TRUE(waitUntil([&] { return unitLogCount(LogKind::FaultInjected, "silence") == 1; }));
    }
};

// Each test starts the link with the timers it needs.
class ALinkTransmitter : public LinkFixture
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        startUnit();
    }
    bool unitGot(std::size_t n) { return waitUntil([&] { return unitReceived().size() >= n; }); }
    // Writes of a frame of `type` that the unit has read, new or again.
    std::size_t writesOf(std::uint8_t type)
    {
        std::size_t n = 0;
        for (auto &e : m_unit->log())
            n += (e.kind == LogKind::FrameReceived || e.kind == LogKind::FrameDuplicate) && e.type == type;
        return n;
    }
};

class ALinkPort : public LinkFixture
{
};

} // namespace

TEST_F(ALinkReceiver, DeliversAGoodFrame)
{
    m_unit->Send({'B', {0x01, 0x04}});
    ASSERT_TRUE(delivered(1));
    EXPECT_EQ(m_sink.frames()[0].type, 'B');
    EXPECT_EQ(m_sink.frames()[0].payload, (std::vector<std::uint8_t>{0x01, 0x04}));
}

TEST_F(ALinkReceiver, DropsAUnitFrameOfTheLinkErrorTypeSoItIsNotTakenForAnError)
{
    m_unit->Send({0, {0xFF, 'x', 0}});
    m_unit->Send({'B', {0x01}});
    ASSERT_TRUE(delivered(1));
    EXPECT_EQ(m_sink.frames()[0].type, 'B');
    EXPECT_TRUE(m_sink.errors().empty());
}

TEST_F(ALinkReceiver, RefusesBadChecksumsAndBadEscapesAndTakesTheRewrite)
{
    for (Fault fault : {Fault::CorruptChecksum, Fault::BadEscape}) {
        m_unit->InjectFault(fault);
        m_unit->Send({'D', {static_cast<std::uint8_t>(fault)}});
    }
    ASSERT_TRUE(delivered(2));
    ASSERT_TRUE(waitUntil([&] { return m_unit->idle(); }));
    EXPECT_EQ(unitLogCount(LogKind::FrameNaked), 2u);
    EXPECT_EQ(m_sink.received().size(), 2u);
}

TEST_F(ALinkReceiver, AbandonsACutFrameWithoutAnswerAndTakesTheRewrite)
{
    restartUnit(patientUnit());
    m_unit->InjectFault(Fault::CutFrame);
    m_unit->Send({'D', {0x41, 0x42, 0x43, 0x44, 0x45, 0x46}});
    ASSERT_TRUE(delivered(1));
    EXPECT_EQ(unitLogCount(LogKind::FrameNaked), 0u);
    // The unit writes again after its silence; a late acknowledgement may let it write more.
    EXPECT_GE(m_unit->stats().rewrites, 1u);
    EXPECT_EQ(m_sink.frames()[0].payload.size(), 6u);
}

TEST_F(ALinkReceiver, RestartsAFrameAtSTX)
{
    m_unit->SendRaw({c::STX, 0x09, 'Z', 0x07});
    m_unit->Send({'B', {0x02}});
    ASSERT_TRUE(delivered(1));
    ASSERT_TRUE(waitUntil([&] { return m_unit->idle(); }));
    EXPECT_EQ(m_sink.frames().size(), 1u);
    EXPECT_EQ(m_sink.frames()[0].payload, (std::vector<std::uint8_t>{0x02}));
    EXPECT_EQ(unitLogCount(LogKind::FrameNaked), 0u);
}

TEST_F(ALinkReceiver, DeliversARepeatedSequenceOnceAndAcknowledgesItTwice)
{
    m_unit->InjectFault(Fault::RepeatSequence);
    m_unit->Send({'B', {0x03}});
    m_unit->Send({'B', {0x04}});
    ASSERT_TRUE(delivered(2));
    ASSERT_TRUE(waitUntil([&] { return m_unit->idle(); }));
    EXPECT_EQ(m_unit->stats().framesAcked, 3u);
    EXPECT_EQ(m_sink.frames().size(), 2u);
}

TEST_F(ALinkReceiver, AbandonsOverlongAndTooShortFramesWithoutAnswer)
{
    m_unit->InjectFault(Fault::Overlong);
    m_unit->InjectFault(Fault::TooShort);
    // Both written before the good frame is queued, so that it comes after them.
    ASSERT_TRUE(waitUntil([&] {
        return unitLogCount(LogKind::FaultInjected, "overlong") == 1
            && unitLogCount(LogKind::FaultInjected, "too-short") == 1;
    }));
    m_unit->Send({'B', {0x05}});
    ASSERT_TRUE(delivered(1));
    EXPECT_EQ(m_sink.received().size(), 1u);
    EXPECT_EQ(m_sink.frames()[0].payload, (std::vector<std::uint8_t>{0x05}));
    EXPECT_EQ(unitLogCount(LogKind::FrameNaked), 0u);
}

TEST_F(ALinkReceiver, DeliversAPayloadOfControlBytesOnly)
{
    m_unit->InjectFault(Fault::ControlPayload);
    ASSERT_TRUE(delivered(1));
    const auto payload = m_sink.frames()[0].payload;
    for (std::uint8_t byte : payload)
        EXPECT_TRUE(transport::isControlByte(byte));
    EXPECT_EQ(payload.size(), 12u);
}

TEST_F(ALinkControlByte, AckInsideAFrameAcknowledgesThePendingFrameAndTheFrameGoesOn)
{
    send('b', {2});
    m_unit->InjectFault(Fault::StrayAck);
    m_unit->Send({'B', {0x06}});
    ASSERT_TRUE(waitUntil([&] { return unitReceived().size() == 1; }));
    EXPECT_EQ(unitReceived()[0].type, 'b'); // 'a' counts as acknowledged and is not written again
    ASSERT_TRUE(waitUntil([&] { return m_sink.frames().size() == 1; }));
    EXPECT_TRUE(m_sink.errors().empty());
}

TEST_F(ALinkControlByte, CanInsideAFrameRewritesThePendingFrame)
{
    m_unit->InjectFault(Fault::StrayCan);
    m_unit->Send({'B', {0x07}});
    ASSERT_TRUE(waitUntil([&] { return unitReceived().size() == 1; }));
    EXPECT_EQ(unitReceived()[0].type, 'a');
    EXPECT_TRUE(waitUntil([&] { return m_sink.frames().size() == 1; }));
}

TEST_F(ALinkControlByte, CanOutsideAFrameIsIgnored)
{
    m_unit->SendRaw({c::CAN});
    m_unit->Send({'B', {0x08}});
    ASSERT_TRUE(waitUntil([&] { return m_sink.frames().size() == 1; }));
    EXPECT_TRUE(unitReceived().empty());
}

TEST_F(ALinkTransmitter, GivesUpAfterFourWritesSendsTheNextAndReportsOneError)
{
    startLink();
    m_unit->InjectFault(Fault::Silence, 4);
    send('a', {1});
    send('b', {2});
    ASSERT_TRUE(unitGot(1));
    ASSERT_TRUE(waitUntil([&] { return !m_sink.errors().empty(); }));
    EXPECT_EQ(unitReceived()[0].type, 'b');
    EXPECT_EQ(unitLogCount(LogKind::FaultInjected, "silence"), 4u);
    EXPECT_EQ(m_sink.errors()[0].errorText, "No acknowledgement from unit after 4 attempts");
    EXPECT_EQ(m_sink.errorPayloadSizes()[0], 255u);
    // One error for each frame given up: 'a', and 'b' as well only if a stalled unit kept its
    // acknowledgement past the four writes of 'b', all of which the unit then reads.
    m_link.reset();
    const std::size_t errors = m_sink.errors().size();
    EXPECT_LE(errors, 2u);
    if (errors == 2) {
        EXPECT_TRUE(waitUntil([&] { return writesOf('b') == 4; })) << "an error for a frame not given up";
    }
}

TEST_F(ALinkTransmitter, TakesThreeNaksThenAnAckWithoutError)
{
    startLink(noTimedRetransmit()); // only the NAKs make it write again
    m_unit->InjectFault(Fault::Nak, 3);
    send('a', {1});
    send('b', {2});
    ASSERT_TRUE(unitGot(2));
    EXPECT_EQ(unitReceived()[0].type, 'a');
    EXPECT_EQ(unitLogCount(LogKind::FaultInjected, "nak"), 3u);
    EXPECT_TRUE(m_sink.errors().empty());
}

TEST_F(ALinkTransmitter, DropsAnOverlongMessageWithoutBlockingTheNext)
{
    startLink(noTimedRetransmit()); // nothing to give up: a frame the unit refused would block 'q'
    send('p', std::vector<std::uint8_t>(993, 'x')); // 1001 bytes framed
    send('q', {1});
    ASSERT_TRUE(unitGot(1));
    EXPECT_EQ(unitReceived()[0].type, 'q');
    EXPECT_TRUE(m_sink.errors().empty());
}

TEST_F(ALinkTransmitter, NumbersItsFirstFrame1AndIts32ndFrame0)
{
    startLink();
    for (int i = 0; i < 33; ++i)
        send('h');
    ASSERT_TRUE(unitGot(33));
    std::vector<std::uint8_t> sequences;
    for (auto &e : m_unit->log())
        if (e.kind == LogKind::FrameReceived)
            sequences.push_back(e.sequence);
    ASSERT_EQ(sequences.size(), 33u);
    EXPECT_EQ(sequences[0], 1);
    EXPECT_EQ(sequences[31], 0);
}

TEST_F(ALinkPort, PostsTheSystemsTextWhenThePortCannotBeOpened)
{
    pointPortAt(1, (m_folder / "no-such-tty").string());
    startLink();
    ASSERT_TRUE(waitUntil([&] { return m_sink.errors().size() == 1; }));
    EXPECT_EQ(m_sink.errors()[0].errorText, std::strerror(ENOENT));
    EXPECT_EQ(m_sink.errorPayloadSizes()[0], 255u);
    EXPECT_TRUE(waitUntil([&] { return m_link->Exited(); }));
}

TEST_F(ALinkPort, PostsAnErrorAndEndsWhenTheLineGoesAway)
{
    startUnit();
    startLink();
    m_unit->Send({'B', {1}});
    ASSERT_TRUE(waitUntil([&] { return m_sink.frames().size() == 1; }));
    m_unit.reset();
    ASSERT_TRUE(waitUntil([&] { return m_sink.errors().size() == 1; }));
    EXPECT_EQ(m_sink.errors()[0].errorText, std::strerror(EIO));
    EXPECT_TRUE(waitUntil([&] { return m_link->Exited(); }));
}

TEST_F(ALinkPort, StopsPromptlyInTheMiddleOfAFrame)
{
    unitsim::PseudoTerminal line;
    pointPortAt(1, line.slavePath());
    startLink(transport::LinkTiming{}); // the real time-outs
    std::atomic<bool> trickling{true};
    // A frame that never ends: one byte every 20 ms, never a silence long enough to cut it.
    std::thread writer([&] {
        const std::uint8_t stx = c::STX;
        [[maybe_unused]] auto n = ::write(line.masterFd(), &stx, 1);
        while (trickling) {
            const std::uint8_t byte = 'x';
            n = ::write(line.masterFd(), &byte, 1);
            std::this_thread::sleep_for(20ms);
        }
    });
    std::this_thread::sleep_for(200ms); // let the link get into the frame
    auto stopped = std::async(std::launch::async, [&] { m_link.reset(); });
    const bool prompt = stopped.wait_for(3s) == std::future_status::ready;
    trickling = false;
    writer.join();
    stopped.wait();
    EXPECT_TRUE(prompt);
}

TEST(ALinkClock, IsMonotonic)
{
    // Retransmission must not fire early or late when someone sets the wall clock.
    EXPECT_TRUE(transport::LinkProtocolThread::Clock::is_steady);
}

namespace {

class RecordingDispatcher final : public support::QueuedWorkerThread
{
public:
    RecordingDispatcher() : QueuedWorkerThread(false, false) { Start(); }
    ~RecordingDispatcher() override { Stop(); }
    std::atomic<int> frames{0};

protected:
    void HandleItem(support::QueueItem &item) override
    {
        if (dynamic_cast<transport::QueuedMessage *>(&item))
            ++frames;
    }
};

class ATransportLink : public LinkFixture
{
};

} // namespace

TEST_F(ATransportLink, PostsToAQueuedWorkerDispatcher)
{
    RecordingDispatcher dispatcher;
    startUnit();
    {
        transport::TransportLink link(1, dispatcher, fastLink());
        m_unit->Send({'H', {}});
        EXPECT_TRUE(waitUntil([&] { return dispatcher.frames == 1; }));
    }
}

namespace {

class ThrowingOnceLink final : public transport::LinkProtocolThread
{
public:
    ThrowingOnceLink() : LinkProtocolThread(1, fastLink()) { Start(); }
    ~ThrowingOnceLink() override { Stop(); }
    std::atomic<int> frames{0};
    std::atomic<int> errors{0};

protected:
    void OnLinkError(const std::exception &) override { ++errors; }
    void OnFrameReceived(const std::uint8_t *, std::int32_t, std::uint8_t) override
    {
        if (frames++ == 0)
            throw std::runtime_error("receiver out of room");
    }
};

} // namespace

TEST_F(ALinkPort, KeepsReceivingAfterAHandlerThrows)
{
    startUnit();
    ThrowingOnceLink link;
    m_unit->Send({'B', {1}});
    m_unit->Send({'B', {2}});
    EXPECT_TRUE(waitUntil([&] { return link.frames == 2; }));
    EXPECT_EQ(link.errors, 1);
    EXPECT_FALSE(link.Exited());
}
