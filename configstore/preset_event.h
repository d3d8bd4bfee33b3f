#pragma once
// Live view of the camera and preset of one dispenser event (`EVENT` in `CAMERA_PRESETS`).
// Copies nothing; see ItemView.

#include "item_view.h"

#include "interfaces/configstore/ipreset_event.h"

namespace configstore {

inline constexpr FieldSchema kPresetEventFields[] = {{"CAMERA"}, {"PRESET"}};
inline constexpr ElementSchema kPresetEventSchema{"EVENT", kPresetEventFields};

class PresetEvent final : public IPresetEvent, private ItemView
{
public:
    explicit PresetEvent(NodeRef element) : ItemView(std::move(element), kPresetEventSchema) {}

    HRESULT GetCamera(std::int16_t *camera) override { return readNumber(Camera, camera); }
    HRESULT GetPresetValue(std::int16_t *preset) override { return readNumber(Preset, preset); }
    HRESULT SetCamera(std::int16_t camera) override { return writeNumber(Camera, camera); }
    HRESULT SetPresetValue(std::int16_t preset) override { return writeNumber(Preset, preset); }

private:
    enum Field : std::size_t { Camera, Preset };
};

} // namespace configstore
