#pragma once
// A dispenser of a site (`DISPENSER`): gives its address map and its camera presets as live
// views. S_OK with the view; E_FAIL when the view cannot be made, or when a hand-edited file left
// the dispenser without that child element (the view is then null).

#include "interfaces/configstore/icamera_presets.h"
#include "interfaces/configstore/idispenser_map.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <memory>

namespace configstore {

class ORVEX_INTERFACE IDispenser
{
public:
    virtual ~IDispenser() = default;

    virtual HRESULT GetDispenserMap(std::shared_ptr<IDispenserMap> *pIDispenserMap) = 0;
    virtual HRESULT GetCameraPresets(std::shared_ptr<ICameraPresets> *pCameraPresets) = 0;
};

} // namespace configstore
