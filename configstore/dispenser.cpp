#include "dispenser.h"

#include "camera_presets.h"

namespace configstore {

HRESULT Dispenser::GetDispenserMap(std::shared_ptr<IDispenserMap> *pIDispenserMap)
{
    if (!field(Map)) {
        pIDispenserMap->reset();
        return E_FAIL;
    }
    return HandOut<DispenserMap>(pIDispenserMap, field(Map));
}

HRESULT Dispenser::GetCameraPresets(std::shared_ptr<ICameraPresets> *pCameraPresets)
{
    if (!field(Presets)) {
        pCameraPresets->reset();
        return E_FAIL;
    }
    return HandOut<CameraPresets>(pCameraPresets, field(Presets));
}

} // namespace configstore
