#pragma once
// The hub's two small inbound interfaces on the bus, ILicencePlate and IDVRComms, at the hub's
// own path beside IOrvexComms: programs that read plates or capture images answer through them.
//
// Thread affinity: the service thread (the bus connection's). What the maker returns owns the
// adaptor; dropping it takes the two interfaces off the bus. Null when the hub answers for
// neither interface.

#include "interfaces/services/iorvex_comms.h"

#include <memory>
#include <string>

namespace services {

class BusContext;

std::shared_ptr<void> MakeHubInboundBusObject(BusContext &context, const std::string &path,
                                              const std::shared_ptr<IOrvexComms> &hub);

} // namespace services
