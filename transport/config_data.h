#pragma once
// The camera timing table (type G): number of cameras, dwell and intervisit times for the five
// priorities, then one id per camera. Laid out as [n, dwell 1..5, intervisit 1..5, id 0..n-1],
// length n + 11 once setNumberOfCameras has been called (0 before).
//
// A priority outside 1..5 gives the notice "Priority must be in the range 1-5." and changes
// nothing (the call still succeeds); an index that would pass the 1000th byte, a time or camera
// id that no byte gives back (outside kPayloadByte) or a count outside 0..255 gives E_INVALIDARG
// and changes nothing.

#include "message_type.h"
#include "orvex_msg.h"

namespace transport {

class ConfigData final : public OrvexMsg<IConfigData>
{
public:
    HRESULT InsertDwellTime(std::int16_t time, std::int16_t priority) override;
    HRESULT InsertIntervisitTime(std::int16_t time, std::int16_t priority) override;
    HRESULT setNumberOfCameras(std::int16_t cameras) override;
    HRESULT setCameraID(std::int16_t cameraIndex, std::int16_t cameraID) override;

private:
    HRESULT putTime(int base, std::int16_t time, std::int16_t priority);
};

} // namespace transport
