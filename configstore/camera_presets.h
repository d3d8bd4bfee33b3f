#pragma once
// Live view of a dispenser's camera presets (`CAMERA_PRESETS`): its preset events by number.
// Holds the container element only; see NumberedCollection.

#include "numbered_collection.h"

#include "interfaces/configstore/icamera_presets.h"

namespace configstore {

class CameraPresets final : public ICameraPresets
{
public:
    explicit CameraPresets(NodeRef container);

    HRESULT NumPresetEvents(std::int16_t *events) override;
    HRESULT GetPresetEvent(std::int16_t eventNum, std::shared_ptr<IPresetEvent> *pIPresetEvent) override;
    HRESULT NewPresetEvent(std::int16_t eventNum, std::shared_ptr<IPresetEvent> *pIPresetEvent) override;
    HRESULT DeletePresetEvent(std::int16_t eventNum) override;

private:
    NumberedCollection m_events;
};

} // namespace configstore
