#include "bcd_number.h"

#include <algorithm>
#include <cmath>

namespace transport {

namespace {

constexpr int kDigits = 10;

// Digit `n` (1-based) of the ten packed digits.
int digitAt(std::span<const std::uint8_t, 6> field, int n)
{
    const std::uint8_t byte = field[static_cast<std::size_t>((n - 1) / 2)];
    return (n % 2 == 1) ? (byte >> 4) : (byte & 0x0F);
}

BcdField pack(std::uint64_t number, std::uint8_t sixth)
{
    BcdField field{};
    for (int n = kDigits; n >= 1; --n) {
        const auto digit = static_cast<std::uint8_t>(number % 10);
        number /= 10;
        auto &byte = field[static_cast<std::size_t>((n - 1) / 2)];
        byte = static_cast<std::uint8_t>(byte | ((n % 2 == 1) ? (digit << 4) : digit));
    }
    field[5] = sixth;
    return field;
}

} // namespace

Currency DecodeBcdPrice(std::span<const std::uint8_t, 6> field)
{
    const int integerDigits = std::clamp<int>(static_cast<std::int8_t>(field[5]), 0, kDigits);
    std::int64_t units = 0;
    for (int n = 1; n <= integerDigits; ++n)
        units = units * 10 + digitAt(field, n);
    std::int64_t fraction = 0;
    std::int64_t place = Currency::kScale / 10;
    for (int n = integerDigits + 1; n <= kDigits && place > 0; ++n, place /= 10)
        fraction += digitAt(field, n) * place;
    return Currency{units * Currency::kScale + fraction};
}

double DecodeBcdVolume(std::span<const std::uint8_t, 6> field)
{
    std::int64_t whole = 0;
    for (int n = 1; n <= kDigits; ++n)
        whole = whole * 10 + digitAt(field, n);
    const int scale = static_cast<std::int8_t>(field[5]);
    return static_cast<double>(whole) / std::pow(10.0, kDigits - scale);
}

BcdField EncodeBcdPrice(Currency price)
{
    constexpr std::int64_t kLargest = 9999999999;
    return pack(static_cast<std::uint64_t>(std::clamp<std::int64_t>(price.scaled, 0, kLargest)), 6);
}

BcdField EncodeBcdVolume(double volume)
{
    constexpr double kLargest = 9999999999.0;
    if (std::isnan(volume))
        volume = 0.0;
    const double thousandths = std::clamp(std::round(volume * 1000.0), 0.0, kLargest);
    return pack(static_cast<std::uint64_t>(thousandths), 7);
}

} // namespace transport
