#pragma once
// The retail event object: fires retail transaction items (23-36) to IRetailEvents
// subscribers, each after its "Firing ..." debug line; every other item fires nothing and
// writes nothing. Output thread only.

#include "event_object.h"
#include "message_item.h"
#include "interfaces/recorder_bridge/event_objects.h"

namespace recorder_bridge {

class Retail final : public EventObject<IRetail, IRetailEvents>
{
public:
    void FireRetailItem(const MessageItem &item);

private:
    void FireTransaction(const MessageItem &item);
    void FireLine(const MessageItem &item);
};

} // namespace recorder_bridge
