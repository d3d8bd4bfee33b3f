#include "configtool/model/bus_service_backend.h"

#include "configtool/model/orvex_event_sink.h"

#include "serviceclient/bus_call.h"
#include "serviceclient/camera_ctrl_on_bus.h"
#include "serviceclient/orvex_comms_on_bus.h"
#include "serviceclient/proxies/orvexservices_proxy.h"
#include "serviceclient/service_bus.h"
#include "serviceclient/site_data_on_bus.h"

namespace configtool {

static_assert(ServiceBackend::kServiceUnreachable == serviceclient::kBusCallFailed,
              "the manager tells an unreachable service by this result");

BusServiceBackend::BusServiceBackend(const serviceclient::ServiceBus &bus) : m_bus(bus) {}

BusServiceBackend::~BusServiceBackend() = default;

std::shared_ptr<services::IOrvexConfigData> BusServiceBackend::getOrvexConfigData()
{
    const auto root = m_bus.root();
    const QDBusObjectPath path
        = serviceclient::CheckedPath(root->getOrvexConfigData(), "getOrvexConfigData");
    return std::make_shared<serviceclient::OrvexConfigDataOnBus>(m_bus, path);
}

std::shared_ptr<services::IOrvexComms> BusServiceBackend::getOrvexComms()
{
    const auto root = m_bus.root();
    const QDBusObjectPath path = serviceclient::CheckedPath(root->getOrvexComms(), "getOrvexComms");
    m_comms = std::make_shared<serviceclient::OrvexCommsOnBus>(m_bus, path);
    return m_comms;
}

std::shared_ptr<services::ICameraCtrl> BusServiceBackend::getCameraCtrl()
{
    const auto root = m_bus.root();
    const QDBusObjectPath path = serviceclient::CheckedPath(root->getCameraCtrl(), "getCameraCtrl");
    auto cameraCtrl = std::make_shared<serviceclient::CameraCtrlOnBus>(m_bus, path);
    cameraCtrl->onBusError = [this](const QString &text) {
        if (onCameraCallFailed)
            onCameraCallFailed(text);
        else
            qWarning("%s", qPrintable(text));
    };
    return cameraCtrl;
}

bool BusServiceBackend::subscribeCommsEvents(OrvexEventSink &sink)
{
    return m_comms && m_comms->connectStatusEvents(&sink);
}

void BusServiceBackend::unsubscribeCommsEvents(OrvexEventSink &sink)
{
    if (m_comms)
        m_comms->disconnectStatusEvents(&sink);
}

void BusServiceBackend::startLongCommand(services::IOrvexComms &comms, LongCommand command,
                                         QObject *context, CommandFinished finished)
{
    if (&comms != m_comms.get()) {
        ServiceBackend::startLongCommand(comms, command, context, std::move(finished));
        return;
    }
    using Bus = serviceclient::OrvexCommsOnBus::LongCommand;
    Bus onBus = Bus::ToggleDebug;
    switch (command) {
    case LongCommand::SendCurrentSite:
        onBus = Bus::SendCurrentSite;
        break;
    case LongCommand::ReadData:
        onBus = Bus::ReadData;
        break;
    case LongCommand::ClearMemory:
        onBus = Bus::ClearMemory;
        break;
    case LongCommand::ToggleDebug:
        onBus = Bus::ToggleDebug;
        break;
    }
    m_comms->startLongCommand(onBus, context, std::move(finished));
}

} // namespace configtool
