#pragma once
// What the serial link has still to settle of the messages handed to the transport: those queued
// and not yet written, and the frame written and awaiting the unit's acknowledgement. The service
// asks it before it ends, since ending deletes the link with whatever it still holds: a site send
// cut off there leaves the unit cleared and without its tables. A site send also asks it when the
// unit has taken its clear, since the unit's time to clear its memory counts from then, however
// many messages were queued before the clear.
//
// The transport object implements it beside IOrvexTransport (reach it with
// std::dynamic_pointer_cast). An interface of its own rather than a member of IOrvexTransport:
// that one keeps the members, in order, that every part of the system and every fake transport
// knows, and a transport without this one simply has nothing to wait for.
//
// Any thread may call it. A message counts from its send until its frame is acknowledged, given
// up after its fourth write, or dropped as too long to frame. No port set, or a link that has
// ended (its port could not be opened or failed), counts 0: what it holds never goes out.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>

namespace transport {

class ORVEX_INTERFACE ILinkBacklog
{
public:
    virtual ~ILinkBacklog() = default;

    // `messages`: how many messages the link has still to settle. E_POINTER when null.
    virtual HRESULT getBacklog(std::int32_t *messages) = 0;

    // `number`: that of the message handed to the transport last (camera commands included):
    // messages are numbered from 1 in the order the transport takes them, for the life of the
    // object; 0 before the first. E_POINTER when null.
    virtual HRESULT getLastMessageNumber(std::uint64_t *number) = 0;
    // `settled`: whether the message of `number` has settled as above, or will never go out (no
    // port, a link that has ended or was replaced). A message dropped by dropQueuedCameraCommands
    // counts once the link has taken a message queued after it, or has nothing left to settle.
    // E_INVALIDARG for 0 or a number not yet given; E_POINTER when null.
    virtual HRESULT hasSettled(std::uint64_t number, bool *settled) = 0;
    // `frames`: how many frames the unit has acknowledged on the current link; it grows while
    // the unit answers. E_POINTER when null.
    virtual HRESULT getAcknowledgedCount(std::uint64_t *frames) = 0;
    // Deletes the camera commands queued and not yet written; the other messages keep their
    // order. `dropped` (may be null): how many went.
    virtual HRESULT dropQueuedCameraCommands(std::int32_t *dropped) = 0;
};

// For a transport that may not tell (`link` null, or failing): the number of the last message
// sent, 0 when none can be told.
inline std::uint64_t LastMessageNumber(ILinkBacklog *link)
{
    std::uint64_t number = 0;
    if (!link || FAILED(link->getLastMessageNumber(&number)))
        return 0;
    return number;
}

// Whether message `number` has settled; true for 0 and for a transport that cannot tell, which
// has nothing to wait for.
inline bool MessageSettled(ILinkBacklog *link, std::uint64_t number)
{
    bool settled = true;
    return number == 0 || !link || FAILED(link->hasSettled(number, &settled)) || settled;
}

} // namespace transport
