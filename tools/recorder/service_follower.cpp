#include "tools/recorder/service_follower.h"

namespace recorder {

ServiceFollower::ServiceFollower(sdbus::IConnection &connection, EventPrinter &printer, Ended ended)
    : m_connection(connection), m_printer(printer), m_ended(std::move(ended))
{
}

void ServiceFollower::start()
{
    // Watched first, so that no change of owner during the first subscription goes unseen.
    m_nameWatch = m_connection.addMatch(
        std::string("type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
                    "member='NameOwnerChanged',arg0='") + kServiceName + "'",
        [this](sdbus::Message &message) { onOwnerChanged(message); });
    subscribe();
}

void ServiceFollower::subscribe()
{
    m_subscription.reset();
    m_subscription = std::make_unique<ServiceSubscription>(m_connection, m_printer, m_images);
    m_owner = ServiceOwner(m_connection);
}

void ServiceFollower::onOwnerChanged(sdbus::Message &message)
{
    std::string name, oldOwner, newOwner;
    message >> name >> oldOwner >> newOwner;
    if (newOwner.empty()) {
        m_printer.say("the service has gone; subscribing anew at its next start");
        return;
    }
    // The first start's own activation may be reported late; that owner is served already.
    if (newOwner == m_owner)
        return;
    try {
        subscribe();
        m_printer.say("subscribed anew");
    } catch (const RefusedCall &refused) {
        m_ended(refused.what(), 2);
    } catch (const sdbus::Error &error) {
        const std::string text = error.getName() + ": " + error.getMessage();
        if (ServiceOwner(m_connection) == newOwner) {
            m_ended(text, 1);
            return;
        }
        m_printer.say("the service went away while subscribing (" + text + "); subscribing anew at its next start");
    }
}

} // namespace recorder
