#pragma once
// Which faults the simulated unit is to put on the line next: counts armed by command, and an
// optional random draw per frame.
//
// Thread-safe: commands arm from any thread, the unit's thread takes. Never throws except
// std::bad_alloc.

#include "unit_fault.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace unitsim {

class FaultPlan
{
public:
    void Arm(Fault fault, int count);
    // Consumes one armed `fault`; false when none is armed.
    bool Take(Fault fault);
    [[nodiscard]] bool Armed(Fault fault) const;

    // From now on Draw arms one fault of `mix` with probability `rate` (silence and nak for
    // 1..4 frames), then skips the next four draws, so that faults do not pile onto each other.
    void SetRandom(double rate, std::uint32_t seed, std::vector<Fault> mix);
    // One draw for one frame; the description of what it armed, or empty.
    std::string Draw();

    // Damages one write of a frame with the first armed write fault; its name, or empty.
    std::string DamageWrite(std::vector<std::uint8_t> &frame);

    [[nodiscard]] std::uint64_t applied() const;
    [[nodiscard]] std::uint64_t draws() const;
    [[nodiscard]] std::uint64_t drawn() const;

private:
    mutable std::mutex m_mutex;
    std::array<int, std::size(kAllFaults)> m_armed{};
    double m_rate = 0;
    std::mt19937 m_rng;
    std::vector<Fault> m_mix;
    int m_cooldown = 0;
    std::uint64_t m_applied = 0;
    std::uint64_t m_draws = 0;
    std::uint64_t m_drawn = 0;
};

} // namespace unitsim
