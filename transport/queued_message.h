#pragma once
// The two items that cross the link thread's boundary.
//
// OutgoingMessage: one message for the unit (type code and payload), posted by the transport's
// send path on any thread to the link thread's queue, which frames, sends and deletes it. The
// transport numbers its messages from 1, in the order they are queued, so that it can tell when
// a given one has settled; 0 is a message without a number.
//
// QueuedMessage: one message from the unit, or a link error, posted by the link thread to the
// transport's inbound dispatcher, which owns and deletes it. Type 0 is a link error: its payload
// is 255 bytes holding the error text (at most 254 characters) and zero padding.
//
// Both own a copy of their bytes; neither is copyable (QueueItem).

#include "support/queue_item.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace transport {

class OutgoingMessage final : public support::QueueItem
{
public:
    OutgoingMessage(std::uint8_t type, std::span<const std::uint8_t> data, std::uint64_t number = 0)
        : m_type(type), m_data(data.begin(), data.end()), m_number(number)
    {
    }

    [[nodiscard]] std::uint8_t type() const { return m_type; }
    [[nodiscard]] std::uint64_t number() const { return m_number; }
    [[nodiscard]] std::span<const std::uint8_t> data() const { return m_data; }
    [[nodiscard]] std::int16_t length() const { return static_cast<std::int16_t>(m_data.size()); }

private:
    std::uint8_t m_type;
    std::vector<std::uint8_t> m_data;
    std::uint64_t m_number;
};

class QueuedMessage final : public support::QueueItem
{
public:
    static constexpr std::uint8_t kLinkError = 0;
    static constexpr std::size_t kErrorPayloadSize = 255;

    QueuedMessage(std::uint8_t type, const std::uint8_t *data, std::int32_t length)
        : m_type(type), m_data(data, data + (length > 0 ? length : 0))
    {
    }

    // A type 0 message carrying `text`, cut to 254 bytes and zero-padded to 255.
    [[nodiscard]] static std::unique_ptr<QueuedMessage> LinkError(std::string_view text);

    [[nodiscard]] std::uint8_t type() const { return m_type; }
    [[nodiscard]] const std::uint8_t *data() const { return m_data.data(); }
    [[nodiscard]] std::int32_t length() const { return static_cast<std::int32_t>(m_data.size()); }
    [[nodiscard]] std::span<const std::uint8_t> bytes() const { return m_data; }
    [[nodiscard]] bool isLinkError() const { return m_type == kLinkError; }
    // The text of a link error: the payload up to its first zero.
    [[nodiscard]] std::string errorText() const;

private:
    std::uint8_t m_type;
    std::vector<std::uint8_t> m_data;
};

} // namespace transport
