#pragma once
// The image capture event object: fires captured-image items (60-62) to IImageCaptureEvents
// subscribers, each after its "Firing ..." debug line; other items fire nothing. Output thread
// only.

#include "event_object.h"
#include "message_item.h"
#include "interfaces/recorder_bridge/event_objects.h"

namespace recorder_bridge {

class ImageCapture final : public EventObject<IImageCapture, IImageCaptureEvents>
{
public:
    void FireImageCaptureItem(const MessageItem &item);
};

} // namespace recorder_bridge
