#include "camera.h"

#include "preset.h"

namespace configstore {

Camera::Camera(NodeRef element) : ItemView(std::move(element), kCameraSchema)
{
    if (field(Presets))
        m_presets = NumberedCollection(field(Presets), kPresetSchema);
}

HRESULT Camera::GetType(std::int16_t *type)
{
    return readNumber(Type, type);
}

HRESULT Camera::SetType(std::int16_t type)
{
    return writeNumber(Type, type);
}

HRESULT Camera::NumPresets(std::int16_t *presets)
{
    return m_presets.count(presets);
}

HRESULT Camera::GetPreset(std::int16_t presetNum, std::shared_ptr<IPreset> *pIPreset)
{
    return m_presets.get<Preset>(presetNum, pIPreset);
}

HRESULT Camera::NewPreset(std::int16_t presetNum, std::shared_ptr<IPreset> *pIPreset)
{
    return m_presets.create<Preset>(presetNum, pIPreset);
}

HRESULT Camera::DeletePreset(std::int16_t presetNum)
{
    return m_presets.remove(presetNum);
}

HRESULT Camera::GetNumbers(std::vector<std::int16_t> *numbers)
{
    return m_presets.numbers(numbers);
}

} // namespace configstore
