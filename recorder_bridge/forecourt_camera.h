#pragma once
// The forecourt camera event object: fires camera items (48-54) to IForecourtCameraEvents
// subscribers, each after its "Firing ..." debug line; other items fire nothing. Output thread
// only.

#include "event_object.h"
#include "message_item.h"
#include "interfaces/recorder_bridge/event_objects.h"

namespace recorder_bridge {

class ForecourtCamera final : public EventObject<IForecourtCamera, IForecourtCameraEvents>
{
public:
    void FireCameraItem(const MessageItem &item);
};

} // namespace recorder_bridge
