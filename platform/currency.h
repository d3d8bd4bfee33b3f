#pragma once
// Money as the components exchange it: a 64-bit fixed-point value scaled by 10,000.

#include <compare>
#include <cstdint>

struct Currency
{
    static constexpr std::int64_t kScale = 10000;

    std::int64_t scaled = 0;

    [[nodiscard]] static constexpr Currency fromUnits(std::int64_t units) { return {units * kScale}; }
    [[nodiscard]] constexpr double toDouble() const { return static_cast<double>(scaled) / kScale; }

    friend constexpr auto operator<=>(const Currency &, const Currency &) = default;
};
