#pragma once
// The connection of a Qt program to the service's bus (ServiceBusKind: ORVEX_BUS, else the
// installation's), and the proxies of the service's objects on it.
//
// Ownership: a ServiceBus owns one QtDBus connection of its own, opened explicitly for that bus
// (never Qt's shared default connection), and drops it when it goes. The proxies it makes belong
// to the caller and should go before it.
// Threads: make and use it on one thread (the GUI thread). A proxy delivers its signals and its
// asynchronous answers on the thread that made it.
// Errors: the constructors throw ComError when the bus cannot be reached. Calls through a proxy
// never throw; bus_call.h turns their answers into results or a CallError.

#include "platform/install_folder.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QString>

#include <memory>

class OrgOrvexIOrvexInterface;
class QDBusServiceWatcher;
class QObject;

namespace serviceclient {

inline constexpr char kServiceName[] = "org.orvex.OrvexServices";
inline constexpr char kRootPath[] = "/org/orvex/Orvex";
// Every call may wait behind a site download, which holds the service thread for tens of
// seconds; Qt's default of 25 s would report a busy service as a dead one.
inline constexpr int kCallTimeoutMs = 120 * 1000;

using ::BusKind;

class ServiceBus
{
public:
    // The service's bus (ServiceBusKind), at its standard address (the session bus at
    // DBUS_SESSION_BUS_ADDRESS as the environment holds it now).
    ServiceBus();
    explicit ServiceBus(BusKind kind);
    // The bus at `address` (a private bus of tests and benchmarks).
    explicit ServiceBus(const QString &address);
    ~ServiceBus();
    ServiceBus(const ServiceBus &) = delete;
    ServiceBus &operator=(const ServiceBus &) = delete;

    [[nodiscard]] QDBusConnection connection() const { return m_connection; }

    // A proxy (a generated interface class) of the service's object at `path`, with the long
    // call time-out. It addresses the service by its well-known name, so the signals connected
    // to it keep coming from whichever process owns the name, also after a restart.
    template <typename Proxy> [[nodiscard]] std::unique_ptr<Proxy> proxy(const QString &path) const
    {
        auto made = std::make_unique<Proxy>(QString::fromLatin1(kServiceName), path, m_connection);
        made->setTimeout(kCallTimeoutMs);
        return made;
    }
    template <typename Proxy>
    [[nodiscard]] std::unique_ptr<Proxy> proxy(const QDBusObjectPath &path) const
    {
        return proxy<Proxy>(path.path());
    }

    // The root object (org.orvex.IOrvex at /org/orvex/Orvex); its first call starts the service
    // when the bus can activate it.
    [[nodiscard]] std::unique_ptr<OrgOrvexIOrvexInterface> root() const;

    // A watcher of the owner of the service's name (serviceOwnerChanged and its kin), owned by
    // `parent`.
    [[nodiscard]] QDBusServiceWatcher *watchService(QObject *parent) const;

    // The unique name that owns the service's name now, or empty.
    [[nodiscard]] QString serviceOwner() const;

private:
    QString m_name;
    QDBusConnection m_connection;
};

} // namespace serviceclient
