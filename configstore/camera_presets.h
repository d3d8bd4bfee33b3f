#pragma once
// Live view of a dispenser's camera presets (`CAMERA_PRESETS`): its preset events by number, and
// the numbers they answer for. Holds the container element only; see NumberedCollection.

#include "numbered_collection.h"

#include "interfaces/configstore/icamera_presets.h"
#include "interfaces/configstore/inumbered_items.h"

namespace configstore {

class CameraPresets final : public ICameraPresets, public INumberedItems
{
public:
    explicit CameraPresets(NodeRef container);

    HRESULT NumPresetEvents(std::int16_t *events) override;
    HRESULT GetPresetEvent(std::int16_t eventNum, std::shared_ptr<IPresetEvent> *pIPresetEvent) override;
    HRESULT NewPresetEvent(std::int16_t eventNum, std::shared_ptr<IPresetEvent> *pIPresetEvent) override;
    HRESULT DeletePresetEvent(std::int16_t eventNum) override;

    // The preset event numbers.
    HRESULT GetNumbers(std::vector<std::int16_t> *numbers) override;

private:
    NumberedCollection m_events;
};

} // namespace configstore
