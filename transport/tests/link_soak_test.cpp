// Reliability soak: 2,000 messages each way through the simulated unit while it puts a mix of
// faults on about 5% of the frames. Every message the link does not report as lost must arrive
// exactly once and in order, in both directions, and every loss must be reported.

#include "link_fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace linktest;
using unitsim::Fault;

namespace {

constexpr int kMessages = 2000;
constexpr std::uint8_t kFromPc = 'S';
constexpr std::uint8_t kFromUnit = 'B';

std::vector<std::uint8_t> numbered(int index)
{
    // The number, then control bytes so that every frame carries escapes.
    return {static_cast<std::uint8_t>(index >> 8), static_cast<std::uint8_t>(index & 0xFF), 0x10, 0x02, 0x03, 0x06};
}

int numberOf(const std::vector<std::uint8_t> &payload)
{
    return payload.size() < 2 ? -1 : (payload[0] << 8) | payload[1];
}

// True when the numbers rise strictly: in order, none twice.
bool strictlyRising(const std::vector<int> &numbers)
{
    return std::adjacent_find(numbers.begin(), numbers.end(), [](int a, int b) { return a >= b; }) == numbers.end();
}

class ALinkSoak : public LinkFixture
{
};

} // namespace

TEST_F(ALinkSoak, DeliversEveryUnreportedMessageOnceAndInOrderThroughFaults)
{
    unitsim::UnitTiming unitTiming;
    unitTiming.retransmitAfter = 40ms;
    unitTiming.frameSilence = 20ms;
    unitTiming.sendInterval = 15ms; // leaves the PC silent reads in which to send
    startUnit(unitTiming);
    // A stray ACK is left out of the mix: the protocol's acknowledgements carry no sequence, so a
    // stray ACK acknowledges whatever frame the PC has in flight; the directed tests cover it.
    std::vector<Fault> mix;
    for (Fault fault : unitsim::kAllFaults) {
        if (fault != Fault::StrayAck)
            mix.push_back(fault);
    }
    // 6.25% when eligible, with four quiet frames after each fault, puts faults on 5% of frames.
    // ORVEX_SOAK_SEED replays another mix.
    const char *seed = std::getenv("ORVEX_SOAK_SEED");
    m_unit->SetRandomFaults(0.0625, seed ? static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)) : 20261208u, mix);
    startLink({10ms, 30ms});

    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < kMessages; ++i) {
        send(kFromPc, numbered(i));
        m_unit->Send({kFromUnit, numbered(i)});
    }

    const auto count = [](const auto &messages, std::uint8_t type) {
        return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                              [&](const auto &m) { return m.type == type; }));
    };
    const bool finished = waitUntil(
        [&] {
            const auto stats = m_unit->stats();
            return count(unitReceived(), kFromPc) + static_cast<int>(m_sink.errors().size()) == kMessages
                && count(m_sink.frames(), kFromUnit) + static_cast<int>(stats.framesGivenUp) == kMessages
                && m_unit->idle() && m_link->IsEmpty();
        },
        110s);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::vector<int> atUnit;
    for (const auto &m : unitReceived())
        if (m.type == kFromPc)
            atUnit.push_back(numberOf(m.payload));
    std::vector<int> atPc;
    for (const auto &m : m_sink.frames())
        if (m.type == kFromUnit)
            atPc.push_back(numberOf(m.payload));
    const auto errors = m_sink.errors();
    const auto stats = m_unit->stats();

    std::printf("soak: %.1f s; PC->unit delivered %zu, lost and reported %zu; unit->PC delivered %zu, "
                "given up %llu; faults on %llu of %llu frames (%.1f%%), %llu applied; unit rewrites %llu; "
                "duplicates at unit %llu\n",
                seconds, atUnit.size(), errors.size(), atPc.size(),
                static_cast<unsigned long long>(stats.framesGivenUp),
                static_cast<unsigned long long>(stats.randomFaultsArmed),
                static_cast<unsigned long long>(stats.randomDraws),
                100.0 * static_cast<double>(stats.randomFaultsArmed) / static_cast<double>(std::max<std::uint64_t>(stats.randomDraws, 1)),
                static_cast<unsigned long long>(stats.faultsInjected),
                static_cast<unsigned long long>(stats.rewrites),
                static_cast<unsigned long long>(stats.duplicatesReceived));

    ASSERT_TRUE(finished);
    EXPECT_TRUE(strictlyRising(atUnit));
    EXPECT_TRUE(strictlyRising(atPc));
    EXPECT_EQ(static_cast<int>(atUnit.size() + errors.size()), kMessages);
    for (const auto &error : errors)
        EXPECT_EQ(error.errorText, transport::LinkProtocolThread::kNoAcknowledgementText);
    EXPECT_GT(stats.faultsInjected, 0u);
}
