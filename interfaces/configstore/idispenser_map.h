#pragma once
// The loop and addresses of a dispenser (`DISPENSER_MAP` in `DISPENSER`).
// Every member is S_OK; a value whose element or text is missing from a hand-edited file gives
// E_FAIL and writes nothing.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>

namespace configstore {

class ORVEX_INTERFACE IDispenserMap
{
public:
    virtual ~IDispenserMap() = default;

    virtual HRESULT GetLoop(std::int16_t *loop) = 0;
    virtual HRESULT GetAddress(std::int16_t *address) = 0;
    virtual HRESULT GetCardTerminalAddress(std::int16_t *address) = 0;
    virtual HRESULT GetAttendantTagAddress(std::int16_t *address) = 0;
    virtual HRESULT SetLoop(std::int16_t loop) = 0;
    virtual HRESULT SetAddress(std::int16_t address) = 0;
    virtual HRESULT SetCardTerminalAddress(std::int16_t address) = 0;
    virtual HRESULT SetAttendantTagAddress(std::int16_t address) = 0;
};

} // namespace configstore
