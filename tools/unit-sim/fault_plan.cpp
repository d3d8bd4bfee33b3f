#include "fault_plan.h"

#include "transport/frame_codec.h"

#include <algorithm>

namespace unitsim {

namespace {

namespace ctl = transport::control;

constexpr int kCooldownAfterFault = 4;

std::size_t indexOf(Fault fault)
{
    return static_cast<std::size_t>(fault);
}

// The index just past the first `elements` escaped elements after the STX.
std::size_t elementBoundary(const std::vector<std::uint8_t> &frame, int elements)
{
    std::size_t i = 1;
    for (int n = 0; n < elements && i < frame.size(); ++n)
        i += frame[i] == ctl::DLE ? 2 : 1;
    return std::min(i, frame.size());
}

} // namespace

void FaultPlan::Arm(Fault fault, int count)
{
    std::lock_guard lock(m_mutex);
    m_armed[indexOf(fault)] += std::max(count, 0);
}

bool FaultPlan::Take(Fault fault)
{
    std::lock_guard lock(m_mutex);
    int &count = m_armed[indexOf(fault)];
    if (count == 0)
        return false;
    --count;
    ++m_applied;
    return true;
}

bool FaultPlan::Armed(Fault fault) const
{
    std::lock_guard lock(m_mutex);
    return m_armed[indexOf(fault)] > 0;
}

void FaultPlan::SetRandom(double rate, std::uint32_t seed, std::vector<Fault> mix)
{
    std::lock_guard lock(m_mutex);
    m_rate = mix.empty() ? 0 : rate;
    m_rng.seed(seed);
    m_mix = std::move(mix);
    m_cooldown = 0;
}

std::string FaultPlan::Draw()
{
    std::lock_guard lock(m_mutex);
    if (m_rate <= 0)
        return {};
    ++m_draws;
    if (m_cooldown > 0) {
        --m_cooldown;
        return {};
    }
    if (std::uniform_real_distribution<double>(0, 1)(m_rng) >= m_rate)
        return {};
    const Fault fault = m_mix[std::uniform_int_distribution<std::size_t>(0, m_mix.size() - 1)(m_rng)];
    const bool perFrame = fault == Fault::Silence || fault == Fault::Nak;
    const int count = perFrame ? std::uniform_int_distribution<int>(1, 4)(m_rng) : 1;
    m_armed[indexOf(fault)] += count;
    ++m_drawn;
    m_cooldown = kCooldownAfterFault;
    return std::string(faultName(fault)) + " x" + std::to_string(count);
}

std::string FaultPlan::DamageWrite(std::vector<std::uint8_t> &frame)
{
    if (frame.size() < 3)
        return {};
    if (Take(Fault::CorruptChecksum)) {
        frame.back() ^= 0x5A;
        return "corrupt-checksum";
    }
    if (Take(Fault::BadEscape)) {
        // The frame ends at the bad escape, so that its tail is not read as loose control bytes.
        frame.resize(elementBoundary(frame, 2));
        frame.insert(frame.end(), {ctl::DLE, 0x41});
        return "bad-escape";
    }
    if (Take(Fault::CutFrame)) {
        frame.resize(frame.size() / 2);
        return "cut-frame";
    }
    for (auto [fault, byte] : {std::pair{Fault::StrayCan, ctl::CAN}, std::pair{Fault::StrayAck, ctl::ACK}}) {
        if (Take(fault)) {
            frame.insert(frame.begin() + static_cast<std::ptrdiff_t>(elementBoundary(frame, 2)), byte);
            return std::string(faultName(fault));
        }
    }
    return {};
}

std::uint64_t FaultPlan::applied() const
{
    std::lock_guard lock(m_mutex);
    return m_applied;
}

std::uint64_t FaultPlan::draws() const
{
    std::lock_guard lock(m_mutex);
    return m_draws;
}

std::uint64_t FaultPlan::drawn() const
{
    std::lock_guard lock(m_mutex);
    return m_drawn;
}

} // namespace unitsim
