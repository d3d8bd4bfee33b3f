#pragma once
// Wrapping of an encoded camera command for the unit: the result is the payload of a
// pass-through message (type 0x70), whose first byte is the unit's camera port, always 01.
//   '(' : 01, the 7 command bytes, their XOR (9 bytes);
//   'Z' : the spare first byte becomes 01 and the sum of the bytes from the address to the end
//         is appended as the check (8 bytes);
//   'P', '_' : 01 in front of the command bytes as they are.
// A code without a command set gives an empty payload, which callers must not send.

#include "interfaces/transport/messages.h"

#include <cstdint>

namespace transport {

inline constexpr std::uint8_t kCameraPort = 0x01;
inline constexpr std::uint8_t kPassThroughMessageType = 0x70;

ByteArray WrapCameraCommand(std::int32_t cameraCode, const ByteArray &command);

} // namespace transport
