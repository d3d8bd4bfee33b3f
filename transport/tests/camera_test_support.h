#pragma once
// Helpers shared by the camera tests: byte strings written as hex text.

#include "interfaces/transport/messages.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>

namespace transport::testing {

// "01 A0 02" -> {0x01, 0xA0, 0x02}.
inline ByteArray Bytes(std::string_view hex)
{
    ByteArray out;
    std::istringstream in{std::string(hex)};
    std::string token;
    while (in >> token)
        out.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
    return out;
}

inline std::string Hex(const ByteArray &bytes)
{
    std::string out;
    char buffer[4];
    for (const std::uint8_t byte : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", byte);
        out += buffer;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

} // namespace transport::testing
