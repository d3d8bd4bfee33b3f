#pragma once
// Reader of a preset table reply (type C): the dispenser number, then (event, camera, preset)
// tuples, every value a signed byte.

#include "orvex_output.h"

namespace transport {

class CameraPresetsOutput final : public OrvexOutput<ICameraPresetsOutput>
{
public:
    using OrvexOutput::OrvexOutput;

    HRESULT getDispenserNumber(std::int16_t *pVal) override { return readCount(pVal); }
    HRESULT getTuple(std::int16_t *eventNo, std::int16_t *cameraNo, std::int16_t *presetNo) override
    {
        return readSignedTuple(eventNo, cameraNo, presetNo);
    }
};

} // namespace transport
