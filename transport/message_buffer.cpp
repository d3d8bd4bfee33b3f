#include "message_buffer.h"

#include "platform/notifier.h"

#include <algorithm>

namespace transport {

ByteArray MessageBuffer::bytes() const
{
    const auto count = static_cast<std::size_t>(std::clamp<int>(m_length, 0, kMaxMessageSize));
    return ByteArray(m_data.begin(), m_data.begin() + static_cast<std::ptrdiff_t>(count));
}

HRESULT MessageBuffer::setBuffer(const ByteArray &source, std::int16_t offset)
{
    if (offset < 0)
        return E_INVALIDARG;
    const auto needed = source.size() + static_cast<std::size_t>(std::max<int>(m_length, 0))
                        + static_cast<std::size_t>(offset);
    if (needed > static_cast<std::size_t>(kMaxMessageSize)) {
        Notify("Maximum Message size exceeded.Please break message into parts", NoticeKind::Error);
        return E_INVALIDARG;
    }
    std::copy(source.begin(), source.end(), m_data.begin() + offset);
    m_length = static_cast<std::int16_t>(m_length + static_cast<int>(source.size()));
    return S_OK;
}

bool MessageBuffer::put(int index, std::int16_t value)
{
    if (index < 0 || index >= kMaxMessageSize || !kPayloadByte.contains(value))
        return false;
    m_data[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(value & 0xFF);
    return true;
}

bool MessageBuffer::append(std::initializer_list<std::int16_t> values)
{
    const int start = std::max<int>(m_length, 0);
    if (start + static_cast<int>(values.size()) > kMaxMessageSize)
        return false;
    if (!std::ranges::all_of(values,
                             [](std::int16_t value) { return kPayloadByte.contains(value); }))
        return false;
    int index = start;
    for (const auto value : values)
        put(index++, value);
    m_length = static_cast<std::int16_t>(index);
    return true;
}

void MessageBuffer::clear()
{
    m_data.fill(0);
    m_length = 0;
}

} // namespace transport
