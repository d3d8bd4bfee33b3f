#pragma once
// A task of a site (`TASK` in `TASKS`): binds one of the unit's ports to a forecourt device.
// Every member is S_OK; a value whose element or text is missing from a hand-edited file gives
// E_FAIL and writes nothing.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>

namespace configstore {

class ORVEX_INTERFACE ITask
{
public:
    virtual ~ITask() = default;

    virtual HRESULT GetType(std::int16_t *type) = 0;
    virtual HRESULT GetInport(std::int16_t *port) = 0;
    virtual HRESULT GetOutport(std::int16_t *port) = 0;
    virtual HRESULT GetInterface(std::int16_t *iface) = 0;
    virtual HRESULT SetType(std::int16_t type) = 0;
    virtual HRESULT SetInterface(std::int16_t iface) = 0;
    virtual HRESULT SetInport(std::int16_t port) = 0;
    virtual HRESULT SetOutport(std::int16_t port) = 0;
};

} // namespace configstore
