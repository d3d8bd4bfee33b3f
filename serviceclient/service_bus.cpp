#include "service_bus.h"

#include "bus_call.h"
#include "serviceclient/proxies/orvexservices_proxy.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

#include <atomic>

namespace serviceclient {

namespace {

// Each ServiceBus registers its connection under a name of its own, so that two of them (a test
// on one private bus after another) never share one.
QString nextConnectionName()
{
    static std::atomic<unsigned> serial{0};
    return QStringLiteral("orvex-service-bus-%1").arg(++serial);
}

QDBusConnection connectChecked(QDBusConnection connection, const QString &what)
{
    if (!connection.isConnected()) {
        const QString reason = connection.lastError().message();
        QDBusConnection::disconnectFromBus(connection.name());
        throw ComError(kBusCallFailed,
                       QStringLiteral("Cannot connect to %1: %2")
                           .arg(what, reason.isEmpty() ? QStringLiteral("no bus") : reason)
                           .toStdString());
    }
    return connection;
}

} // namespace

ServiceBus::ServiceBus() : ServiceBus(ServiceBusKind()) {}

ServiceBus::ServiceBus(BusKind kind) : m_name(nextConnectionName()), m_connection(QString())
{
    if (kind == BusKind::System) {
        m_connection
            = connectChecked(QDBusConnection::connectToBus(QDBusConnection::SystemBus, m_name),
                             QStringLiteral("the system bus"));
        return;
    }
    // The address is read here rather than by libdbus, which keeps the first one it saw for the
    // life of the process.
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    m_connection = connectChecked(
        address.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_name)
                          : QDBusConnection::connectToBus(address, m_name),
        QStringLiteral("the session bus"));
}

ServiceBus::ServiceBus(const QString &address)
    : m_name(nextConnectionName()),
      m_connection(connectChecked(QDBusConnection::connectToBus(address, m_name),
                                  QStringLiteral("the bus at ") + address))
{}

ServiceBus::~ServiceBus()
{
    QDBusConnection::disconnectFromBus(m_name);
}

std::unique_ptr<OrgOrvexIOrvexInterface> ServiceBus::root() const
{
    return proxy<OrgOrvexIOrvexInterface>(QString::fromLatin1(kRootPath));
}

QDBusServiceWatcher *ServiceBus::watchService(QObject *parent) const
{
    return new QDBusServiceWatcher(QString::fromLatin1(kServiceName), m_connection,
                                   QDBusServiceWatcher::WatchForOwnerChange, parent);
}

QString ServiceBus::serviceOwner() const
{
    const QDBusReply<QString> owner
        = m_connection.interface()->serviceOwner(QString::fromLatin1(kServiceName));
    return owner.isValid() ? owner.value() : QString();
}

} // namespace serviceclient
