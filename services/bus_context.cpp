#include "services/bus_context.h"

#include "support/trace_log.h"

#include <poll.h>

namespace services {

BusContext::BusContext(ServiceLoop &loop, sdbus::IConnection &connection) : m_loop(loop), m_connection(connection) {}

BusContext::~BusContext()
{
    detach();
}

void BusContext::attach()
{
    if (m_attached)
        return;
    m_attached = true;
    m_nameWatch = m_connection.addMatch(
        "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',member='NameOwnerChanged'",
        [this](sdbus::Message &message) { onNameOwnerChanged(message); });
    rearm();
    // Work the connection already holds (the name request's replies) is not announced again by
    // its descriptor.
    post([](BusContext &bus) { bus.process(); });
}

void BusContext::detach()
{
    // Objects first: they unsubscribe from their domain objects and leave the bus.
    std::map<Key, Entry> objects;
    objects.swap(m_objects);
    objects.clear();
    m_nameWatch.reset();
    stopGrace();
    if (m_fd >= 0)
        m_loop.UnwatchFd(m_fd);
    m_fd = -1;
    m_watched = 0;
    m_attached = false;
}

void BusContext::countClients(std::chrono::milliseconds grace, std::function<void()> onLastClientGone)
{
    m_grace = grace;
    m_onLastClientGone = std::move(onLastClientGone);
}

void BusContext::releaseName(const std::string &name)
{
    try {
        m_connection.releaseName(name);
    } catch (const sdbus::Error &error) {
        support::TraceError("Error Releasing the Bus Name %s: %s", name.c_str(), error.getMessage().c_str());
    }
    // The bus answers the release after every message it routed here under the name; the
    // library kept those that came meanwhile.
    process();
}

void BusContext::noteCaller(sdbus::IObject &object)
{
    if (!m_onLastClientGone)
        return;
    const sdbus::Message *message = object.getCurrentlyProcessedMessage();
    if (message == nullptr)
        return;
    std::string sender = message->getSender();
    if (sender.empty() || m_clients.count(sender) != 0)
        return;
    // A client that left before its first call was handled would never be seen leaving: it came
    // and went at once.
    try {
        auto bus = sdbus::createProxy(m_connection, "org.freedesktop.DBus", "/org/freedesktop/DBus");
        bool hasOwner = false;
        bus->callMethod("NameHasOwner").onInterface("org.freedesktop.DBus").withArguments(sender).storeResultsTo(hasOwner);
        if (!hasOwner) {
            lastClientMayHaveGone();
            return;
        }
    } catch (const sdbus::Error &error) {
        support::TraceError("Error Asking the Bus for a Client: %s", error.getMessage().c_str());
    }
    if (m_graceTimer != 0)
        support::TraceInfo("A client came within the grace: the service goes on");
    stopGrace();
    m_clients.insert(std::move(sender));
}

void BusContext::lastClientMayHaveGone()
{
    if (!m_clients.empty() || !m_onLastClientGone)
        return;
    // Counted from the last one to leave.
    stopGrace();
    support::TraceInfo("The last client has left the bus: ending in %lld ms unless another comes",
                       static_cast<long long>(m_grace.count()));
    m_graceTimer = m_loop.SetTimer(static_cast<std::uint32_t>(m_grace.count()), [this](std::uint32_t) { graceOver(); });
}

void BusContext::graceOver()
{
    stopGrace();
    // A call that is already on its way counts: its caller may be new.
    process();
    if (!m_attached || !m_clients.empty() || m_graceTimer != 0)
        return;
    if (auto onLastClientGone = std::exchange(m_onLastClientGone, nullptr))
        onLastClientGone();
}

void BusContext::stopGrace()
{
    if (m_graceTimer != 0)
        m_loop.KillTimer(m_graceTimer);
    m_graceTimer = 0;
}

void BusContext::onNameOwnerChanged(sdbus::Message &message)
{
    std::string name, oldOwner, newOwner;
    message >> name >> oldOwner >> newOwner;
    if (!newOwner.empty() || m_clients.erase(name) == 0)
        return;
    lastClientMayHaveGone();
}

bool BusContext::post(std::function<void(BusContext &)> task)
{
    return m_loop.Post([weak = weak_from_this(), task = std::move(task)] {
        if (auto self = weak.lock())
            task(*self);
    });
}

void BusContext::afterSend()
{
    rearm();
}

void BusContext::process()
{
    try {
        while (m_connection.processPendingRequest()) {
        }
    } catch (const sdbus::Error &error) {
        // The bus has gone (or refuses the connection): a server without its bus has no one
        // left to serve.
        support::TraceError("Error Processing the Bus Connection: %s", error.getMessage().c_str());
        detach();
        m_loop.Quit();
        return;
    }
    rearm();
}

void BusContext::rearm()
{
    if (!m_attached)
        return;
    const sdbus::IConnection::PollData poll = m_connection.getEventLoopPollData();
    // Work already read off the socket shows as a zero time-out, not as a readable descriptor.
    if (poll.timeout_usec == 0)
        post([](BusContext &bus) { bus.process(); });
    const short wanted = static_cast<short>(poll.events | POLLIN);
    if (poll.fd == m_fd && wanted == m_watched)
        return;
    if (m_fd >= 0)
        m_loop.UnwatchFd(m_fd);
    m_fd = poll.fd;
    m_watched = wanted;
    // poll(2) and epoll share the values of the events the connection asks for.
    m_loop.WatchFd(m_fd, static_cast<std::uint32_t>(wanted), [this](std::uint32_t) { process(); });
}

} // namespace services
