#pragma once
// An event priority of a site (`EVENT` in `PRIORITIES`): its priority and transition priority.
// Every member is S_OK; a value whose element or text is missing from a hand-edited file gives
// E_FAIL and writes nothing.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>

namespace configstore {

class ORVEX_INTERFACE IEvent
{
public:
    virtual ~IEvent() = default;

    virtual HRESULT GetPriority(std::int16_t *priority) = 0;
    virtual HRESULT GetTransitionPriority(std::int16_t *priority) = 0;
    virtual HRESULT SetPriority(std::int16_t priority) = 0;
    virtual HRESULT SetTransitionPriority(std::int16_t priority) = 0;
};

} // namespace configstore
