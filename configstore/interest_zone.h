#pragma once
// Live view of an interest zone (`INTEREST_ZONE` in `INTEREST_ZONES`). Copies nothing; see
// ItemView.

#include "item_view.h"

#include "interfaces/configstore/iinterest_zone.h"

namespace configstore {

inline constexpr FieldSchema kInterestZoneFields[] = {
    {"CAMERA_NUMBER"}, {"PRESET_NUMBER"}, {"TEXT", FieldKind::Text}};
inline constexpr ElementSchema kInterestZoneSchema{"INTEREST_ZONE", kInterestZoneFields};

class InterestZone final : public IInterestZone, private ItemView
{
public:
    explicit InterestZone(NodeRef element) : ItemView(std::move(element), kInterestZoneSchema) {}

    HRESULT GetCameraNumber(std::int16_t *camera) override { return readNumber(Camera, camera); }
    HRESULT GetPresetNumber(std::int16_t *preset) override { return readNumber(Preset, preset); }
    HRESULT GetText(std::string *text) override { return readText(Text, text); }
    HRESULT SetCameraNumber(std::int16_t camera) override { return writeNumber(Camera, camera); }
    HRESULT SetPresetNumber(std::int16_t preset) override { return writeNumber(Preset, preset); }
    HRESULT SetText(const std::string *text) override { return writeText(Text, *text); }

private:
    enum Field : std::size_t { Camera, Preset, Text };
};

} // namespace configstore
