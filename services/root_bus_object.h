#pragma once
// The root object on the bus, at /org/orvex/Orvex. When the service could not be built, the
// object is there all the same and every call gives the stored failure (with the path "/"), so
// a client learns why instead of finding no service. Service thread only.

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
