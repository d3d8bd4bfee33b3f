#pragma once
// The one creatable class of the DeviceCourier library: a new transport object, with its
// dispatcher running and no port set. The object also implements ICameraControl.

#include "interfaces/transport/iorvex_transport.h"
#include "platform/export.h"

#include <memory>

namespace transport {

// E_POINTER for a null `transport`; E_OUTOFMEMORY or E_FAIL when the object cannot be made.
ORVEX_EXPORT HRESULT CreateOrvexTransport(std::shared_ptr<IOrvexTransport> *transport);

} // namespace transport
