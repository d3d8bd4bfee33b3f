#pragma once
// Prices and volumes of the unit's delivery totals: packed BCD, ten digits in five bytes, high
// nibble first.
//
// A price is the five digit bytes and a sixth byte k, the number of integer digits: digits 1..k
// are the whole units, the next (at most four) digits the fraction. A volume is the ten digits
// read as one whole number, divided by 10^(10 - scale) for its sixth byte `scale`. Decoding is
// total: a k outside 0..10 is clamped, and a nibble above 9 counts with its own value.

#include "platform/currency.h"

#include <array>
#include <cstdint>
#include <span>

namespace transport {

using BcdField = std::array<std::uint8_t, 6>;

// Each fraction digit keeps its place: with k = 8 the fraction digits 1, 2 give 0.12.
[[nodiscard]] Currency DecodeBcdPrice(std::span<const std::uint8_t, 6> field);
[[nodiscard]] double DecodeBcdVolume(std::span<const std::uint8_t, 6> field);

// For the simulated unit: six integer digits and four fraction digits (k = 6); values outside
// 0..999999.9999 are clamped.
[[nodiscard]] BcdField EncodeBcdPrice(Currency price);
// Thousandths (scale 7), rounded; values outside 0..9999999.999 are clamped.
[[nodiscard]] BcdField EncodeBcdVolume(double volume);

} // namespace transport
