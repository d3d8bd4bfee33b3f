#include "camera_presets.h"

#include "preset_event.h"

namespace configstore {

CameraPresets::CameraPresets(NodeRef container) : m_events(std::move(container), kPresetEventSchema) {}

HRESULT CameraPresets::NumPresetEvents(std::int16_t *events)
{
    return m_events.count(events);
}

HRESULT CameraPresets::GetPresetEvent(std::int16_t eventNum, std::shared_ptr<IPresetEvent> *pIPresetEvent)
{
    return m_events.get<PresetEvent>(eventNum, pIPresetEvent);
}

HRESULT CameraPresets::NewPresetEvent(std::int16_t eventNum, std::shared_ptr<IPresetEvent> *pIPresetEvent)
{
    return m_events.create<PresetEvent>(eventNum, pIPresetEvent);
}

HRESULT CameraPresets::DeletePresetEvent(std::int16_t eventNum)
{
    return m_events.remove(eventNum);
}

HRESULT CameraPresets::GetNumbers(std::vector<std::int16_t> *numbers)
{
    return m_events.numbers(numbers);
}

} // namespace configstore
