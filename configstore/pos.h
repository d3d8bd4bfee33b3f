#pragma once
// Live view of a point of sale (`POS` in `POSCONFIG`). The movable flag is stored as a number,
// -1 for true, and any non-zero number reads as true. Copies nothing; see ItemView.

#include "item_view.h"

#include "interfaces/configstore/ipos.h"

namespace configstore {

inline constexpr FieldSchema kPosFields[] = {{"CAMERA"}, {"MOVABLE_FLAG"}, {"PRESET"}, {"PRIORITY"}};
inline constexpr ElementSchema kPosSchema{"POS", kPosFields};

class POS final : public IPOS, private ItemView
{
public:
    explicit POS(NodeRef element) : ItemView(std::move(element), kPosSchema) {}

    HRESULT SetPriority(std::int16_t priority) override { return writeNumber(Priority, priority); }
    HRESULT GetPriority(std::int16_t *priority) override { return readNumber(Priority, priority); }
    HRESULT SetCamera(std::int16_t cameraNum) override { return writeNumber(Camera, cameraNum); }
    HRESULT SetMovableFlag(bool movableFlag) override { return writeNumber(Movable, movableFlag ? -1 : 0); }
    HRESULT SetPreset(std::int16_t preset) override { return writeNumber(Preset, preset); }
    HRESULT GetCamera(std::int16_t *cameraNum) override { return readNumber(Camera, cameraNum); }
    HRESULT GetMovableFlag(bool *movableFlag) override
    {
        std::int16_t value = 0;
        const HRESULT hr = readNumber(Movable, &value);
        if (SUCCEEDED(hr))
            *movableFlag = value != 0;
        return hr;
    }
    HRESULT GetPreset(std::int16_t *preset) override { return readNumber(Preset, preset); }

private:
    enum Field : std::size_t { Camera, Movable, Preset, Priority };
};

} // namespace configstore
