#pragma once
// The camera and preset that one dispenser event calls up (`EVENT` in `CAMERA_PRESETS`).
// Every member is S_OK; a value whose element or text is missing from a hand-edited file gives
// E_FAIL and writes nothing.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>

namespace configstore {

class ORVEX_INTERFACE IPresetEvent
{
public:
    virtual ~IPresetEvent() = default;

    virtual HRESULT GetCamera(std::int16_t *camera) = 0;
    virtual HRESULT GetPresetValue(std::int16_t *preset) = 0;
    virtual HRESULT SetCamera(std::int16_t camera) = 0;
    virtual HRESULT SetPresetValue(std::int16_t preset) = 0;
};

} // namespace configstore
