#pragma once
// The members every message builder shares (getBuffer, getLength, setBuffer), over one
// MessageBuffer, for whichever builder interface `Interface` is.
//
// Builders are made by the transport's get members and freed when the last holder lets go.
// Any thread may call; a builder is filled by one thread at a time.

#include "message_buffer.h"

#include "interfaces/transport/messages.h"

namespace transport {

template <typename Interface>
class OrvexMsg : public Interface
{
public:
    HRESULT getBuffer(ByteArray *pBuffer) override
    {
        if (!pBuffer)
            return E_POINTER;
        *pBuffer = m_buffer.bytes();
        return S_OK;
    }

    HRESULT getLength(std::int16_t *pLength) override
    {
        if (!pLength)
            return E_POINTER;
        *pLength = m_buffer.length();
        return S_OK;
    }

    HRESULT setBuffer(const ByteArray &pBuffer, std::int16_t offset) override
    {
        return m_buffer.setBuffer(pBuffer, offset);
    }

protected:
    MessageBuffer m_buffer;
};

} // namespace transport
