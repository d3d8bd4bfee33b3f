#pragma once
// The fuelling event object: fires pump items (44 pump event, 45 delivery start, 46 delivery
// end) to IFuellingEvents subscribers, each after its "Firing ..." debug line. Other items write
// "Ignoring Unknown Pump Message" and fire nothing. A delivery end always fires event 5
// "Delivery End", whatever the item holds. Fired on the output thread only.

#include "event_object.h"
#include "message_item.h"
#include "interfaces/recorder_bridge/event_objects.h"

namespace recorder_bridge {

class Fuelling final : public EventObject<IFuelling, IFuellingEvents>
{
public:
    void FireFuellingItem(const MessageItem &item);
};

} // namespace recorder_bridge
