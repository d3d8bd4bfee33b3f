#pragma once
// What the three reply readers share: a copy of the received payload (at most 1000 bytes), its
// length, and a cursor that starts at 1 (as after Begin).
//
// Made by the transport's dispatcher for one event; a subscriber may keep it as long as it likes.
// Reading never leaves the payload: a byte outside it reads as 0. The cursor is locked, so a
// reader kept by a subscriber may be read from any thread.

#include "interfaces/transport/messages.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <span>

namespace transport {

template <typename Interface>
class OrvexOutput : public Interface
{
public:
    explicit OrvexOutput(std::span<const std::uint8_t> payload)
        : m_length(static_cast<std::int16_t>(std::min<std::size_t>(payload.size(), kMaxMessageSize)))
    {
        std::copy_n(payload.begin(), m_length, m_data.begin());
    }

    HRESULT Begin() override
    {
        std::lock_guard lock(m_mutex);
        m_cursor = 1;
        return S_OK;
    }

    HRESULT isDone(std::int16_t *pVal) override
    {
        if (!pVal)
            return E_POINTER;
        std::lock_guard lock(m_mutex);
        *pVal = m_cursor >= m_length ? -1 : 0;
        return S_OK;
    }

protected:
    // data[0], the table's count, as a signed byte.
    HRESULT readCount(std::int16_t *pVal)
    {
        if (!pVal)
            return E_POINTER;
        *pVal = signedAt(0);
        return S_OK;
    }

    // Three signed bytes at the cursor; the cursor moves on by 3.
    HRESULT readSignedTuple(std::int16_t *a, std::int16_t *b, std::int16_t *c)
    {
        if (!a || !b || !c)
            return E_POINTER;
        std::lock_guard lock(m_mutex);
        *a = signedAt(m_cursor);
        *b = signedAt(m_cursor + 1);
        *c = signedAt(m_cursor + 2);
        advance(3);
        return S_OK;
    }

    [[nodiscard]] std::uint8_t byteAt(int index) const
    {
        return index >= 0 && index < m_length ? m_data[static_cast<std::size_t>(index)] : 0;
    }
    [[nodiscard]] std::int16_t signedAt(int index) const { return static_cast<std::int8_t>(byteAt(index)); }
    [[nodiscard]] std::int16_t length() const { return m_length; }

    // The cursor stops just past the largest payload rather than wrapping into negative numbers
    // when a caller reads on without asking isDone.
    void advance(int step) { m_cursor = static_cast<std::int16_t>(std::min(m_cursor + step, kMaxMessageSize + 1)); }

    std::mutex m_mutex;
    std::int16_t m_cursor = 1;

private:
    std::array<std::uint8_t, kMaxMessageSize> m_data{};
    const std::int16_t m_length;
};

} // namespace transport
