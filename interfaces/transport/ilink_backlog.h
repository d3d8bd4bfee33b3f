#pragma once
// What the serial link has still to settle of the messages handed to the transport: those queued
// and not yet written, and the frame written and awaiting the unit's acknowledgement. The service
// asks it before it ends, since ending deletes the link with whatever it still holds: a site send
// cut off there leaves the unit cleared and without its tables.
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
};

} // namespace transport
