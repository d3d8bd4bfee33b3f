#include "queued_message.h"

#include <algorithm>
#include <array>

namespace transport {

std::unique_ptr<QueuedMessage> QueuedMessage::LinkError(std::string_view text)
{
    std::array<std::uint8_t, kErrorPayloadSize> payload{};
    const std::size_t n = std::min(text.size(), kErrorPayloadSize - 1);
    std::copy_n(text.begin(), n, payload.begin());
    return std::make_unique<QueuedMessage>(kLinkError, payload.data(), static_cast<std::int32_t>(payload.size()));
}

std::string QueuedMessage::errorText() const
{
    const auto end = std::find(m_data.begin(), m_data.end(), std::uint8_t{0});
    return std::string(m_data.begin(), end);
}

} // namespace transport
