#pragma once
// Turns one received message into the transport event it stands for.
//
// decode() is a function of the type and payload, except for camera position replies of code
// 'Z', which come one axis at a time: the last pan, tilt and zoom are kept per decoder (per
// transport object), and the count of position replies is one for the whole library
// (camera_position_reply_count.h), so that a position is fired after every third reply,
// whichever transport object received it. Bytes
// become 16-bit values as signed bytes; texts end at a zero byte and are converted from
// Windows-1252 to UTF-8, except the link's own error texts, which are UTF-8 already. A payload
// shorter than its type's layout reads as if padded with zero bytes; unknown types give no
// event.
//
// Called on the transport's dispatcher thread only. The returned call makes a fresh reader for
// each subscriber it is applied to, so one subscriber's reading never moves another's cursor.

#include "interfaces/transport/iorvex_transport_events.h"

#include <cstdint>
#include <functional>
#include <span>

namespace transport {

using EventCall = std::function<void(IOrvexTransportEvents &)>;

class EventDecoder
{
public:
    // The event to fire for the message, or an empty call when it makes none.
    [[nodiscard]] EventCall decode(std::uint8_t type, std::span<const std::uint8_t> payload);

private:
    EventCall decodeCameraPosition(std::span<const std::uint8_t> payload);
    EventCall decodeAxisReply(std::span<const std::uint8_t> payload);

    float m_pan = 0.0f;
    float m_tilt = 0.0f;
    float m_zoom = 0.0f;
};

} // namespace transport
