#pragma once
// The descriptions of the forecourt event numbers that pump, payment terminal and camera items
// carry. Pure functions over a constant table; any thread.

#include <cstdint>
#include <string_view>

namespace recorder_bridge {

inline constexpr std::int16_t kHighestEventNumber = 18;

// Numbers above 18 are refused; negative numbers pass.
[[nodiscard]] constexpr bool IsKnownEventNumber(std::int16_t number) { return number <= kHighestEventNumber; }

// The description of the number's low 8 bits, empty where the table has none (-1 gives empty,
// -256 gives "Idle Dispenser").
[[nodiscard]] std::string_view EventDescription(std::int16_t number);

} // namespace recorder_bridge
