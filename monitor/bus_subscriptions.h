#pragma once
// The console's side of the bus: the start sequence (the recorder bridge from the service's
// root, the bridge's five event objects, then the hub), the signals of each object routed to the
// window as they come, Toggle Debug, and the service's restarts.
//
// The getters hand out the objects' paths; the proxies address the service by its well-known
// name, so signals are taken from whichever process owns it. When the name loses its owner the
// label shows "Offline"; when it has a new one, the start sequence runs again, since a new
// service knows nothing of the old subscriptions (and counts the console as its client only
// from its first call). A start that fails on the bus because that service has gone again (the
// name has lost or changed its owner meanwhile) leaves the label "Offline" and waits for the
// next owner.
//
// Ownership: owns its proxies and its watcher; the bus and the window must outlive it.
// Threads: the GUI thread; QtDBus delivers every signal and answer there, one at a time.
// Errors: start() throws serviceclient::CallError naming the failing call. A failure after it (a
// later start refused by a service that is there, Toggle Debug) is reported through failed(),
// with the text the program shows before it ends.

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class OrgOrvexIOrvexCommsInterface;
class QDBusAbstractInterface;

namespace serviceclient {
class ServiceBus;
}

namespace monitor {

class MonitorWindow;

class BusSubscriptions : public QObject
{
    Q_OBJECT

public:
    BusSubscriptions(const serviceclient::ServiceBus &bus, MonitorWindow &window);
    ~BusSubscriptions() override;

    // Runs the start sequence; any failing call ends it there, with no later step.
    void start();
    // From now on follows the owner of the service's name (see above).
    void followServiceRestarts();
    // Asks the unit to toggle its debug output (ToggleDebug with time 0), without waiting for
    // the answer, which may come only after a site download that holds the service.
    void toggleDebug();

    // The text the console shows for a failed call ("getRecorderBridge failed: Invalid pointer").
    [[nodiscard]] static QString failureText(const QString &call, const QString &text);

signals:
    // The start sequence has run through, every subscription is in place.
    void started();
    void failed(const QString &text);

private:
    void onOwnerChanged(const QString &newOwner);
    [[nodiscard]] bool hasGoneSince(const QString &owner) const;

    const serviceclient::ServiceBus &m_bus;
    MonitorWindow &m_window;
    std::vector<std::unique_ptr<QDBusAbstractInterface>> m_subscriptions;
    std::unique_ptr<OrgOrvexIOrvexCommsInterface> m_comms;
    QString m_owner; // the owner of the service's name at the last start
};

} // namespace monitor
