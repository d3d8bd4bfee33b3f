#pragma once
// The payment terminal event object: fires items 39-43 to IPaymentTerminalEvents subscribers,
// each after its "Firing ..." debug line; other items fire nothing. Output thread only.

#include "event_object.h"
#include "message_item.h"
#include "interfaces/recorder_bridge/event_objects.h"

namespace recorder_bridge {

class PaymentTerminal final : public EventObject<IPaymentTerminal, IPaymentTerminalEvents>
{
public:
    void FirePaymentTerminalItem(const MessageItem &item);
};

} // namespace recorder_bridge
