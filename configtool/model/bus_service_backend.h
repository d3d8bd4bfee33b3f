#pragma once
// The tool's service objects on the bus: the service's root at /org/orvex/Orvex on its bus
// (ORVEX_BUS, else the installation's; its first call starts the service), the QtDBus implementations of the site
// data, the hub and camera control (serviceclient), the hub's status events as signals of the
// comms object, and the long commands made without waiting.
//
// Built into the configuration tool's program (library configtool_bus), not into the model,
// which stays free of the bus. Ownership: the bus must outlive the backend, and the backend the
// objects it hands out. User-interface thread only.
// Errors: a getter raises serviceclient::CallError (a ComError): with kServiceUnreachable when
// the bus refused the call (no such name, no answer in time), else with the service's result.

#include "configtool/model/service_backend.h"

#include <QString>

#include <functional>
#include <memory>

namespace serviceclient {
class OrvexCommsOnBus;
class ServiceBus;
} // namespace serviceclient

namespace configtool {

class BusServiceBackend final : public ServiceBackend
{
public:
    explicit BusServiceBackend(const serviceclient::ServiceBus &bus);
    ~BusServiceBackend() override;
    BusServiceBackend(const BusServiceBackend &) = delete;
    BusServiceBackend &operator=(const BusServiceBackend &) = delete;

    std::shared_ptr<services::IOrvexConfigData> getOrvexConfigData() override;
    std::shared_ptr<services::IOrvexComms> getOrvexComms() override;
    std::shared_ptr<services::ICameraCtrl> getCameraCtrl() override;
    bool subscribeCommsEvents(OrvexEventSink &sink) override;
    void unsubscribeCommsEvents(OrvexEventSink &sink) override;
    void startLongCommand(services::IOrvexComms &comms, LongCommand command, QObject *context,
                          CommandFinished finished) override;

    // Told when the bus refuses a camera steering command, which is sent without waiting (the
    // main window shows it); without one the text goes to the program's warnings.
    std::function<void(const QString &text)> onCameraCallFailed;

private:
    const serviceclient::ServiceBus &m_bus;
    std::shared_ptr<serviceclient::OrvexCommsOnBus> m_comms;
};

} // namespace configtool
