#pragma once
// Live view of a camera (`CAMERA` in `CAMERAS`): its type and its presets by number, and the
// numbers its presets answer for. Copies nothing; see ItemView and NumberedCollection.

#include "item_view.h"
#include "numbered_collection.h"

#include "interfaces/configstore/icamera.h"
#include "interfaces/configstore/inumbered_items.h"

namespace configstore {

inline constexpr FieldSchema kCameraFields[] = {{"TYPE"}, {"PRESETS", FieldKind::Child}};
inline constexpr ElementSchema kCameraSchema{"CAMERA", kCameraFields};

class Camera final : public ICamera, public INumberedItems, private ItemView
{
public:
    explicit Camera(NodeRef element);

    HRESULT GetType(std::int16_t *type) override;
    HRESULT SetType(std::int16_t type) override;
    HRESULT NumPresets(std::int16_t *presets) override;
    HRESULT GetPreset(std::int16_t presetNum, std::shared_ptr<IPreset> *pIPreset) override;
    HRESULT NewPreset(std::int16_t presetNum, std::shared_ptr<IPreset> *pIPreset) override;
    HRESULT DeletePreset(std::int16_t presetNum) override;

    // The preset numbers.
    HRESULT GetNumbers(std::vector<std::int16_t> *numbers) override;

private:
    enum Field : std::size_t { Type, Presets };

    NumberedCollection m_presets;
};

} // namespace configstore
