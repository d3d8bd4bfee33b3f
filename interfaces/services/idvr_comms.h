#pragma once
// The recorder's notices about image captures to the hub. Both members do nothing and return
// S_OK.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace services {

class ORVEX_INTERFACE IDVRComms
{
public:
    virtual ~IDVRComms() = default;

    virtual HRESULT ImageAvailable(std::int16_t CameraID, const std::string &fileName) = 0;
    virtual HRESULT ImageCaptureError(std::int16_t CameraID, const std::string &reason) = 0;
};

} // namespace services
