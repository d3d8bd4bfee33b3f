#pragma once
// The recorder client across the service's restarts. It subscribes to the service that runs
// now; from then on, when the service's name loses its owner it says so, and when the name has
// a new owner it subscribes anew (a new run knows nothing of the old subscriptions, and counts
// the recorder as its client only from its first call) and says so. A new run that goes away
// again while the recorder subscribes is taken for a service that is away: the recorder says so
// and waits for the next run. What it says goes to the printer's output as lines that begin
// "recorder: ".
//
// Ownership: holds the current subscription and the watch of the name; the connection and the
// printer must outlive it.
// Threads: the thread that runs the connection's loop.
// Errors: start() throws as ServiceSubscription does. A later subscription refused by a service
// that is there, or failing on the bus while that service still owns the name, goes to `ended`
// with the text to report and the exit status (2 refused, 1 on the bus).

#include "tools/recorder/service_subscription.h"

#include <sdbus-c++/sdbus-c++.h>

#include <functional>
#include <memory>
#include <string>

namespace recorder {

class ServiceFollower
{
public:
    using Ended = std::function<void(const std::string &text, int status)>;

    ServiceFollower(sdbus::IConnection &connection, EventPrinter &printer, Ended ended);

    // Subscribes to the service (its first call starts it when the bus can), then follows its
    // name.
    void start();

private:
    void subscribe();
    void onOwnerChanged(sdbus::Message &message);

    sdbus::IConnection &m_connection;
    EventPrinter &m_printer;
    Ended m_ended;
    unsigned m_images = 0;
    std::unique_ptr<ServiceSubscription> m_subscription;
    std::string m_owner; // the owner of the service's name at the last subscription
    sdbus::Slot m_nameWatch;
};

} // namespace recorder
