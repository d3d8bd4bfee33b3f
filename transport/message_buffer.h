#pragma once
// The payload of one message under construction: 1000 bytes and a length.
//
// Owned by value by each builder. Values handed in as 16-bit numbers are stored as one byte, as
// the unit reads single bytes: a value no byte gives back (outside kPayloadByte) is refused, as
// is every write that would pass the 1000th byte; a refused write leaves the buffer as it was.
// Not locked: a builder is filled by one thread, then handed to the transport, which copies it.

#include "interfaces/transport/field_range.h"
#include "interfaces/transport/messages.h"

#include <array>
#include <cstdint>

namespace transport {

class MessageBuffer
{
public:
    [[nodiscard]] ByteArray bytes() const;
    [[nodiscard]] std::int16_t length() const { return m_length; }

    // Copies `source` to the absolute position `offset` and adds its size to the length. The sum
    // of size, length and offset may not exceed 1000 (the offset is counted on top of the length,
    // so a caller that appends after fixed bytes gives up that much room); a refusal shows
    // "Maximum Message size exceeded.Please break message into parts". A negative offset is
    // refused without a notice: it is a caller's mistake, not a message too large.
    HRESULT setBuffer(const ByteArray &source, std::int16_t offset);

    // data[index] := the byte of value; false (nothing written) for an index outside 0..999 or
    // a value outside kPayloadByte.
    bool put(int index, std::int16_t value);
    // Stores the bytes of `values` at data[length] onwards and adds their count to the length;
    // false (nothing written) when they would pass the 1000th byte or one is outside
    // kPayloadByte.
    bool append(std::initializer_list<std::int16_t> values);
    void setLength(std::int16_t length) { m_length = length; }
    // Zeroes the data and the length.
    void clear();

private:
    std::array<std::uint8_t, kMaxMessageSize> m_data{};
    std::int16_t m_length = 0;
};

} // namespace transport
