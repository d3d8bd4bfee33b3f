#pragma once
// Live view of a dispenser (`DISPENSER` in `SITE`): hands out views of its address map and its
// camera presets. Copies nothing; see ItemView.

#include "dispenser_map.h"
#include "item_view.h"

#include "interfaces/configstore/idispenser.h"

namespace configstore {

inline constexpr FieldSchema kDispenserFields[] = {
    {"DISPENSER_MAP", FieldKind::Child, &kDispenserMapSchema}, {"CAMERA_PRESETS", FieldKind::Child}};
inline constexpr ElementSchema kDispenserSchema{"DISPENSER", kDispenserFields};

class Dispenser final : public IDispenser, private ItemView
{
public:
    explicit Dispenser(NodeRef element) : ItemView(std::move(element), kDispenserSchema) {}

    HRESULT GetDispenserMap(std::shared_ptr<IDispenserMap> *pIDispenserMap) override;
    HRESULT GetCameraPresets(std::shared_ptr<ICameraPresets> *pCameraPresets) override;

private:
    enum Field : std::size_t { Map, Presets };
};

} // namespace configstore
