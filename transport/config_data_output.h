#pragma once
// Reader of a camera timing reply (type G): [n, dwell 1..5, intervisit 1..5, id 0..n-1].
//
// getTuple walks the priorities: it gives the cursor as the priority and the dwell and
// intervisit times of that priority as unsigned bytes, then moves the cursor on by one; the
// caller stops after priority 5. getCameraID numbers the cameras from 1 when the reply carries no
// id table (length 11 or less).

#include "message_type.h"
#include "orvex_output.h"

namespace transport {

class ConfigDataOutput final : public OrvexOutput<IConfigDataOutput>
{
public:
    using OrvexOutput::OrvexOutput;

    HRESULT getTotalCameras(std::int16_t *pVal) override { return readCount(pVal); }
    HRESULT getTuple(std::int16_t *priority, std::int16_t *dwellTime, std::int16_t *intervisitTime) override;
    HRESULT getCameraID(std::int16_t cameraIndex, std::int16_t *cameraID) override;
};

} // namespace transport
