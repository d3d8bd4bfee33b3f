#pragma once
// The preset table of one logical dispenser (type C): [dispenser, then (event, camera, preset)
// per preset].

#include "tuple_table.h"

namespace transport {

class CameraPresets final : public TupleTable<ICameraPresets>
{
public:
    HRESULT AppendPreset(std::int16_t event, std::int16_t camera, std::int16_t preset) override
    {
        return appendTuple(event, camera, preset);
    }
    HRESULT AppendLogicalDispenser(std::int16_t count) override { return setCount(count); }
};

} // namespace transport
