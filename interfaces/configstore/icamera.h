#pragma once
// A camera of a site (`CAMERA` in `CAMERAS`): its type and its presets (`PRESET` children of its
// `PRESETS`).
//
// GetType / SetType: S_OK; E_FAIL without a `TYPE` text (hand-edited file). The preset members
// behave as the site's collections: NumPresets counts element children; GetPreset gives S_OK and
// a live view, E_INVALIDARG and a null view for an unknown number; NewPreset returns the existing
// preset of that number or appends one with an empty comment; DeletePreset gives S_OK or
// E_INVALIDARG. A camera whose `PRESETS` is missing counts 0 and refuses the others with E_FAIL.

#include "interfaces/configstore/ipreset.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <memory>

namespace configstore {

class ORVEX_INTERFACE ICamera
{
public:
    virtual ~ICamera() = default;

    virtual HRESULT GetType(std::int16_t *type) = 0;
    virtual HRESULT SetType(std::int16_t type) = 0;
    virtual HRESULT NumPresets(std::int16_t *presets) = 0;
    virtual HRESULT GetPreset(std::int16_t presetNum, std::shared_ptr<IPreset> *pIPreset) = 0;
    virtual HRESULT NewPreset(std::int16_t presetNum, std::shared_ptr<IPreset> *pIPreset) = 0;
    virtual HRESULT DeletePreset(std::int16_t presetNum) = 0;
};

} // namespace configstore
