#pragma once
// The recorder bridge's licence plate recognizer as recorder software sees it: the source of
// plate image requests and recognized registration numbers, and the answers to those requests.
//
// ImageAvailable and ImageCaptureError each settle the oldest open image request, whatever its
// camera; with no request open they change nothing. Both return S_OK in every case. Any thread
// may call.

#include "interfaces/recorder_bridge/event_objects.h"
#include "interfaces/recorder_bridge/licence_plate_recognizer_events.h"

#include <cstdint>
#include <string>

namespace recorder_bridge {

class ORVEX_INTERFACE ILicencePlateRecognizer : public IEventSource<ILicencePlateRecognizerEvents>
{
public:
    virtual HRESULT ImageAvailable(std::int16_t CameraID, const std::string &FileName) = 0;
    virtual HRESULT ImageCaptureError(std::int16_t CameraID, const std::string &Reason) = 0;
};

} // namespace recorder_bridge
