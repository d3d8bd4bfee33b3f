#pragma once
// The hub's unit commands over the bus (services::IOrvexComms), its status events, and the
// three commands that hold the service thread for seconds (a site send or retrieve, clearing
// the unit) made without waiting, so the window keeps painting.
//
// Ownership: keeps its proxy; must go before the ServiceBus it was made on. Threads: that bus's
// thread only; answers and events arrive on it. Errors: the waiting members answer the
// service's result and raise CallError for an answer the bus refused; the others report both
// through their callback.

#include "serviceclient/service_bus.h"

#include "interfaces/services/iorvex_comms.h"

#include <QDBusObjectPath>
#include <QObject>

#include <functional>
#include <memory>

class OrgOrvexIOrvexCommsInterface;

namespace serviceclient {

class OrvexCommsOnBus final : public services::IOrvexComms
{
public:
    // The commands that may wait on a service thread busy with a site transfer. Toggle Debug
    // (with time 0) is one: a person may ask for the unit's debug output during a send.
    enum class LongCommand { SendCurrentSite, ReadData, ClearMemory, ToggleDebug };
    // The command's result and, for a failure, its readable text.
    using Finished = std::function<void(HRESULT hr, const QString &text)>;

    OrvexCommsOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~OrvexCommsOnBus() override;
    OrvexCommsOnBus(const OrvexCommsOnBus &) = delete;
    OrvexCommsOnBus &operator=(const OrvexCommsOnBus &) = delete;

    HRESULT SetSerialPort(std::int16_t port) override;
    HRESULT ReadDataFromOrvex() override;
    HRESULT ClearOrvexMemory() override;
    HRESULT ToggleDebug(std::int16_t time) override;
    HRESULT ClearResetCount() override;
    HRESULT SendCurrentSiteToOrvex() override;
    HRESULT RequestResetCount() override;
    HRESULT RequestSystemDiagnostics() override;
    HRESULT RequestTaskDiagnostics() override;

    // Sends the command and returns; `finished` runs on this thread once the service has
    // returned from it, unless `context` is gone by then.
    void startLongCommand(LongCommand command, QObject *context, Finished finished);

    // Connects the receiver's slots Debug(QString), OrvexOnline(QString), OrvexOffline(),
    // CommsError(QString) and GotMessage(QString) to the hub's signals of the same names, sent
    // by this object; false when one of them cannot be connected (none is then left connected).
    bool connectStatusEvents(QObject *receiver);
    void disconnectStatusEvents(QObject *receiver);

private:
    const ServiceBus &m_bus;
    QDBusObjectPath m_path;
    std::unique_ptr<OrgOrvexIOrvexCommsInterface> m_proxy;
};

} // namespace serviceclient
