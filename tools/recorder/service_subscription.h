#pragma once
// The recorder client's subscription to one run of the service: the bridge from the root, a
// printing proxy for each of the bridge's six event objects and for the hub's status events, and
// the recognizer that answers image capture requests. Its calls make the recorder a client of
// that run, which keeps an activated service from ending.
//
// Ownership: holds its proxies; dropping it unsubscribes and takes the printer's answerer away.
// The connection and the printer must outlive it.
// Threads: make and drop it on the thread that runs the connection's loop (or before the loop
// runs); signals and image answers come on that thread.
// Errors: the constructor throws RefusedCall when the service answers a getter with a failure,
// and sdbus::Error when the bus gives no answer (no service, one that left without answering).

#include "tools/recorder/event_printers.h"

#include <sdbus-c++/sdbus-c++.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace recorder {

// A getter that the service answered with a failure code.
class RefusedCall : public std::runtime_error
{
public:
    RefusedCall(const char *call, std::int32_t hr);
    [[nodiscard]] std::int32_t result() const { return m_result; }

private:
    std::int32_t m_result;
};

class ServiceSubscription
{
public:
    // `images` numbers the image files named in answers, across subscriptions.
    ServiceSubscription(sdbus::IConnection &connection, EventPrinter &printer, unsigned &images);
    ~ServiceSubscription();
    ServiceSubscription(const ServiceSubscription &) = delete;
    ServiceSubscription &operator=(const ServiceSubscription &) = delete;

private:
    EventPrinter &m_printer;
    std::shared_ptr<void> m_recognizer;
    std::vector<std::shared_ptr<void>> m_subscriptions;
};

// The unique name that owns the service's name now, or empty.
[[nodiscard]] std::string ServiceOwner(sdbus::IConnection &connection);

} // namespace recorder
