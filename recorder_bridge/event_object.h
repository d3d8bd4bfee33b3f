#pragma once
// What every event object of the bridge shares: one event source (a connection point) that
// recorder software subscribes to, and the firing of one member to every subscriber.
//
// Firing walks a snapshot of the subscribers taken under the table's lock and calls each one
// outside it, in subscription order; a subscriber that throws is traced and skipped, and the
// others still receive the event. Subscribing and unsubscribing may happen on any thread, also
// from inside a handler. Destroying the object drops every subscription.

#include "platform/connection_point.h"
#include "support/trace_log.h"

#include <cstdint>
#include <memory>
#include <string>

namespace recorder_bridge {

template <typename Interface, typename Sink>
class EventObject : public Interface
{
public:
    HRESULT Advise(std::shared_ptr<Sink> sink, std::uint32_t *cookie) override
    {
        return m_subscribers.Advise(std::move(sink), cookie);
    }
    HRESULT Unadvise(std::uint32_t cookie) override { return m_subscribers.Unadvise(cookie); }

    [[nodiscard]] std::size_t SubscriberCount() const { return m_subscribers.Count(); }

protected:
    // Calls `call(sink)` for every subscriber; `errorLine` is traced for one that throws.
    template <typename Call>
    void FireAll(Call &&call, const char *errorLine = "Error Firing Event")
    {
        m_subscribers.Fire(call, [errorLine](const std::string &what) {
            support::TraceError("%s: %s", errorLine, what.c_str());
        });
    }

private:
    ConnectionPoint<Sink> m_subscribers;
};

} // namespace recorder_bridge
