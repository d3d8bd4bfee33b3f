#pragma once
// How the store writes numbers into element text and reads them back.
//
// Reading follows the wide-string-to-long conversion that stored files have always been read
// with: leading blanks, an optional sign, then decimal digits up to the first other character;
// no digits read as 0. A value beyond the 32-bit range saturates at its end instead of
// overflowing, so absurd digits in a user's file give a defined value. Values are then cut to
// their low 16 bits (CutTo16), while lookups by number compare the whole 32-bit value.

#include <cstdint>
#include <string>
#include <string_view>

namespace configstore {

[[nodiscard]] std::int32_t ParseLong(std::string_view text);

// The low 16 bits, as the conversion of a long to a short has always done (70000 is 4464).
[[nodiscard]] constexpr std::int16_t CutTo16(std::int32_t value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu));
}

// Decimal text: "-" for negatives, no sign for positives, no leading zeros.
[[nodiscard]] std::string FormatNumber(std::int32_t value);

} // namespace configstore
