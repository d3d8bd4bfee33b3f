#pragma once
// The root object on the bus, at /org/orvex/Orvex, and with it every object its getters and the
// bridge's getters hand out (hub, camera control, site data, test generator, bridge and its six
// event objects), each at the path its getter gives, so that a client may listen by path before
// any call. When the service could not be built, the root is there alone and every call gives
// the stored failure (with the path "/"), so a client learns why instead of finding no service.
// Service thread only.

#include "interfaces/services/iorvex.h"
#include "platform/hresult.h"

#include <memory>

namespace services {

class BusContext;

// Puts the root on the bus; dropping the result takes it off. `root` may be null when
// `constructed` failed.
[[nodiscard]] std::shared_ptr<void> MakeRootBusObject(BusContext &context, std::shared_ptr<IOrvex> root,
                                                      HRESULT constructed);

} // namespace services
