#pragma once
// The camera presets of one dispenser, one preset event per dispenser event number
// (`EVENT` children of `CAMERA_PRESETS`). Not the transport's camera preset message, which has
// the same name in namespace transport.
//
// Numbers are looked up by each element's `NUMBER` attribute, the first match winning.
// NumPresetEvents counts element children. GetPresetEvent: S_OK and a live view; E_INVALIDARG
// and a null view for an unknown number; E_FAIL when the view cannot be made. NewPresetEvent
// returns the existing event of that number or appends one (camera 0, preset 0).
// DeletePresetEvent: S_OK, or E_INVALIDARG for an unknown number.

#include "interfaces/configstore/ipreset_event.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <memory>

namespace configstore {

class ORVEX_INTERFACE ICameraPresets
{
public:
    virtual ~ICameraPresets() = default;

    virtual HRESULT NumPresetEvents(std::int16_t *events) = 0;
    virtual HRESULT GetPresetEvent(std::int16_t eventNum, std::shared_ptr<IPresetEvent> *pIPresetEvent) = 0;
    virtual HRESULT NewPresetEvent(std::int16_t eventNum, std::shared_ptr<IPresetEvent> *pIPresetEvent) = 0;
    virtual HRESULT DeletePresetEvent(std::int16_t eventNum) = 0;
};

} // namespace configstore
