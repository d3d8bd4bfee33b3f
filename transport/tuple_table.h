#pragma once
// The shape shared by the preset table (type C) and the event table (type E): a count byte at
// [0], then 3-byte tuples. Tuples may be appended before or after the count is set; the first
// of either reserves byte 0.

#include "orvex_msg.h"

namespace transport {

template <typename Interface>
class TupleTable : public OrvexMsg<Interface>
{
protected:
    // E_INVALIDARG, nothing changed, for a count that no byte gives back.
    HRESULT setCount(std::int16_t count)
    {
        if (!kPayloadByte.contains(count))
            return E_INVALIDARG;
        reserveCountByte();
        this->m_buffer.put(0, count);
        return S_OK;
    }

    // E_INVALIDARG, nothing changed, when the tuple would pass the 1000th byte or holds a value
    // that no byte gives back.
    HRESULT appendTuple(std::int16_t a, std::int16_t b, std::int16_t c)
    {
        const std::int16_t before = this->m_buffer.length();
        reserveCountByte();
        if (!this->m_buffer.append({a, b, c})) {
            this->m_buffer.setLength(before);
            return E_INVALIDARG;
        }
        return S_OK;
    }

private:
    void reserveCountByte()
    {
        if (this->m_buffer.length() == 0)
            this->m_buffer.setLength(1);
    }
};

} // namespace transport
